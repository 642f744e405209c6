#include "printing/Ueberstundendruck.h"

#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "platform/Zustand.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "printing/Listendruck.h"

Überstundendruckquelle gÜberstundendruckquelle;

namespace {
void zurücksetzen() { gÜberstundendruckquelle = {}; }
VELKORA_ZUSTAND(zurücksetzen);
}  // namespace

bool Überstunden_drucken(int exemplare) {
  return Druckroutine(QStringLiteral("Überstunden_drucken"), [exemplare] {
    const Überstundendruckquelle& q = gÜberstundendruckquelle;
    Haken_prüfen(q.gitter, q.name);
    const Raster& g = q.gitter();
    const int zeilen = g.Rows();
    const auto wert = [&g](int r, int c) { return c < g.Cols() ? g.TextMatrix(r, c) : QString(); };
    // A portrait page as it stands; only Letter paper takes its height allowance off.
    Listenblatt blatt;
    blatt.kopf = [&] {
      Schreibe_Text(2.4, 1.6, QStringLiteral("Überstunden ") + q.name(), QStringLiteral("NoCr"));
      QString firma = Firmenzeile();
      // A long organisation text would run into the title.
      if (Textbreite(firma) >= 8.5) firma.clear();
      Schreibe_Text(18.6, 0, firma, QStringLiteral("rechts"));
      Rahmen_drucken(2.3, 2.15, 16.4);
      Schreibe_Text(2.4, gSeite.aktZeile + 0.65, QStringLiteral("Datum"), QStringLiteral("italic, NoCr"));
      Schreibe_Text(5.9, 0, QStringLiteral("Std./Min."), QStringLiteral("italic, rechts, NoCr"));
      Schreibe_Text(8.0, 0, QStringLiteral("Saldo"), QStringLiteral("italic, rechts, NoCr"));
      Schreibe_Text(9.2, 0, QStringLiteral("Bemerkung"), QStringLiteral("italic"));
      Leerzeile(0);
    };
    blatt.zeile = [&](int r, bool) {
      // Hidden rows and the merged message of an empty list stay off the paper.
      if (g.RowHeight(r) >= 1 && !g.MergeRow(r)) {
        Schreibe_Text(2.4, 0, wert(r, 0), QStringLiteral("NoCr"));
        Schreibe_Text(5.9, 0, wert(r, 1), QStringLiteral("rechts, NoCr"));
        Schreibe_Text(8.0, 0, wert(r, 2), QStringLiteral("rechts, NoCr"));
        Schreibe_Text(9.2, 0, Text_kürzen(wert(r, 3), 9.4), QString());
      }
    };
    blatt.voll = [] { return gSeite.aktZeile > 26.8 - gSeite.höhenzugabe; };
    blatt.fuß = [](int seite) { Hochformat_Fußzeile_drucken(seite, 0, 0, gSeite.höhenzugabe, 0); };
    return Liste_drucken(exemplare, zeilen, blatt);
  });
}
