#include "planner/Markierung.h"

#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Logbuch.h"
#include "startup/Start.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {
Gemerkte_Markierung mMarkierung;
int mHighlightZelle = 0;

void Markierung_zurücksetzen() {
  gMauszelle = 0;
  mMarkierung = {};
  mHighlightZelle = 0;
}
VELKORA_ZUSTAND(Markierung_zurücksetzen);

// The grid column of the last day a row holds.
constexpr int kLetzterTag = 31;
// Column of the Windows user name; empty on heading rows.
constexpr int kBenutzerspalte = 32;

Raster* monatsraster() {
  frmVelkora* f = frmVelkora::instanz();
  return f && f->msgFlexGrid ? &f->msgFlexGrid->raster() : nullptr;
}

int Hervorhebungsmodus() { return gBenutzerwerte[22]; }
bool Tagessummen_gezeigt() { return gBenutzerwerte[25] == 1; }
bool Überschriften_hervorgehoben() { return gBenutzerwerte[26] == 1; }
Farbwert Farbe(int nummer) { return gGrundfarben[nummer]; }

bool Überschriftszeile(const Raster& g, int r) {
  return g.Cols() > kBenutzerspalte && g.TextMatrix(r, kBenutzerspalte).isEmpty();
}
bool Kopf_leer(const Raster& g, int tag) { return g.TextMatrix(0, tag).isEmpty(); }

// Today's column as the month display paints it (not in highlight mode 3).
bool Heute_angezeigt(int tag) {
  return Setting(9) == 0 && gHeuteText.left(4) == gMonatsschlüssel && gHeute.isValid() && tag == gHeute.day();
}

// The school-holiday flag of a day of the shown month.
bool Ferientag(int tag) {
  if (gFerienIndex < 1 || gFerienIndex >= gFerientage.size()) return false;
  const QString& eintrag = gFerientage[gFerienIndex];
  return tag + 4 < eintrag.size() && eintrag[tag + 4] == u'1';
}

void Markierung_setzen(Raster& g, int spalte, int zeile, int spalteEnde, int zeileEnde) {
  g.setCol(spalte);
  g.setRow(zeile);
  g.setColSel(spalteEnde);
  g.setRowSel(zeileEnde);
}

// The first row from which the saved rows stand together again; -1 when nowhere.
int Zeilen_finden(const Raster& g, const QStringList& schlüssel, int bisher) {
  const int n = static_cast<int>(schlüssel.size());
  const auto passt = [&](int anfang) {
    if (anfang < 0 || anfang + n > g.Rows()) return false;
    for (int i = 0; i < n; ++i)
      if (Zeilenschlüssel(anfang + i) != schlüssel[i]) return false;
    return true;
  };
  if (passt(bisher)) return bisher;
  for (int anfang = 0; anfang + n <= g.Rows(); ++anfang)
    if (passt(anfang)) return anfang;
  return -1;
}
}  // namespace

Gemerkte_Markierung& gemerkteMarkierung() { return mMarkierung; }

int Highlight_Zelle() { return mHighlightZelle; }

bool Markierung_sichtbar() {
  const Raster* g = monatsraster();
  return g && g->HighLight() != 0;
}

QString Zeilenschlüssel(int zeile) {
  const Raster* g = monatsraster();
  if (!g || zeile < 0 || zeile >= g->Rows()) return {};
  if (zeile == 0) return QStringLiteral("\x1e");
  const QString benutzer = g->Cols() > kBenutzerspalte ? g->TextMatrix(zeile, kBenutzerspalte) : QString();
  if (!benutzer.isEmpty()) return benutzer.toLower();
  return QStringLiteral("\x1f") + g->TextMatrix(zeile, 0);
}

void Markierung_aufheben() {
  Prozedur(QStringLiteral("frmVelkora - Markierung_aufheben"), [&] {
    Raster* g = monatsraster();
    if (!g) return;
    g->setRedraw(false);
    g->setCol(0);
    g->setRow(0);
    g->setHighLight(0);
    if (!gLogbuchPuffern) g->setRedraw(true);
  });
}

void Markierung_merken() {
  Prozedur(QStringLiteral("frmVelkora - Markierung_merken"), [&] {
    Raster* g = monatsraster();
    if (!g) return;
    mMarkierung.links = std::min(g->Col(), g->ColSel());
    mMarkierung.rechts = std::max(g->Col(), g->ColSel());
    mMarkierung.oben = std::min(g->Row(), g->RowSel());
    mMarkierung.unten = std::max(g->Row(), g->RowSel());
    mMarkierung.zeilen.clear();
    for (int r = mMarkierung.oben; r <= mMarkierung.unten; ++r) mMarkierung.zeilen.append(Zeilenschlüssel(r));
  });
}

