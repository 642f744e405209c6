#include "planner/Tabellenmaus.h"

#include <QApplication>
#include <QFrame>

#include "planner/Aenderungspruefung.h"
#include "planner/Ansichtsbefehle.h"
#include "planner/Arbeitsfrei.h"
#include "planner/Kommentare.h"
#include "planner/Markierung.h"
#include "planner/Mausrad.h"
#include "planner/Monatsanzeige.h"
#include "planner/Zwischenablage.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {
// The wheel was taken from the grid while another window was in front.
bool mMausradPausiert = false;
// The left button went down on the grid and is not up yet: a marking is being dragged.
bool mZiehen = false;

void Tabellenmaus_zurücksetzen() {
  mMausradPausiert = false;
  mZiehen = false;
}
VELKORA_ZUSTAND(Tabellenmaus_zurücksetzen);

constexpr int kLinks = 1;
constexpr int kRechts = 2;
constexpr int kUmschalt = 1;
constexpr int kStrg = 2;

int Hervorhebungsmodus() { return gBenutzerwerte[22]; }
bool Mausrad_erlaubt() { return gBenutzerwerte[34] == 0; }

bool Mitarbeiterzeile(const Raster& g, int r) {
  return r >= 1 && r < g.Rows() && g.Cols() > 32 && !g.TextMatrix(r, 32).isEmpty();
}

bool Ferientag(int tag) {
  if (gFerienIndex < 1 || gFerienIndex >= gFerientage.size()) return false;
  const QString& eintrag = gFerientage[gFerienIndex];
  return tag + 4 < eintrag.size() && eintrag[tag + 4] == u'1';
}
}  // namespace

void Tabellenmaus_verbinden(frmVelkora& f) {
  f.msgFlexGrid->beiMouseDown = [&f](const Rasteransicht::Mausereignis& m) {
    msgFlexGrid_MouseDown(f, m.knopf, m.umschalt);
  };
  f.msgFlexGrid->beiMouseMove = [&f](const Rasteransicht::Mausereignis& m) {
    msgFlexGrid_MouseMove(f, m.knopf, m.umschalt);
  };
  f.msgFlexGrid->beiMouseUp = [&f](const Rasteransicht::Mausereignis& m) {
    msgFlexGrid_MouseUp(f, m.knopf, m.umschalt);
  };
  f.msgFlexGrid->beiDblClick = [&f] { msgFlexGrid_DblClick(f); };
  f.msgFlexGrid->raster().beiScroll = [&f] { msgFlexGrid_Scroll(f); };
  f.msgFlexGrid->raster().beiRowColChange = [&f] { msgFlexGrid_RowColChange(f); };
  f.msgFlexKaWo->beiClick = [] {
    Prozedur(QStringLiteral("frmVelkora - msgFlexKaWo_Click"), [] { Markierung_und_Highlight_Off(); });
  };
  f.msgFlexTaSu->beiClick = [] {
    Prozedur(QStringLiteral("frmVelkora - msgFlexTaSu_Click"), [] { Markierung_und_Highlight_Off(); });
  };
}

void msgFlexGrid_MouseMove(frmVelkora& f, int knopf, int) {
  Prozedur(QStringLiteral("frmVelkora - msgFlexGrid_MouseMove"), [&] {
    Raster& g = f.msgFlexGrid->raster();
    const int zeile = g.MouseRow(), spalte = g.MouseCol();
    if (!f.isActiveWindow()) {
      if (Mausrad_erlaubt() && !mMausradPausiert) {
        UnHook();
        mMausradPausiert = true;
      }
      f.mImHintergrund = true;
      return;
    }
    if (mMausradPausiert) {
      mMausradPausiert = false;
      ScrollbarIsVisible(f, *f.msgFlexGrid);
    }
    // Back in front: the user may have been away for long, so the polling runs at its
    // fast rate again.
    if (f.mImHintergrund) {
      f.mImHintergrund = false;
      f.änderungsprüfung().zurücksetzen();
    }
    if (Mausrad_erlaubt() && QApplication::focusWidget() != f.msgFlexGrid) f.msgFlexGrid->setFocus();
    const int zelle = zeile * 32 + spalte;
    if (zelle == gMauszelle) return;
    gMauszelle = zelle;
    const int modus = Hervorhebungsmodus();
    if (modus == 2 || modus == 3) {
      if ((!Markierung_sichtbar() || (knopf & kLinks)) && Highlight_Zelle() != zelle) Highlight_On(zeile, spalte);
      if (zeile == 0 && !Markierung_sichtbar()) Highlight_Off();
    }
    if (knopf == 0 && spalte >= 1 && spalte <= 31) {
      if (zeile >= 1) {
        const QString kommentar = gKommentarMarken.text(zeile, spalte);
        if (!kommentar.isEmpty()) {
          if (modus == 2 || modus == 3) {
            f.msgFlexGrid->viewport()->repaint();
            f.msgFlexTaSu->viewport()->repaint();
          }
          Kommentar_anzeigen(&f, kommentar, spalte, zeile);
          return;
        }
      } else {
        if (CheckFeiertag(spalte)) {
          Feiertag_anzeigen();
          return;
        }
        if (Ferientag(spalte)) {
          Kommentar_anzeigen(&f, QStringLiteral("Ferientag"), spalte, zeile);
          return;
        }
      }
    }
    f.picKommentar->hide();
  });
}

