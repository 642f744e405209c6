#include "config/Ausnahmezeitraum.h"

#include <QDate>

#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

int Aktueller_Monatsindex() { return 12 * (gHeute.year() - gPlanungsjahr) + gHeute.month(); }

bool Vergangene_Monate_einfrieren() {
  return gMonateSeitEinrichtung >= 2 && Erfassungsdaten_zu_Monaten_vorhanden(1, Aktueller_Monatsindex() - 1);
}

bool Künftige_Daten_vorhanden() {
  return Erfassungsdaten_zu_Monaten_vorhanden(Aktueller_Monatsindex() + 1, Erfassungstabelle::kMonate);
}

QString Wirksamkeitsdatum() { return FormatDatumDA(QDate(gHeute.year(), gHeute.month(), 1)); }

QString Wirksamkeitshinweis() {
  if (!Vergangene_Monate_einfrieren()) return {};
  return QStringLiteral(" (Änderungen werden ab ") + Wirksamkeitsdatum() + QStringLiteral(" wirksam)");
}
