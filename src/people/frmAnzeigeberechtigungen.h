#pragma once
// The display-permission dialog: per employee group, the groups its members may see.
//
// It is opened with the distinct headings of the employee list, each followed by ":",
// in the main window's Tag, which it empties. OK stores one line per group (heading,
// "|", every ticked group's heading followed by ":") in "Mitarbeiteranzber.dat" and
// puts permissions in force (settings position 1 = 2).
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "platform/Haken.h"
#include "store/Stammdatenstand.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class frmAnzeigeberechtigungen : public QDialog {
 public:
  frmAnzeigeberechtigungen(QString& tag, QWidget* besitzer = nullptr);

  // The help window, set by the program's wiring.
  static Haken<void(QWidget*)> hilfe;

  QComboBox* cmbMitarbeitergruppe = nullptr;
  std::array<QLabel*, 3> lblBeschriftung{};               // 1 and 2
  std::vector<QCheckBox*> chkMitarbeitergruppe{nullptr};  // 1 to n
  std::array<QPushButton*, 4> cmdAuswahl{};               // 1 help, 2 cancel, 3 OK

  void cmdAuswahl_Click(int index);
  void cmbMitarbeitergruppe_Click();
  void chkMitarbeitergruppe_Click();
  void Anzeigeberechtigungen_aktualisieren();

  // Group i's flag text: character j "1" when group j is ticked for it (1-based lists).
  const QStringList& Flags() const { return mFlags; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void Form_Load(QString& tag);

  QStringList mGruppen{QString()};
  QStringList mFlags{QString()};
  // The stamps of the files as this workstation had them when the dialog opened.
  Stammdatenstand mStand;
};
