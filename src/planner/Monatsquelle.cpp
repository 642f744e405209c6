#include "planner/Monatsquelle.h"

#include <utility>

#include "platform/Text.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Monatsversion.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"

namespace {

void Zustand_zurücksetzen();
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// A 1-based list of the store without its unused element 0 and its "empty" word.
QStringList Liste(const QStringList& einsbasiert, const QString& leer) {
  QStringList r = einsbasiert.mid(1);
  if (r.size() == 1 && r[0] == leer) r.clear();
  return r;
}

struct Vorgabe {
  QString monat, name;
};
Vorgabe sVorgabe;

}  // namespace

Monatsinhalt Monatsinhalt_lesen(const QString& monat) {
  Monatsinhalt m;
  if (!sVorgabe.monat.isEmpty() && sVorgabe.monat == monat) {
    const QString name = std::exchange(sVorgabe, Vorgabe{}).name;
    m.vorhanden = !name.isEmpty();
    Erfassungsdaten_lesen(monat, name);
  } else {
    m.vorhanden = Aktuelle_Erfassungsdatei(monat).has_value();
    Erfassungsdaten_lesen(monat);
  }
  m.einträge = Liste(gMonatsEinträge, QStringLiteral("NoData"));
  m.kommentare = Liste(gMonatsKommentare, QStringLiteral("NoComments"));
  m.ausnahmen = gMonatsAusnahmen;
  return m;
}

namespace {

void Zustand_zurücksetzen() { sVorgabe = {}; }

}  // namespace

void Monatsversion_vorgeben(const QString& monat, const QString& name) { sVorgabe = {monat, name}; }

QString Heutige_Monatsdatei(const QString& monat) { return gDatenordner + Monatsversion::zu(monat, gHeuteText).name(); }

QString Anzeigeberechtigung() { return gAnzeigeberechtigung; }

QStringList Anzeigegruppen() {
  QStringList g = gAnzeigegruppen.mid(1);
  return g.isEmpty() ? QStringList{QStringLiteral("NoGroups")} : g;
}

int Anzeigegruppe() { return gAnzeigegruppe; }
void Anzeigegruppe_setzen(int gruppe) { gAnzeigegruppe = gruppe; }
