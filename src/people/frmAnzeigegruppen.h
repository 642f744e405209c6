#pragma once
// The display-group dialog: the current user's named selections of the employee
// groups he may see.
//
// It is opened with the number of those groups; adding, renaming, deleting and ticking
// change only the dialog's own list until OK, which stores the user's block of
// "Mitarbeiteranzgru.dat" (the other users' blocks stay as they are).
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "platform/Haken.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class frmAnzeigegruppen : public QDialog {
 public:
  frmAnzeigegruppen(int anzahl, QWidget* besitzer = nullptr);

  // The input box (owner, label, preset, title) and the help window, set by the
  // program's wiring.
  static Haken<QString(QWidget*, const QString&, const QString&, const QString&)> eingabe;
  static Haken<void(QWidget*)> hilfe;

  QComboBox* cmbMitarbeitergruppe = nullptr;
  std::array<QLabel*, 3> lblBeschriftung{};               // 1 and 2
  std::vector<QCheckBox*> chkMitarbeitergruppe{nullptr};  // 1 to n
  // 1 add, 2 rename, 3 delete, 4 help, 5 cancel, 6 OK.
  std::array<QPushButton*, 7> cmdAuswahl{};

  void cmdAuswahl_Click(int index);
  void cmbMitarbeitergruppe_Click();
  void chkMitarbeitergruppe_Click();
  void Anzeigegruppe_hinzufügen();
  void Anzeigegruppe_umbenennen();
  void Anzeigegruppe_löschen();
  bool Plausibilitätsprüfung();
  // False when the file could not be written (the lock of another workstation).
  bool Anzeigegruppen_aktualisieren();

  // The flag text of combo item i (0-based): character j "1" when box j + 1 is ticked.
  QString Flags(int i) const;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void Form_Load(int anzahl);
  // Inserts a name with its flag text at its sorted place and selects it.
  void Einfügen(const QString& name, const QString& flags);
  bool Vorhanden(const QString& name) const;
  int mAnzahl = 0;
};

// The order of the display-group names: one collation on every machine, German rules
// without regard to case.
bool Anzeigegruppen_vor(const QString& a, const QString& b);
