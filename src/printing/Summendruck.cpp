#include "printing/Summendruck.h"

#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "platform/Zustand.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "printing/Listendruck.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"

Summendruckquelle gSummendruckquelle;

namespace {
void zurücksetzen() { gSummendruckquelle = {}; }
VELKORA_ZUSTAND(zurücksetzen);
}  // namespace

bool Summenübersicht_drucken(int exemplare) {
  return Druckroutine(QStringLiteral("Summenübersicht_drucken"), [exemplare] {
    const Summendruckquelle& q = gSummendruckquelle;
    Haken_prüfen(q.gitter, q.vonDatum, q.bisDatum);
    const Raster& g = q.gitter();
    const int spalten = g.Cols(), zeilen = g.Rows();
    // The table narrows its name column where the code columns need the room.
    const double L = spalten == 12 || spalten == 13 || spalten == 24 || spalten == 25 ? 0 : 1.15;
    const double W = spalten >= 22 ? 0.84 : 0.96;
    const auto x = [&](int c) { return 6.94 + L + (c - 1) * W; };
    Listenblatt blatt;
    blatt.kopf = [&] {
      const double h = gSeite.hVerschiebung, v = gSeite.vVerschiebung, zb = gSeite.zusatzbreite;
      Schreibe_Text(2.4 - h, 1.6 - v, Firmenzeile(), QString());
      Rahmen_drucken(2.3 - h, 2.15 - v, 16.4 + zb);
      Schreibe_Text(2.4 - h, gSeite.aktZeile + 0.65,
                    QStringLiteral("Summenübersicht vom ") + q.vonDatum() + QStringLiteral(" bis ") + q.bisDatum(),
                    QStringLiteral("italic"));
      Leerzeile(gSeite.aktZeile + 0.08);
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
      Leerzeile(gSeite.aktZeile + 0.03);
    };
    blatt.zeile = [&](int r, bool letzte) {
      const double h = gSeite.hVerschiebung;
      Setze_Hintergrund(2.4 - h, gSeite.aktZeile + 0.05, L + 4.56, 0.58,
                        g.CellBackColor(r, 0).value_or(g.BackColorFixed()));
      Schreibe_Text(2.48 - h, gSeite.aktZeile + 0.15, Text_kürzen(g.TextMatrix(r, 0), L + 4.56),
                    QStringLiteral("transparent, NoCr"));
      // Only the total is bold: once a sort has dropped it, the last row is an
      // employee like any other.
      const bool summe = letzte && g.TextMatrix(r, 0) == u"Gesamtsumme";
      const QString optionen =
          summe ? QStringLiteral("transparent, zentriert, NoCr, bold") : QStringLiteral("transparent, zentriert, NoCr");
      for (int c = 1; c <= spalten - 1; ++c) {
        Setze_Hintergrund(x(c) - h, gSeite.aktZeile - 0.1, W + 0.03, 0.58, gGrundfarben[1]);
        Schreibe_Text(x(c) + W / 2 + 0.1 - h, 0, g.TextMatrix(r, c), optionen);
      }
      Leerzeile(0);
    };
    blatt.voll = [] {
      return gSeite.aktZeile > 26.8 - gSeite.zusatzbreite - gSeite.höhenzugabe + 3 * gSeite.vVerschiebung;
    };
    blatt.fuß = [](int seite) {
      Hochformat_Fußzeile_drucken(seite, gSeite.hVerschiebung, gSeite.zusatzbreite, gSeite.höhenzugabe,
                                  gSeite.vVerschiebung);
    };
    return Liste_drucken(exemplare, zeilen, blatt);
  });
}
