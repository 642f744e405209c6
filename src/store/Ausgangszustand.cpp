#include "store/Ausgangszustand.h"

#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {
// The letters of the default code buttons after the vacation letter, by the
// country variant of settings position 15.
QString Standardbuchstaben() {
  switch (Setting(15)) {
    case 1:
      return QStringLiteral("½OBSM");
    case 2:
      return gLand == u"France" ? QStringLiteral("½R½DMA") : QStringLiteral("½DMA");
    case 3:
      return QStringLiteral("½CTEO");
    default:
      return QStringLiteral("½ZDKS");
  }
}
}  // namespace

bool Check_ob_Ausgangszustand() {
  return Prozedur(QStringLiteral("modOrdner - Check_ob_Ausgangszustand"), [&]() -> bool {
    if (Erfassungsdaten_vorhanden(Schaltflächen_Anzahl())) return false;
    QString buchstaben;
    for (int i = 1; i < Schaltflächen_Anzahl(); ++i) buchstaben += gSFKennbuchstaben.value(i);
    if (buchstaben != SettingStr(20, 1) + Standardbuchstaben()) return false;
    const qsizetype mitarbeiter = gMitarbeiterNamen.size() - 1;
    if (mitarbeiter != 1 && mitarbeiter != 31) return false;
    if (!Dateiliste(gDatenordner, QStringLiteral("ÜStunden*.dat")).isEmpty()) return false;
    const QString logbuch = gLogordner + gHeuteText.left(4) + QStringLiteral(" Velkora.log");
    if (Dateigröße(logbuch) <= 0) return false;
    FOpen(logbuch, QStringLiteral("Input"));
    QStringList zeilen;
    while (!FEOF() && zeilen.size() < 2) zeilen << LineIn();
    FClose();
    return zeilen.size() == 1 && zeilen.first().contains(QStringLiteral("initialisiert"));
  });
}
