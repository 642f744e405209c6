#pragma once
// The administrator list (mode "A") and the privileged-user list (mode "P") of the
// configuration, edited in six rows of display name and Windows user name. The
// dialog works on a copy; OK checks the rows, refuses a list that would lock the
// current user out of administration, and writes the configuration only when the
// list really changed, with two administrator logbook lines.
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "people/Zeilendialog.h"
#include "platform/Haken.h"
#include "store/Stammdatenstand.h"

class QLabel;
class QLineEdit;
class QPushButton;

class frmAdmins : public Zeilendialog {
 public:
  static constexpr int kZeilen = 6;  // visible rows

  // tag: the main window's Tag, "A" for the administrators, anything else for the
  // privileged users; read when the dialog opens and when it saves.
  explicit frmAdmins(const QString& tag, QWidget* besitzer = nullptr);

  // The entries as loaded, without their "A:" or "P:" ("NoAdmins" stays so).
  QStringList Geladen;
  // The edited list, 1-based (element 0 unused): display name, ":", Windows user
  // name; empty for an untouched row, ":" for a cleared one.
  std::vector<QString> Eingabeliste;
  int Obergrenze() const { return static_cast<int>(Eingabeliste.size()) - 1; }
  // The stamps of the configuration the dialog's copy is from.
  Stammdatenstand Stand;

  std::array<QLineEdit*, kZeilen + 1> txtName{}, txtBenutzerID{};  // 1 to 6
  std::array<QLabel*, 3> lblBeschriftung{};                        // 1 and 2
  std::array<QPushButton*, 4> cmdAuswahl{};                        // 1 "&Hilfe ...", 2 "&OK", 3 "&Abbrechen"

  QLineEdit* Feld(int spalte, int zeile) const override;
  void Anzeige_aktualisieren() override;
  void Eingabezeile_speichern(int zeile) override;
  void TextBox_GotFocus(int zeile) override;
  void TextBox_LostFocus(int spalte, int zeile) override;
  // True when the visible rows are valid; otherwise after the message, the focus in
  // the faulty box.
  bool Plausibilitätsprüfung();
  // True when the list was saved or was unchanged.
  bool Konfigdaten_aktualisieren();
  void cmdAuswahl_Click(int index);

  // Help for this window (F1 and button 1); set where the help window lives.
  static Haken<void(QWidget*)> hilfe;

 protected:
  bool Seite_prüfen() override { return Plausibilitätsprüfung(); }
  bool Zeile_anhängen() override;
  bool Taste(QWidget* w, QKeyEvent* k) override;

 private:
  void Form_Load();
  void txtName_Change(int zeile);
  bool Administratorliste() const { return mTag == u"A"; }

  const QString& mTag;
  bool mAnzeigen = false;  // the rows are being filled: no change handling
};

// Opens the dialog modally over its owner, in the mode of tag (the owner's Tag).
void Administratoren_bearbeiten(QWidget* besitzer, const QString& tag);
