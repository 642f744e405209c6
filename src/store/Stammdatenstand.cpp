#include "store/Stammdatenstand.h"

#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

Stammdatenstand::Stammdatenstand() : mMitarbeiter(gMitarbeiterdatenZeit), mKonfiguration(gKonfigdatenZeit) {}

bool Stammdatenstand::fremdGeschrieben(bool mitarbeiter, bool konfiguration) const {
  if (Setting(39) == 1) return false;
  return (mitarbeiter && Dateizeit(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")) != mMitarbeiter) ||
         (konfiguration && Dateizeit(gDatenordner + QStringLiteral("Konfigdaten.dat")) != mKonfiguration);
}

bool Stammdatenstand::unverändert(bool mitarbeiter, bool konfiguration) const {
  if (!fremdGeschrieben(mitarbeiter, konfiguration)) return true;
  Meldung(QString::fromUtf16(kStammdatenGeändert));
  return false;
}
