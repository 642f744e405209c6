#include "printing/Monatsdruck.h"

#include "platform/Raster.h"
#include "platform/Zustand.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"

Monatsdruckquelle* gMonatsdruckquelle = nullptr;

namespace {
int gMonatstage = 0;  // days of the printed month
void zurücksetzen() {
  gMonatsdruckquelle = nullptr;
  gMonatstage = 0;
}
VELKORA_ZUSTAND(zurücksetzen);

Monatsdruckquelle& quelle() {
  if (!gMonatsdruckquelle) throw Laufzeitfehler(91, QStringLiteral("Objektvariable nicht festgelegt"));
  return *gMonatsdruckquelle;
}

double tagX(int d) { return 7.16 + 0.63 * d - gSeite.hVerschiebung; }
double textX(int d) { return 7.5 + 0.63 * d - gSeite.hVerschiebung; }
double seitenende() { return 18.25 + 3 * gSeite.vVerschiebung; }

void neueSeite() { gDruckfläche->neueSeite(); }
}  // namespace

bool Monatsübersicht_drucken(int exemplare) {
  return Druckroutine(QStringLiteral("Monatsübersicht_drucken"), [exemplare] {
    Monatsdruckquelle& q = quelle();
    Raster& gitter = q.Monatsraster();
    // The grid is only read by row and column; it shows again however the printout ends.
    gitter.setRedraw(false);
    struct Wieder {
      Raster& g;
      ~Wieder() { g.setRedraw(true); }
    } wieder{gitter};
    gMonatstage = Anzahl_Monatstage(gMonatsschlüssel, 0);
    const int zeilen = gitter.Rows();
    for (int kopie = 1; kopie <= exemplare; ++kopie) {
      if (!Druckereinstellungen_setzen()) return false;
      bool neueSeiteOffen = true;
      int seite = 0;
      for (int r = 1; r <= zeilen - 1; ++r) {
        const bool letzte = r == zeilen - 1;
        if (neueSeiteOffen) {
          ++seite;
          Header_drucken(QStringLiteral("Velkora"));
          Monatsraster_drucken();
          neueSeiteOffen = false;
        }
        Mitarbeiterzeile_drucken(gitter, r);
        if (letzte && gBenutzerwerte[25] == 1 && gBenutzerwerte[30] == 1) {
          const Raster& summen = q.Tagessummen();
          int k = 0;
          for (int i = 1; i <= summen.Rows() - 1; ++i)
            if (summen.RowHeight(i) >= 1) ++k;
          if (gSeite.aktZeile >= 18.25 - 0.55 * k) {
            Fußzeile_drucken(seite);
            neueSeite();
            ++seite;
            Header_drucken(QStringLiteral("Velkora"));
            Monatsraster_drucken();
          } else {
            Schreibe_Text(0, 0, QString(), QString());
          }
          for (int i = 1; i <= summen.Rows() - 1; ++i)
            if (summen.RowHeight(i) > 0) Mitarbeiterzeile_drucken(summen, i);
        }
        if (letzte && gBenutzerwerte[24] == 1) {
          const int zeilenLegende = (static_cast<int>(gSFKennbuchstaben.size()) - 1 + 5) / 7;
          static constexpr double kHöhe[] = {0, 0.55, 1.13, 1.81, 2.42};
          const bool passt =
              zeilenLegende >= 1 && zeilenLegende <= 4 && gSeite.aktZeile < seitenende() - kHöhe[zeilenLegende];
          if (passt) {
            Leerzeile(0);
          } else {
            Fußzeile_drucken(seite);
            neueSeite();
            ++seite;
            Header_drucken(QStringLiteral("Velkora"));
            Leerzeile(gSeite.aktZeile + 0.85);
          }
          Monatskopf_drucken(2.3);
        }
        if (gSeite.aktZeile > seitenende() || letzte) {
          Fußzeile_drucken(seite);
          if (!letzte) {
            neueSeite();
            neueSeiteOffen = true;
          }
        }
      }
      Druckauftrag_beenden();
    }
    return true;
  });
}