void msgFlexGrid_MouseDown(frmVelkora& f, int knopf, int umschalt) {
  Prozedur(QStringLiteral("frmVelkora - msgFlexGrid_MouseDown"), [&] {
    Raster& g = f.msgFlexGrid->raster();
    const int zeile = g.MouseRow(), spalte = g.MouseCol();
    // Alt plays no part; Shift and Ctrl count only alone.
    const int tasten = umschalt & (kUmschalt | kStrg);
    f.picKommentar->hide();
    mZiehen = knopf == kLinks;
    if (zeile == 0) Markierung_und_Highlight_Off();
    if (knopf == kRechts) {
      if (spalte == 0) return;
      if (zeile == 0) {
        if (tasten == kUmschalt || tasten == kStrg) Wofeiausn_bearbeiten(tasten, spalte);
        return;
      }
      if (tasten == kUmschalt) {
        Eintrag_einfügen();
        return;
      }
      if (tasten == kStrg) {
        Eintrag_kopieren();
        return;
      }
      if (tasten != 0) return;
      if (!Markierung_sichtbar()) {
        g.setRow(zeile);
        g.setCol(spalte);
      }
      g.setRedraw(false);
      Kommentar_hinzufügen();
      g.setRedraw(true);
      return;
    }
    const int modus = Hervorhebungsmodus();
    if ((modus == 2 || modus == 3) && Markierung_sichtbar() && Highlight_Zelle() != gMauszelle)
      Highlight_On(zeile, spalte);
    if (spalte == 0) {
      if (modus == 1 && Mitarbeiterzeile(g, zeile)) Highlight_On(zeile, 0);
      // A click on a name removes the marking.
      Markierung_aufheben();
    }
  });
}

void msgFlexGrid_MouseUp(frmVelkora& f, int, int) {
  Prozedur(QStringLiteral("frmVelkora - msgFlexGrid_MouseUp"), [&] {
    Raster& g = f.msgFlexGrid->raster();
    mZiehen = false;
    if (Hervorhebungsmodus() == 1) Highlight_Off();
    // A drag into the name column stops at day 1.
    if (g.HighLight() != 0 && g.ColSel() == 0 && g.Cols() > 1) g.setColSel(1);
  });
}

void msgFlexGrid_DblClick(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - msgFlexGrid_DblClick"), [&] {
    const Raster& g = f.msgFlexGrid->raster();
    const int zeile = g.MouseRow(), spalte = g.MouseCol();
    if (zeile >= 1 && spalte >= 1 && spalte <= 31) {
      Arbeitsfrei_kennzeichnen();
      return;
    }
    if (gBenutzerstufe == 0 && !gIstMitarbeiter) return;
    if (spalte == 0 && Mitarbeiterzeile(g, zeile)) Jahresübersicht_anzeigen(f, g.TextMatrix(zeile, 32));
  });
}

void msgFlexGrid_Scroll(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - msgFlexGrid_Scroll"), [&] {
    // While the user drags a marking past the edge the grid scrolls under it; the
    // marking being made must not vanish then.
    if (mZiehen) return;
    const Raster& g = f.msgFlexGrid->raster();
    if (!g.RowIsVisible(g.Row())) Markierung_aufheben();
  });
}

void msgFlexGrid_RowColChange(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - msgFlexGrid_RowColChange"), [&] {
    Raster& g = f.msgFlexGrid->raster();
    g.setHighLight(g.MouseRow() == 0 ? 0 : 1);
  });
}
