#include "printing/Jahresdruck.h"

#include <QStringList>
#include <vector>

#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "platform/Zustand.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"

Jahresdruckquelle gJahresdruckquelle;

namespace {
void zurücksetzen() { gJahresdruckquelle = {}; }
VELKORA_ZUSTAND(zurücksetzen);

// One text of the account block: its label element, its x and whether it stands right.
struct Kontotext {
  int element;
  double x;
  bool rechts;
};

// The account block, line by line; the first line bold and italic.
void Kontoblock_drucken(const Jahresdruckquelle& q, double g, bool sonderurlaub) {
  using Zeile = std::vector<Kontotext>;
  static const std::vector<Zeile> mit = {
      {{3, 3.3, false}, {18, 16.6, false}},
      {{4, 3.3, false},
       {7, 8.8, true},
       {10, 9.6, false},
       {12, 15.4, true},
       {19, 16.6, false},
       {20, 19.7, true},
       {21, 20.5, false},
       {23, 26.3, true}},
      {{5, 3.3, false}, {8, 8.8, true}, {11, 9.6, false}, {13, 15.4, true}, {22, 20.5, false}, {24, 26.3, true}},
      {{6, 3.3, false}, {9, 8.8, true}, {14, 9.6, false}, {16, 15.4, true}, {25, 20.5, false}, {27, 26.3, true}},
      {{15, 9.6, false}, {17, 15.4, true}, {26, 20.5, false}, {28, 26.3, true}},
  };
  static const std::vector<Zeile> ohne = {
      {{3, 3.3, false}},
      {{4, 3.3, false}, {7, 9.7, true}, {10, 11.6, false}, {12, 18.0, true}, {14, 19.9, false}, {16, 26.3, true}},
      {{5, 3.3, false}, {8, 9.7, true}, {11, 11.6, false}, {13, 18.0, true}, {15, 19.9, false}, {17, 26.3, true}},
      {{6, 3.3, false}, {9, 9.7, true}},
  };
  const std::vector<Zeile>& block = sonderurlaub ? mit : ohne;
  const double h = gSeite.hVerschiebung;
  for (std::size_t z = 0; z < block.size(); ++z) {
    const Zeile& zeile = block[z];
    for (std::size_t i = 0; i < zeile.size(); ++i) {
      const Kontotext& t = zeile[i];
      QStringList optionen;
      if (z == 0) optionen << QStringLiteral("bold") << QStringLiteral("italic");
      if (t.rechts) optionen << QStringLiteral("rechts");
      if (i + 1 < zeile.size()) optionen << QStringLiteral("NoCr");
      double y = 0;
      if (i == 0 && z == 0) y = gSeite.aktZeile + 0.4 + g / 2;
      if (i == 0 && z == 1) y = gSeite.aktZeile + 0.2;
      Schreibe_Text(t.x - h, y, q.beschriftung(t.element), optionen.join(QStringLiteral(", ")));
    }
  }
  if (sonderurlaub) {
    gSeite.aktZeile -= 0.4;
    gDruckY -= 0.4;
  }
}

}  // namespace

bool Jahresübersicht_drucken(int exemplare) {
  return Druckroutine(QStringLiteral("Jahresübersicht_drucken"), [exemplare] {
    const Jahresdruckquelle& q = gJahresdruckquelle;
    Haken_prüfen(q.gitter, q.beschriftung, q.name, q.jahr, q.letztesElement, q.sonderurlaub);
    // The legend's two extra entries are the window's last two label elements.
    const auto gemerkt = gJahreslegende;
    struct Zurück {
      std::function<QStringList()> alt;
      ~Zurück() { gJahreslegende = alt; }
    } zurück{gemerkt};
    const int k = q.letztesElement();
    gJahreslegende = [k] {
      return QStringList{gJahresdruckquelle.beschriftung(k - 1), gJahresdruckquelle.beschriftung(k)};
    };
    const Raster& g = q.gitter();
    const QString zellenart = QStringLiteral("transparent, zentriert, NoCr");
    const int n = static_cast<int>(gSFKennbuchstaben.size()) - 1;
    const double lücke = n < 15 || gSFUrlaub == 0 ? 0.15 : 0;
    for (int kopie = 1; kopie <= exemplare; ++kopie) {
      if (!Druckereinstellungen_setzen()) return false;
      const double h = gSeite.hVerschiebung;
      Header_drucken(QStringLiteral("Jahresübersicht ") + q.jahr());
      Schreibe_Text(3.38 - h, gSeite.aktZeile + 0.65, q.name(), QStringLiteral("bold, italic"));
      Leerzeile(gSeite.aktZeile + 0.15);
      for (int r = 0; r <= 12; ++r) {
        const double zeile = gSeite.aktZeile;
        const Farbwert kopf = gGrundfarben[5];
        Setze_Hintergrund(3.3 - h, zeile - 0.1, 3.53, 0.59,
                          r == 0 ? kopf : g.CellBackColor(r, 0).value_or(g.BackColorFixed()));
        Schreibe_Text(3.38 - h, 0, g.TextMatrix(r, 0), QStringLiteral("transparent, NoCr"));
        for (int d = 1; d <= 31; ++d) {
          Setze_Hintergrund(6.16 + 0.63 * d - h, zeile - 0.1, 0.66, 0.59,
                            r == 0 ? kopf : g.CellBackColor(r, d).value_or(gGrundfarben[1]));
          // A day without a text draws nothing, and the next text of the line or the
          // line end sets the position anew: it is not measured at all.
          const QString text = g.TextMatrix(r, d);
          if (text.isEmpty()) continue;
          gDruckfarbe = g.CellForeColor(r, d).value_or(0);
          Schreibe_Text(6.5 + 0.63 * d - h, 0, text, zellenart);
          gDruckfarbe = 0;
        }
        Leerzeile(gSeite.aktZeile + 0.15);
      }
      if (gSFUrlaub > 0) Kontoblock_drucken(q, lücke, q.sonderurlaub());
      Schreibe_Text(3.3 - h, gSeite.aktZeile + 0.4 + lücke, q.beschriftung(29), QStringLiteral("bold, italic, NoCr"));
      Leerzeile(gSeite.aktZeile + 0.35);
      const auto spalte = [](int i) { return 0.974 * (i - 1); };
      const double kästen = gSeite.aktZeile;
      for (int i = 1; i <= n - 1; ++i) {
        Setze_Hintergrund(3.3 + spalte(i) - h, kästen - 0.1, 0.66, 0.59, gSFHintergrundfarben[i]);
        gDruckfarbe = gSFTextfarben[i];
        Schreibe_Text(3.64 + spalte(i) - h, 0, gSFKennbuchstaben[i], QStringLiteral("transparent, zentriert, NoCr"));
        gDruckfarbe = 0;
      }
      Leerzeile(gSeite.aktZeile + 0.3);
      for (int i = 1; i <= n - 1; ++i)
        Schreibe_Text(3.64 + spalte(i) - h, 0, q.beschriftung(29 + i), QStringLiteral("zentriert, NoCr"));
      Schreibe_Text(3.3 - h, gSeite.aktZeile + 0.65 + lücke, q.beschriftung(54), QStringLiteral("bold, italic, NoCr"));
      Leerzeile(gSeite.aktZeile + 0.35);
      Monatskopf_drucken(3.3);
      Fußzeile_drucken(1);
      Druckauftrag_beenden();
    }
    return true;
  });
}

bool Jahresübersichten_abwarten() {
  return Druckroutine(QStringLiteral("Jahresübersicht_drucken"), [] {
    Pdf_Serie::prüfen(true);
    return true;
  });
}
