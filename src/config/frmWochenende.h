#pragma once
// The non-working weekdays dialog "Velkora - Arbeitsfreie Tage": the weekdays on which
// the organisation does not work (the weekend gWochenende) and the lock on entries on
// non-working days and holidays (settings position 12). A change applies from the
// first day of the current month on; the months before it keep their weekdays.
#include <QDialog>
#include <array>
#include <functional>

#include "platform/Haken.h"
#include "store/Stammdatenstand.h"

class QCheckBox;
class QKeyEvent;
class QLabel;
class QPushButton;

class frmWochenende : public QDialog {
 public:
  explicit frmWochenende(QWidget* besitzer = nullptr);

  // The help window, set by the program's wiring.
  static Haken<void(QWidget*)> hilfe;

  QLabel* lblBeschriftung = nullptr;
  std::array<QCheckBox*, 8> chkWochenende{};  // 1 Monday to 7 Sunday
  QCheckBox* chkEingabe = nullptr;
  std::array<QPushButton*, 4> cmdAuswahl{};  // 1 help, 2 OK, 3 cancel

  void cmdAuswahl_Click(int index);
  void Wochenenddaten_aktualisieren();

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void Form_Load();

  // The stamps of the files as this workstation had them when the dialog opened.
  Stammdatenstand mStand;
};

// The weekday codes "Mo" to "So" (1-based).
const QString& Wochentagscode(int tag);
