#pragma once
// The code-button editor "Velkora - An-/Abwesenheitsgründe": up to 24 code buttons in
// two pages of 12 rows, each with its letter, caption, colours and two flags and a
// live preview of the button and of a day cell, and the width of the code buttons.
// OK checks the rows and saves them (Schaltflaechen_speichern.h).
#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "config/Schaltflaechen_speichern.h"
#include "platform/Haken.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class frmAnAbwesenheitsgruende : public QDialog, public Knopfeditor {
 public:
  explicit frmAnAbwesenheitsgruende(QWidget* eltern = nullptr);
  // Opens the help window over the dialog ("&Hilfe ..." and F1); set by the program's wiring.
  static Haken<void(QWidget*)> hilfe;

  // Knopfeditor
  Knopfzeile zeile(int r) const override;
  bool ersteSeiteSichtbar() const override;
  void seiteZeigen(bool erste) override;
  void fokusBuchstabe(int r) override;
  void fokusText(int r) override;
  void zeileZurücksetzen(int r) override;
  QString breitenCode() const override { return SFBreiteCode; }
  int breite() const override { return Schaltflächenbreite; }

  void Vorschau_aktualisieren(int r);
  void Farbe_wählen(int k);
  void SFBreite_aktualisieren(int& schritt);
  void Switch_Schaltfläche();
  void Toggle_Schaltfläche_aktualisieren();
  static void Systemfarbe_umrechnen(qint32 farbe, qint32& ergebnis);
  // The window's layout after a width change or a resize.
  void Anordnen();
  void OK_Click();
  void Hilfe_zeigen();

  static constexpr int N = Knopfeditor::kZeilen;
  std::array<QLineEdit*, N + 1> txtBuchst{};
  std::array<QLineEdit*, N + 1> txtCaption{};
  std::array<QPushButton*, 2 * N + 1> cmdFarbe{};  // r: text colour, r + 24: background
  std::array<QCheckBox*, N + 1> chkPublic{};
  std::array<QCheckBox*, N + 1> chkHide{};
  std::array<QLabel*, N + 1> txtVorschau{};
  std::array<QFrame*, N + 1> shpVorschau{};
  std::array<QPushButton*, N + 1> cmdVorschau{};
  std::array<QLabel*, 15> lblBeschriftung{};
  std::array<QPushButton*, 5> cmdAuswahl{};

  std::array<qint32, N + 1> Textfarbe{};
  std::array<qint32, N + 1> Hintergrundfarbe{};
  QString SFBreiteCode = QStringLiteral("0");
  int Schaltflächenbreite = 0;  // twips
  // Measures a caption in twips; empty: with the window's font (tests put a fixed one).
  std::function<int(const QString&)> textmessung;

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* ziel, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void Form_Load();
  void Form_Activate();
  void Zeile_anlegen(int r);
  void Zeile_füllen(int r, const Knopfzeile& z);
  void Vorschaufarben(int r, qint32 text, qint32 hintergrund);
  int Textbreite(const QString& text) const;  // twips, with the window's font
  int mVerschiebung = 0;                      // twips the columns after the hide column moved left
  bool mGeladen = false;
};