bool Markierung_wiederherstellen() {
  return Prozedur(QStringLiteral("frmVelkora - Markierung_wiederherstellen"), [&] {
    Raster* g = monatsraster();
    if (!g) return false;
    Gemerkte_Markierung& m = mMarkierung;
    const bool keine = m.oben == 0 && m.unten == 0 && m.links == 0 && m.rechts == 0;
    int oben = m.oben;
    if (!keine) {
      // Rows saved without their keys (set by a caller) are taken as they are.
      oben = m.zeilen.isEmpty() ? m.oben : Zeilen_finden(*g, m.zeilen, m.oben);
      const int unten = oben + (m.unten - m.oben);
      if (oben < 0 || unten >= g->Rows() || m.links < 0 || m.rechts >= g->Cols()) {
        Markierung_aufheben();
        return false;
      }
    }
    g->setRedraw(false);
    Markierung_setzen(*g, m.links, oben, m.rechts, oben + (m.unten - m.oben));
    g->setRedraw(true);
    // The saved marking follows its rows, so that it can be put back again.
    m.unten = oben + (m.unten - m.oben);
    m.oben = oben;
    return true;
  });
}

void Markierung_beibehalten(const std::function<void()>& neuLaden) {
  Raster* g = monatsraster();
  if (!g) {
    neuLaden();
    return;
  }
  const int hervorhebung = g->HighLight();
  Markierung_merken();
  neuLaden();
  if (Markierung_wiederherstellen()) g->setHighLight(hervorhebung);
}

void Markierung_und_Highlight_Off() {
  Prozedur(QStringLiteral("frmVelkora - Markierung_und_Highlight_Off"), [&] {
    Markierung_aufheben();
    if (Hervorhebungsmodus() > 1) Highlight_Off();
  });
}

void Highlight_On(int zeile, int spalte) {
  Prozedur(QStringLiteral("frmVelkora - Highlight_On"), [&] {
    frmVelkora* f = frmVelkora::instanz();
    if (!f || zeile == 0) return;
    Raster& g = f->msgFlexGrid->raster();
    if (zeile < 0 || zeile >= g.Rows() || spalte < 0 || spalte >= g.Cols()) return;
    // The marking as it is, current cell first; the highlight removes it for a moment.
    const int spalteJetzt = g.Col(), spalteEnde = g.ColSel(), zeileJetzt = g.Row(), zeileEnde = g.RowSel();
    if (mHighlightZelle > 0) Highlight_Off();
    g.setRedraw(false);
    g.setCellBackColor(zeile, 0, Farbe(7));
    const bool überschrift = Überschriftszeile(g, zeile);
    for (int d = 1; d <= kLetzterTag && d < g.Cols(); ++d) {
      if (g.TextMatrix(zeile, d).isEmpty()) {
        g.setCellBackColor(zeile, d, Farbe(8));
        if (CheckWochenende(d)) g.setCellBackColor(zeile, d, Farbe(2));
        if (CheckFeiertag(d)) g.setCellBackColor(zeile, d, Farbe(3));
        if (Kopf_leer(g, d)) g.setCellBackColor(zeile, d, Farbe(8));
      }
      if (überschrift && Überschriften_hervorgehoben()) g.setCellBackColor(zeile, d, Farbe(5));
    }
    // A column after the month's last day highlights the row only.
    if (Kopf_leer(g, spalte)) spalte = 0;
    if (Hervorhebungsmodus() == 3 && spalte >= 1 && spalte <= kLetzterTag) {
      g.setCellBackColor(0, spalte, Farbe(7));
      for (int r = 1; r < g.Rows(); ++r) {
        if (g.TextMatrix(r, spalte).isEmpty()) g.setCellBackColor(r, spalte, Farbe(8));
        if (Überschriftszeile(g, r) && Überschriften_hervorgehoben()) g.setCellBackColor(r, spalte, Farbe(5));
      }
      if (Tagessummen_gezeigt() && f->msgFlexTaSu) {
        Raster& ts = f->msgFlexTaSu->raster();
        ts.setRedraw(false);
        for (int r = 1; r < ts.Rows(); ++r)
          if (spalte < ts.Cols()) ts.setCellBackColor(r, spalte, Farbe(8));
        ts.setRedraw(true);
      }
    }
    if (spalteJetzt == 0 && zeileJetzt == 0) {
      Markierung_aufheben();
    } else {
      g.setRedraw(false);
      Markierung_setzen(g, spalteJetzt, zeileJetzt, spalteEnde, zeileEnde);
    }
    g.setRedraw(true);
    mHighlightZelle = zeile * 32 + spalte;
  });
}

