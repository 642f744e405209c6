#include "store/Planungsfenster.h"

#include <algorithm>

#include "startup/Start.h"
#include "store/Mitarbeiterdaten.h"

namespace {

// The planning year a year change of this program is moving the window to; 0 when none.
int sNeuesJahr = 0;

// The year of a month key "yymm"; 0 when it is none.
int Jahr_des_Monats(const QString& schlüssel) {
  if (schlüssel.size() != 4) return 0;
  for (const QChar c : schlüssel)
    if (c < u'0' || c > u'9') return 0;
  return 2000 + schlüssel.left(2).toInt();
}

enum class Lage { Innen, Davor, Danach };

// Where a month lies to the folder's window.
Lage Lage_zum_Fenster(const QString& schlüssel) {
  const int jahr = Jahr_des_Monats(schlüssel);
  int planungsjahr = Planungsjahr_der_Mitarbeiterdatei();
  if (planungsjahr == 0) planungsjahr = gPlanungsjahr;
  if (jahr == 0 || planungsjahr == 0) return Lage::Innen;
  int letztes = planungsjahr + 2;
  if (sNeuesJahr != 0) letztes = std::max(letztes, sNeuesJahr + 2);
  if (jahr < planungsjahr) return Lage::Davor;
  return jahr > letztes ? Lage::Danach : Lage::Innen;
}

}  // namespace

bool Monat_im_Fenster_des_Ordners(const QString& monatsschlüssel) {
  return Lage_zum_Fenster(monatsschlüssel) == Lage::Innen;
}

QString Monat_ausserhalb_des_Fensters_Meldung(const QString& monatsschlüssel) {
  const QString monat =
      monatsschlüssel.mid(2, 2) + gDatumstrennzeichen + QStringLiteral("20") + monatsschlüssel.left(2);
  // A month after the folder's window: the window was moved back (a year change undone
  // after the system date was set back, a restored backup).
  if (Lage_zum_Fenster(monatsschlüssel) == Lage::Danach)
    return QStringLiteral("Der Planungszeitraum wurde an einem anderen Arbeitsplatz geändert. Die Monatsdatei ") +
           monat +
           QStringLiteral(
               " gehört nicht zum Planungszeitraum, die Eingabe wurde nicht gespeichert.\r\rBitte starten Sie das "
               "Programm neu.");
  return QStringLiteral("Der Jahreswechsel wurde an einem anderen Arbeitsplatz durchgeführt. Die Monatsdatei ") +
         monat +
         QStringLiteral(
             " gehört nicht mehr zum Planungszeitraum, die Eingabe wurde nicht gespeichert.\r\rBitte starten Sie das "
             "Programm neu.");
}

Fenster_des_Jahreswechsels::Fenster_des_Jahreswechsels(int neuesJahr) : mVorher(sNeuesJahr) { sNeuesJahr = neuesJahr; }

Fenster_des_Jahreswechsels::~Fenster_des_Jahreswechsels() { sNeuesJahr = mVorher; }
