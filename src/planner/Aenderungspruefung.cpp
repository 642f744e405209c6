#include "planner/Aenderungspruefung.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsstand.h"

namespace {

constexpr int kIntervallMs = 15000;
constexpr int kZählerMax = 1000;

struct Neuladen {
  int nummer = 0;
  std::function<void()> f;
};
Neuladen sNeuladen;
int sLetzteNummer = 0;

void Zustand_zurücksetzen() { sNeuladen = Neuladen{}; }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

}  // namespace

int Monat_neu_laden_anmelden(std::function<void()> neuLaden) {
  sNeuladen = Neuladen{++sLetzteNummer, std::move(neuLaden)};
  return sNeuladen.nummer;
}

void Monat_neu_laden_abmelden(int nummer) {
  if (sNeuladen.nummer == nummer) sNeuladen = Neuladen{};
}

bool CheckErfassungsdaten() {
  return Prozedur(QStringLiteral("frmVelkora - CheckErfassungsdaten"), [&]() -> bool {
    if (gMonatsschlüssel.isEmpty() || !sNeuladen.f) return false;
    const Monatsstand jetzt = Monatsstand_lesen(gMonatsschlüssel);
    // A changed employee list or configuration counts as a changed month: entered with
    // the old table, a renamed employee's lines would go under the old user name.
    const bool stammdaten =
        Setting(39) != 1 &&
        (Dateizeit(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")) != gMitarbeiterdatenZeit ||
         Dateizeit(gDatenordner + QStringLiteral("Konfigdaten.dat")) != gKonfigdatenZeit);
    if (jetzt == gMonatsdateiStand && !stammdaten) return false;
    if (stammdaten) {
      CheckKonfigdaten();
      CheckMitarbeiterdaten();
    }
    // Taken before the month is read again: a write while it is read differs from it
    // and is reloaded at the next check.
    gMonatsdateiStand = jetzt;
    sNeuladen.f();
    return true;
  });
}

bool Prüfung_fällig(int zähler) { return (zähler <= 10 || zähler % 10 == 0) && (zähler <= 100 || zähler % 100 == 0); }

Tickergebnis Tick_entscheiden(int zähler, const Tickzustand& z) {
  if (z.minimiert || z.dialogOffen || z.dateiOffen || z.beschäftigt || z.sanduhr) return {zähler, false};
  ++zähler;
  if (zähler > kZählerMax) zähler = 0;
  return {zähler, Prüfung_fällig(zähler)};
}

Tickzustand Tickzustand_lesen(const QWidget* hauptfenster) {
  Tickzustand z;
  z.minimiert = hauptfenster && hauptfenster->isMinimized();
  // The modal and popup windows are the program's own lists, whichever application the
  // user has in front.
  z.dialogOffen = QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr;
  z.dateiOffen = !gOffeneDatei.isEmpty();
  z.beschäftigt = gBeschäftigt;
  z.sanduhr = QGuiApplication::overrideCursor() != nullptr;
  return z;
}

Änderungsprüfung::Änderungsprüfung(QWidget* hauptfenster, std::function<void()> neuLaden)
    : mFenster(hauptfenster), mTimer(new QTimer(hauptfenster)) {
  mTimer->setInterval(kIntervallMs);
  QObject::connect(mTimer, &QTimer::timeout, mTimer, [this] { tmrTimer1_Timer(); });
  mAnmeldung = Monat_neu_laden_anmelden(std::move(neuLaden));
}

Änderungsprüfung::~Änderungsprüfung() {
  Monat_neu_laden_abmelden(mAnmeldung);
  // The timer belongs to the window and may outlive this object.
  delete mTimer;
}

void Änderungsprüfung::einschalten(bool an) {
  if (!mTimer) return;
  if (an)
    mTimer->start();
  else
    mTimer->stop();
}

void Änderungsprüfung::tmrTimer1_Timer() {
  Tickergebnis r;
  try {
    r = Tick_entscheiden(mTimerZähler, zustand ? zustand() : Tickzustand_lesen(mFenster));
  } catch (const Laufzeitfehler&) {
    return;
  }
  mTimerZähler = r.zähler;
  if (r.prüfen) CheckErfassungsdaten();
}