void Highlight_Off() {
  Prozedur(QStringLiteral("frmVelkora - Highlight_Off"), [&] {
    frmVelkora* f = frmVelkora::instanz();
    if (!f || mHighlightZelle == 0) return;
    Raster& g = f->msgFlexGrid->raster();
    const int zeile = mHighlightZelle / 32, spalte = mHighlightZelle % 32;
    g.setRedraw(false);
    // The grid may have been rebuilt with fewer rows since the row was highlighted.
    if (zeile >= 1 && zeile < g.Rows()) {
      const bool überschrift = Überschriftszeile(g, zeile);
      g.setCellBackColor(zeile, 0, Farbe(überschrift ? 5 : 4));
      for (int d = 1; d <= kLetzterTag && d < g.Cols(); ++d) {
        if (g.TextMatrix(zeile, d).isEmpty()) {
          g.setCellBackColor(zeile, d, Farbe(1));
          if (Heute_angezeigt(d) && Hervorhebungsmodus() != 3) g.setCellBackColor(zeile, d, Farbe(8));
          if (CheckWochenende(d)) g.setCellBackColor(zeile, d, Farbe(2));
          if (CheckFeiertag(d)) g.setCellBackColor(zeile, d, Farbe(3));
          if (Kopf_leer(g, d)) g.setCellBackColor(zeile, d, Farbe(1));
        }
        if (überschrift && Überschriften_hervorgehoben()) g.setCellBackColor(zeile, d, Farbe(5));
      }
    }
    if (Hervorhebungsmodus() == 3 && spalte >= 1 && spalte <= kLetzterTag && spalte < g.Cols()) {
      g.setCellBackColor(0, spalte, Heute_angezeigt(spalte) ? std::optional<Farbwert>(Farbe(7)) : std::nullopt);
      const bool wochenende = CheckWochenende(spalte), feiertag = CheckFeiertag(spalte);
      for (int r = 1; r < g.Rows(); ++r) {
        if (g.TextMatrix(r, spalte).isEmpty()) {
          g.setCellBackColor(r, spalte, Farbe(1));
          if (wochenende) g.setCellBackColor(r, spalte, Farbe(2));
          if (feiertag) g.setCellBackColor(r, spalte, Farbe(3));
        }
        if (Überschriftszeile(g, r) && Überschriften_hervorgehoben()) g.setCellBackColor(r, spalte, Farbe(5));
      }
      if (gFerienIndex >= 1)
        for (int d = 1; d <= kLetzterTag && d < g.Cols(); ++d)
          if (Ferientag(d)) g.setCellBackColor(0, d, gFerienfarbe);
      // Today's header keeps the colour of today, as the month display gives it,
      // also on a school-holiday day.
      if (Heute_angezeigt(spalte)) g.setCellBackColor(0, spalte, Farbe(7));
      if (Tagessummen_gezeigt() && f->msgFlexTaSu) {
        Raster& ts = f->msgFlexTaSu->raster();
        ts.setRedraw(false);
        for (int r = 1; r < ts.Rows(); ++r) {
          if (spalte >= ts.Cols()) break;
          ts.setCellBackColor(r, spalte, Farbe(1));
          if (wochenende) ts.setCellBackColor(r, spalte, Farbe(2));
          if (feiertag) ts.setCellBackColor(r, spalte, Farbe(3));
        }
        ts.setRedraw(true);
      }
    }
    Markierung_aufheben();
    mHighlightZelle = 0;
  });
}

QString Mehrzeilige_Markierung_Meldung() {
  const Raster* g = monatsraster();
  if (!g || g->Row() == g->RowSel()) return {};
  if (Setting(44) != 1 && gBenutzerstufe != 0) return {};
  return QStringLiteral("Die Markierung darf sich ") +
         (gBenutzerstufe == 0 ? QStringLiteral("nur bei Administratoren") : QStringLiteral("nicht")) +
         QStringLiteral(" über mehr als eine Zeile erstrecken");
}
