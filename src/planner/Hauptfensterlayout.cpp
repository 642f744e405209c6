#include "planner/Hauptfensterlayout.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "planner/Monatsanzeige.h"
#include "platform/Bildschirm.h"
#include "platform/Zustand.h"
#include "widgets/Rasteransicht.h"

namespace {
void Zustand_zurücksetzen() {
  gBildschirmDPI = 96;
  gSkalierung = 1.0;
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

int runden(double v) { return static_cast<int>(std::lround(v)); }

// Buttons per row of the narrow layout.
std::vector<int> Knopfreihen(int n) {
  if (n < 7) return {n};
  if (n == 7) return {3, 4};
  if (n <= 9) return {4, n - 4};
  if (n <= 11) return {5, n - 5};
  if (n == 12) return {6, 6};
  if (n == 13) return {7, 6};
  if (n <= 18) return {6, 6, n - 12};
  return {6, 6, 6, std::min(n, 25) - 18};
}
}  // namespace

double Skalierung_aus_DPI(int dpi) {
  if (dpi <= 0) dpi = 96;
  const double t = 1440.0 / dpi;
  return 2.0 - std::floor(t) / t;
}

Layoutergebnis Hauptfenster_anordnen(const Layouteingabe& e) {
  Layoutergebnis r;
  const int n = std::clamp(e.knöpfe, 0, 25);
  const int h = e.tagessummenHöhe;
  int sf = e.sfBreite > 0 ? e.sfBreite : 1800;
  const int S = 720 * n + 1245;

  for (int versuch = 0; versuch < 2; ++versuch) {
    r = Layoutergebnis{};
    r.sfBreite = sf;
    r.mindestBreite = 13980;
    r.mindestHöhe = 2955 + h;
    int b = e.innenBreite, hö = e.innenHöhe;
    if (e.normalZustand) {
      b = std::max(b, r.mindestBreite);
      hö = std::max(hö, r.mindestHöhe);
    }
    r.breit = b >= 16050 && (S <= hö || b >= 18090);
    int rasterBreite = 0;
    if (r.breit) {
      const bool eineSpalte = S <= hö;
      r.knopfspalten = eineSpalte ? 1 : 2;
      int x;
      if (eineSpalte) {
        rasterBreite = runden((b - sf - 750) * e.skalierung);
        x = b - sf - 255;
      } else {
        rasterBreite = runden((b - 2 * sf - 990) * e.skalierung);
        x = b - 2 * (sf + 255);
      }
      r.tabellenhöhe = hö - 720;
      const int proSpalte = eineSpalte ? n : static_cast<int>(n / 2.0 + 0.5);
      int letzteOben = 0;
      for (int i = 0; i < n; ++i) {
        const int spalte = i < proSpalte ? 0 : 1;
        const int reihe = i - spalte * proSpalte;
        const int oben = 480 + 720 * reihe;
        letzteOben = std::max(letzteOben, oben);
        r.knopf.emplace_back(x + spalte * (sf + 255), oben, sf, 495);
      }
      r.beenden = QRect(b - sf - 255, hö - 765, sf, 495);
      if (n > 0) r.mindestHöhe = std::max(r.mindestHöhe, letzteOben + 1485);
    } else {
      const std::vector<int> reihen = Knopfreihen(n);
      const int k = static_cast<int>(reihen.size());
      r.knopfspalten = k;
      static const int kHöhe[] = {2955, 3555, 4185, 4815};
      static const int kTabelle[] = {1480, 2080, 2710, 3340};
      static const int kOben[] = {765, 1395, 2025, 2655};
      r.mindestHöhe = std::max(r.mindestHöhe, kHöhe[k - 1] + h);
      rasterBreite = runden((b - 480) * e.skalierung);
      r.tabellenhöhe = hö - kTabelle[k - 1];
      const int ersteOben = hö - kOben[k - 1];
      int längste = 0;
      for (int reihe = 0; reihe < k; ++reihe) {
        längste = std::max(längste, reihen[reihe]);
        for (int spalte = 0; spalte < reihen[reihe]; ++spalte)
          r.knopf.emplace_back(255 + spalte * (sf + 150), ersteOben + 630 * reihe, sf, 495);
      }
      const int letzteReiheOben = ersteOben + 630 * (k - 1);
      int letzteReihe = reihen.back();
      if (n == 25) --letzteReihe;  // the erase button moves above "Beenden"
      const bool freiAmEnde = letzteReihe < längste;
      // "Beenden" takes the free place at the end of the last row, or the place right
      // of the widest row; at the right edge when the window leaves room there.
      int links = 255 + (freiAmEnde ? letzteReihe : längste) * (sf + 150);
      links = std::max(links, b - sf - 255);
      r.beenden = QRect(links, letzteReiheOben, sf, 495);
      if (n == 25) r.knopf[24] = QRect(links, hö - 1395, sf, 495);
      if (sf > 1800 && n > 0) {
        const int rechtsLinks = 255 + (längste - 1) * (sf + 150);
        int nötig = rechtsLinks + 2 * sf + 405;
        if (freiAmEnde) nötig -= sf + 150;
        if (b < nötig && e.bildschirmBreite < nötig) {
          // The screen cannot hold buttons this wide.
          sf = 1800;
          continue;
        }
        r.mindestBreite = std::max(r.mindestBreite, nötig);
      }
    }
    r.innenBreite = b;
    r.innenHöhe = hö;
    if (e.normalZustand) {
      r.innenBreite = std::max(b, r.mindestBreite);
      r.innenHöhe = std::max(hö, r.mindestHöhe);
      if (r.innenBreite != b || r.innenHöhe != hö) {
        // Lay out again for the size the window is held at.
        Layouteingabe neu = e;
        neu.innenBreite = r.innenBreite;
        neu.innenHöhe = r.innenHöhe;
        neu.sfBreite = sf;
        return Hauptfenster_anordnen(neu);
      }
    }
    r.namensspalte = runden(rasterBreite / 4.5);
    r.tagesspalte = (rasterBreite - r.namensspalte) / 31;
    r.zweizeiligerKopf = r.tagesspalte > 360;
    if (e.kalenderwochen) {
      r.raster = QRect(240, 765, rasterBreite, 0);
      r.kalenderwochen = QRect(240, 465, rasterBreite, 300);
      r.kombiOben = 900;
      r.tabellenhöhe -= 300;
    } else {
      r.raster = QRect(240, 465, rasterBreite, 0);
      r.kombiOben = 600;
    }
    if (h == 0) r.tabellenhöhe = runden(r.tabellenhöhe * e.skalierung);
    r.raster.setHeight(std::max(r.tabellenhöhe, 0));
    break;
  }
  return r;
}

Tabellenergebnis Tabellenhöhen_berechnen(const Tabelleneingabe& e) {
  Tabellenergebnis r;
  const double px = e.twipsProPixel > 0 ? e.twipsProPixel : 15;
  const auto aufPixel = [px](double twips) { return static_cast<int>(std::floor(twips / px) * px); };
  const int datenzeilen = std::max(e.zeilen - 1, 0);
  const int zeilen = datenzeilen + e.summenzeilen;
  int höhe = e.zeilenhöhe > 0 ? e.zeilenhöhe : 300;
  if (e.neuBerechnen && !e.zurücksetzen && zeilen > 0) {
    // Rows grow to fill the room, never below the user's height and never higher
    // than a day column is wide, so cells stay at most square.
    // With day sums the frames of both grids come off the room too.
    const int rahmen = e.summenzeilen > 0 ? 2 * e.rahmen : 0;
    const int proZeile = aufPixel(static_cast<double>(e.tabellenhöhe - e.kopfhöhe - rahmen) / zeilen);
    höhe = std::max(höhe, proZeile);
    höhe = std::min(höhe, aufPixel(e.tagesspalte - px));
    if (e.summenzeilen == 0) {
      const int rest = e.tabellenhöhe - e.kopfhöhe - datenzeilen * höhe;
      if (rest >= 0 && rest < 75) höhe -= static_cast<int>(px);
    }
    höhe = std::max(höhe, static_cast<int>(px));
  }
  r.zeilenhöhe = höhe;
  if (e.summenzeilen > 0) {
    r.summenhöhe = e.summenzeilen * höhe + e.rahmen;
    const int zeilenRaum = e.kopfhöhe + datenzeilen * höhe + e.rahmen;
    r.rasterhöhe = std::max(std::min(zeilenRaum, e.tabellenhöhe - r.summenhöhe), 0);
    r.summenOben = r.rasterhöhe;
  } else {
    r.rasterhöhe = std::max(e.tabellenhöhe, 0);
  }
  return r;
}

bool Einzeiliger_Tageskopf_passt(const QFont& schrift, int spaltePixel) {
  const QFontMetrics m(schrift);
  const int platz = Rasteransicht::textfläche(QRect(0, 0, spaltePixel, 100)).width();
  // January 2024 begins on a Monday: its days give every weekday with one and with
  // two digits.
  for (int tag = 1; tag <= 31; ++tag)
    if (m.horizontalAdvance(Tageskopf(2024, 1, tag, false)) > platz) return false;
  return true;
}

int Kopfzeilenhöhe(const QFont& schrift, bool zweizeilig) {
  const QFontMetrics m(schrift);
  const int zeilen = zweizeilig ? 2 : 1;
  // The text, the grid line below it and a pixel of air.
  const int pixel = zeilen * m.lineSpacing() + 3;
  return std::max(540, static_cast<int>(std::lround(bildschirm::pixelZuTwips(pixel))));
}
