#include "planner/Mausrad.h"

#include <QPointer>
#include <QScrollBar>
#include <algorithm>

#include "platform/Zustand.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

bool gMausradAktiv = false;

namespace {
QPointer<Rasteransicht> gMausradFenster;
QPointer<QWidget> gMausradBesitzer;

void Zustand_zurücksetzen() {
  UnHook();
  gMausradFenster = nullptr;
  gMausradBesitzer = nullptr;
  gMausradAktiv = false;
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);
}  // namespace

Rasteransicht* Mausrad_Fenster() { return gMausradFenster.data(); }

void Hook(QWidget& fenster, Rasteransicht& grid) {
  if (gMausradAktiv && gMausradFenster == &grid) return;
  if (gBenutzerwerte[34] != 0) return;
  if (grid.objectName() != u"msgFlexGrid" || !fenster.isAncestorOf(&grid)) return;
  if (gMausradFenster && gMausradFenster != &grid) UnHook();
  grid.beiRad = [](int stufen) { MouseWheel(stufen); };
  gMausradFenster = &grid;
  gMausradBesitzer = &fenster;
  gMausradAktiv = true;
}

void UnHook() {
  if (!gMausradAktiv) return;
  if (gMausradFenster) gMausradFenster->beiRad = nullptr;
  gMausradFenster = nullptr;
  gMausradBesitzer = nullptr;
  gMausradAktiv = false;
}

bool ScrollbarIsVisible(QWidget& fenster, Rasteransicht& grid) {
  const QScrollBar* v = grid.verticalScrollBar();
  const bool sichtbar = grid.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff && v && v->maximum() > v->minimum();
  if (sichtbar)
    Hook(fenster, grid);
  else
    UnHook();
  return sichtbar;
}

void MouseWheel(int stufen) {
  try {
    Rasteransicht* grid = gMausradFenster.data();
    if (!grid) return;
    // The comment box of the window goes with the first wheel step.
    if (gMausradBesitzer)
      if (auto* box = gMausradBesitzer->findChild<QWidget*>(QStringLiteral("picKommentar"))) box->hide();
    Raster& g = grid->raster();
    // One row per notch; the grid keeps its first visible row where it cannot go further.
    const int ziel = g.TopRow() - stufen;
    if (stufen > 0 && g.TopRow() > g.FixedRows()) g.setTopRow(std::max(ziel, g.FixedRows()));
    if (stufen < 0 && g.TopRow() < g.Rows() - 1) g.setTopRow(std::min(ziel, g.Rows() - 1));
  } catch (...) {
  }
}
