#include "printing/Summendruck.h"

#include <QLocale>

#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "platform/Zustand.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"

Summendruckquelle gSummendruckquelle;

namespace {
void zurücksetzen() { gSummendruckquelle = {}; }
VELKORA_ZUSTAND(zurücksetzen);

void leerzeile(double y) { Schreibe_Text(0, y, QString(), QString()); }
}  // namespace

bool Summenübersicht_drucken(int exemplare) {
  return Druckroutine(QStringLiteral("Summenübersicht_drucken"), [exemplare] {
    const Summendruckquelle& q = gSummendruckquelle;
    if (!q.gitter || !q.vonDatum || !q.bisDatum)
      throw Laufzeitfehler(91, QStringLiteral("Objektvariable nicht festgelegt"));
    const Raster& g = q.gitter();
    const int spalten = g.Cols(), zeilen = g.Rows();
    // The table narrows its name column where the code columns need the room.
    const double L = spalten == 12 || spalten == 13 || spalten == 24 || spalten == 25 ? 0 : 1.15;
    const double W = spalten >= 22 ? 0.84 : 0.96;
    const auto x = [&](int c) { return 6.94 + L + (c - 1) * W; };
    for (int kopie = 1; kopie <= exemplare; ++kopie) {
      if (!Druckereinstellungen_setzen()) return false;
      const double h = gSeite.hVerschiebung, v = gSeite.vVerschiebung;
      const double zb = gSeite.zusatzbreite, hz = gSeite.höhenzugabe;
      int seite = 0;
      bool neueSeite = true;
      for (int r = 1; r <= zeilen - 1; ++r) {
        const bool letzte = r == zeilen - 1;
        if (neueSeite) {
          ++seite;
          QString kopf = gFirmenname;
          if (!gFirmenzusatz.isEmpty()) kopf += QStringLiteral(" - ") + gFirmenzusatz;
          Schreibe_Text(2.4 - h, 1.6 - v, kopf, QString());
          Rahmen_drucken(2.3 - h, 2.15 - v, 16.4 + zb);
          Schreibe_Text(2.4 - h, gSeite.aktZeile + 0.65,
                        QStringLiteral("Summenübersicht vom ") + q.vonDatum() + QStringLiteral(" bis ") + q.bisDatum(),
                        QStringLiteral("italic"));
          leerzeile(gSeite.aktZeile + 0.08);
          const double band = gSeite.aktZeile;
          Setze_Hintergrund(2.4 - h, band, L + 4.56, 0.65, gGrundfarben[5]);
          for (int c = 1; c <= spalten - 1; ++c)
            Setze_Hintergrund(x(c) - h, band, W + 0.03, 0.65, g.CellBackColor(0, c).value_or(g.BackColorFixed()));
          Schreibe_Text(2.48 - h, band + 0.15, QStringLiteral("Name"), QStringLiteral("transparent, NoCr"));
          for (int c = 1; c <= spalten - 1; ++c) {
            gDruckfarbe = gSFTextfarben.value(c);
            Schreibe_Text(x(c) + W / 2 - h, 0, g.TextMatrix(0, c), QStringLiteral("transparent, zentriert, NoCr"));
            gDruckfarbe = 0;
          }
          leerzeile(gSeite.aktZeile + 0.03);
          neueSeite = false;
        }
        Setze_Hintergrund(2.4 - h, gSeite.aktZeile + 0.05, L + 4.56, 0.58,
                          g.CellBackColor(r, 0).value_or(g.BackColorFixed()));
        Schreibe_Text(2.48 - h, gSeite.aktZeile + 0.15, Text_kürzen(g.TextMatrix(r, 0), L + 4.56),
                      QStringLiteral("transparent, NoCr"));
        // Only the total is bold: once a sort has dropped it, the last row is an
        // employee like any other.
        const bool summe = letzte && g.TextMatrix(r, 0) == u"Gesamtsumme";
        const QString optionen = summe ? QStringLiteral("transparent, zentriert, NoCr, bold")
                                       : QStringLiteral("transparent, zentriert, NoCr");
        for (int c = 1; c <= spalten - 1; ++c) {
          Setze_Hintergrund(x(c) - h, gSeite.aktZeile - 0.1, W + 0.03, 0.58, gGrundfarben[1]);
          Schreibe_Text(x(c) + W / 2 + 0.1 - h, 0, g.TextMatrix(r, c), optionen);
        }
        Schreibe_Text(0, 0, QString(), QString());
        if (gSeite.aktZeile > 26.8 - zb - hz + 3 * v || letzte) {
          Rahmen_drucken(2.3 - h, 27.7 - zb - hz + 3 * v, 16.4 + zb);
          Schreibe_Text(2.4 - h, 27.85 - zb - hz + 3 * v, QStringLiteral("Seite %1").arg(seite),
                        QStringLiteral("NoCr"));
          Schreibe_Text(18.6 + zb - h, 0, QLocale(QLocale::German).toString(gHeute, QLocale::ShortFormat),
                        QStringLiteral("rechts"));
          if (!letzte) gDruckfläche->neueSeite();
          neueSeite = true;
        }
      }
      Druckauftrag_beenden();
    }
    return true;
  });
}
