#pragma once
// Seeing other workstations' changes of the shown month: the change check, and the
// polling timer that calls it on a thinning schedule while the user is idle.
#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;

// Reloads the shown month when it changed on disk since the own stamp (its newest
// version's name, time or size differ; see store/Monatsstand.h). The reload itself is
// the main window's (it redisplays the month keeping the marking, its highlight and
// the scroll position); the stamp is taken before it, so a write during the reload is
// seen at the next check. Nothing without a month shown or a reload registered. True
// when the month was reloaded.
bool CheckErfassungsdaten();

// What the timer tick looks at. Another application in front of ours does not stop
// the polling; a dialog or popup menu of ours does.
struct Tickzustand {
  bool minimiert = false;    // the main window is minimised
  bool dialogOffen = false;  // a modal window or a popup of this program is open
  bool dateiOffen = false;   // the file channel is in use
  bool beschäftigt = false;  // the busy state is on
  bool sanduhr = false;      // the mouse pointer is not the default one
};

struct Tickergebnis {
  int zähler = 0;       // the counter after the tick
  bool prüfen = false;  // the change check runs
};

// Whether the check runs at this counter value: every tick up to 10, every 10th up
// to 100, every 100th up to 1000.
bool Prüfung_fällig(int zähler);
// One tick: while the state forbids it nothing changes; otherwise the counter goes on
// (after 1000 back to 0) and says whether the check runs.
Tickergebnis Tick_entscheiden(int zähler, const Tickzustand& zustand);
// The state of the program for the tick.
Tickzustand Tickzustand_lesen(const QWidget* hauptfenster);

// The polling of the main window: owns the 15-second timer and the tick counter, and
// registers the window's reload for CheckErfassungsdaten while it lives.
class Änderungsprüfung {
 public:
  // The timer's parent is the main window. `neuLaden` reloads and redisplays the shown
  // month keeping the marking and the scroll position.
  Änderungsprüfung(QWidget* hauptfenster, std::function<void()> neuLaden);
  ~Änderungsprüfung();
  Änderungsprüfung(const Änderungsprüfung&) = delete;
  Änderungsprüfung& operator=(const Änderungsprüfung&) = delete;

  QTimer* tmrTimer1() const { return mTimer; }
  // On unless settings position 32 is 1.
  void einschalten(bool an);
  // Back to the fast rate: resize, month tab click, the first mouse move over the grid
  // after the window came back to the front.
  void zurücksetzen() { mTimerZähler = 0; }
  int zähler() const { return mTimerZähler; }
  // The timer event; run-time errors of the tick itself are ignored.
  void tmrTimer1_Timer();

  // Test seam: how the tick reads the state (Tickzustand_lesen of the main window).
  std::function<Tickzustand()> zustand;

 private:
  QWidget* mFenster;
  QPointer<QTimer> mTimer;
  int mTimerZähler = 0;
  int mAnmeldung = 0;
};

// The reload CheckErfassungsdaten calls; the number returned unregisters it (a later
// registration replaces an earlier one).
int Monat_neu_laden_anmelden(std::function<void()> neuLaden);
void Monat_neu_laden_abmelden(int nummer);
