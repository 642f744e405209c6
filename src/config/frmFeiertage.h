#pragma once
// The holidays dialog "Velkora - Feiertage": which of the 16 holiday definitions of the
// country's set are in force, up to 16 further holidays that recur every year on the
// same day and month, and the lock on entries on non-working days and holidays
// (settings position 12). A change applies from the first day of the current month
// on; the months before it keep the holidays they had.
//
// The dialog opens compact (the further-holiday boxes hidden) while there are no
// further holidays, and "Weitere Feiertage >>" opens the boxes for good.
#include <QDateTime>
#include <QDialog>
#include <array>
#include <functional>

#include "platform/Haken.h"
#include "store/Stammdatenstand.h"

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class frmFeiertage : public QDialog {
 public:
  explicit frmFeiertage(QWidget* besitzer = nullptr);

  // The help window, set by the program's wiring.
  static Haken<void(QWidget*)> hilfe;

  std::array<QLabel*, 4> lblBeschriftung{};   // 1 heading, 2 input form, 3 second line of chkEingabe
  std::array<QCheckBox*, 17> chkFeiertage{};  // 1 to 16
  std::array<QLineEdit*, 17> txtFeiertage{};  // 1 to 16
  QCheckBox* chkEingabe = nullptr;
  // 1 "Weitere Feiertage >>", 2 help, 3 OK, 4 cancel.
  std::array<QPushButton*, 5> cmdAuswahl{};

  void cmdAuswahl_Click(int index);
  // Opens the further-holiday boxes.
  void Weitere_Feiertage();
  // Checks and completes the entry of box i as leaving it does; false, after the
  // message and with the focus back in the box, for a refused entry.
  bool Eingabe_prüfen(int i);
  void Feiertage_aktualisieren();

  // The index of the last definition with a name (0 when none has one).
  int letzteBenannte() const { return mLetzte; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void Form_Load();
  void Eingabe_filtern(int i);
  void Anordnen();

  int mLetzte = 0;
  int mVersatzOben = 0;   // twips the controls below the check boxes moved up
  int mVersatzUnten = 0;  // twips the lock box and the buttons moved up besides
  int mFeldbreite = 615;  // twips of a further-holiday box
  int mInnenbreite = 0;   // twips, wider than designed for long names
  bool mPrüfung = false;  // an entry check is showing its message
  // The stamps of the files as this workstation had them when the dialog opened.
  Stammdatenstand mStand;
  QDateTime mFeiertageZeit;
};