void Monatsraster_drucken() {
  Monatsdruckquelle& q = quelle();
  const Raster& wochen = q.Kalenderwochen();
  const Raster& gitter = q.Monatsraster();
  Schreibe_Text(2.38 - gSeite.hVerschiebung, gSeite.aktZeile + 0.85, Monatsname(q.Monat() + 1) + u' ' + q.Jahr(),
                QStringLiteral("italic, NoCr"));
  if (gBenutzerwerte[29] == 1) {
    const double zeile = gSeite.aktZeile;
    int a = 1;
    const int jahr = 2000 + gMonatsschlüssel.left(2).toInt(), monat = gMonatsschlüssel.mid(2, 2).toInt();
    for (int d = 1; d <= gMonatstage; ++d) {
      const QString kw = wochen.Cols() > d ? wochen.TextMatrix(0, d) : QString();
      const QString nächste = wochen.Cols() > d + 1 ? wochen.TextMatrix(0, d + 1) : QString();
      if (kw != nächste || d == gMonatstage) {
        Setze_Hintergrund(tagX(a), zeile - 0.08, 0.63 * (d - a + 1) + 0.03, 0.59, gGrundfarben[5]);
        const bool montagAmEnde = d == gMonatstage && QDate(jahr, monat, d).dayOfWeek() == 1;
        if (!montagAmEnde) Schreibe_Text(textX(a) - 0.22, zeile, kw, QStringLiteral("transparent, NoCr"));
        a = d + 1;
      }
    }
    Leerzeile(gSeite.aktZeile + 0.15);
  }
  const double zeile = gSeite.aktZeile;
  for (int d = 1; d <= gMonatstage; ++d) {
    Farbwert farbe = gGrundfarben[5];
    if (gFerienIndex != 0 && gFerienIndex < gFerientage.size() && gFerientage[gFerienIndex].mid(d + 4, 1) == u"1")
      farbe = gFerienfarbe;
    Setze_Hintergrund(tagX(d), zeile - 0.08, 0.66, 1.01, farbe);
  }
  for (int d = 1; d <= gMonatstage; ++d)
    Schreibe_Text(textX(d), zeile, gitter.TextMatrix(0, d).left(2), QStringLiteral("transparent, zentriert, NoCr"));
  Leerzeile(gSeite.aktZeile + 0.03);
  const double zeile2 = gSeite.aktZeile;
  for (int d = 1; d <= gMonatstage; ++d)
    Schreibe_Text(textX(d), zeile2, QString::number(d), QStringLiteral("transparent, zentriert, NoCr"));
  Leerzeile(gSeite.aktZeile + 0.18);
}

void Mitarbeiterzeile_drucken(const Raster& raster, int r) {
  const double zeile = gSeite.aktZeile;
  const double h = gSeite.hVerschiebung;
  Setze_Hintergrund(2.3 - h, zeile - 0.1, 5.53, 0.59, raster.CellBackColor(r, 0).value_or(raster.BackColorFixed()));
  Schreibe_Text(2.38 - h, zeile, Text_kürzen(raster.TextMatrix(r, 0), 5.53), QStringLiteral("transparent, NoCr"));
  for (int d = 1; d <= gMonatstage; ++d) {
    const std::optional<Farbwert> hinten = raster.CellBackColor(r, d);
    const QString text = raster.TextMatrix(r, d);
    Farbwert farbe = hinten.value_or(gGrundfarben[1]);
    if (text.isEmpty() && hinten == gGrundfarben[8] &&
        gMonatsschlüssel + QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0')) == gHeuteText)
      farbe = gGrundfarben[1];
    Setze_Hintergrund(tagX(d), zeile - 0.1, 0.66, 0.59, farbe);
    gDruckfarbe = raster.CellForeColor(r, d).value_or(0);
    Schreibe_Text(textX(d), zeile, text, QStringLiteral("transparent, zentriert, NoCr"));
    gDruckfarbe = 0;
  }
  Leerzeile(gSeite.aktZeile + 0.15);
}
