#pragma once
// The loaded main window over the planner fixture, worked as a user would: drags over
// the month grid, clicks with the right button and Shift or Ctrl, code buttons, month
// and year tabs, keys.
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "planner/Aenderungspruefung.h"
#include "planner/Planerdaten.h"
#include "startup/Dateizugriff.h"
#include "widgets/Rasteransicht.h"

namespace planer {

class FensterbedienungTest : public PlanerFensterTest {
 protected:
  frmVelkora& laden() {
    Mitarbeiterdaten_schreiben();
    gMitarbeiterdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
    fensterLaden();
    fenster->änderungsprüfung().zustand = [] { return Tickzustand{}; };
    fenster->resize(1400, 700);
    fenster->show();
    QApplication::setActiveWindow(fenster.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    return *fenster;
  }
  Raster& raster() { return fenster->msgFlexGrid->raster(); }
  QWidget* vp() { return fenster->msgFlexGrid->viewport(); }
  int zeile(const QString& benutzer) {
    for (int r = 1; r < raster().Rows(); ++r)
      if (raster().TextMatrix(r, 32) == benutzer) return r;
    return 0;
  }
  QPoint punkt(int r, int c) {
    fenster->msgFlexGrid->zeileZeigen(r);
    return fenster->msgFlexGrid->zellenRechteck(r, c).center();
  }
  void bewegen(const QPoint& p, Qt::MouseButtons knöpfe) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), vp()->mapToGlobal(QPointF(p)), Qt::NoButton, knöpfe, Qt::NoModifier);
    QApplication::sendEvent(vp(), &e);
  }
  // Press on the first cell, move with the button held to the last, release there.
  void ziehen(int r, int von, int bis, int rBis = -1) {
    const QPoint a = punkt(r, von), b = punkt(rBis < 0 ? r : rBis, bis);
    bewegen(a, Qt::NoButton);
    QTest::mousePress(vp(), Qt::LeftButton, {}, a);
    bewegen(b, Qt::LeftButton);
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, b);
  }
  void rechtsklick(int r, int c, Qt::KeyboardModifiers tasten) {
    const QPoint p = punkt(r, c);
    bewegen(p, Qt::NoButton);
    QTest::mouseClick(vp(), Qt::RightButton, tasten, p);
  }
  void kopieren(int r, int c) { rechtsklick(r, c, Qt::ControlModifier); }
  void einfügen(int r, int c) { rechtsklick(r, c, Qt::ShiftModifier); }
  void knopf(int n) { QTest::mouseClick(fenster->cmdAuswahl[n], Qt::LeftButton); }
  void eintragen(int r, int von, int bis, int n) {
    ziehen(r, von, bis);
    knopf(n);
  }
  void monat(int i) {
    QTest::mouseClick(fenster->tabMonate, Qt::LeftButton, {}, fenster->tabMonate->tabRect(i).center());
  }
  void jahr(int i) { QTest::mouseClick(fenster->tabJahre, Qt::LeftButton, {}, fenster->tabJahre->tabRect(i).center()); }
  void strg(Qt::Key taste) { QTest::keyClick(fenster->msgFlexGrid, taste, Qt::ControlModifier); }
  void undo() { strg(Qt::Key_Z); }
  void redo() { strg(Qt::Key_Y); }

  // The newest version of a month (yymm) and the last line of a user in it.
  QString monatsdatei(const QString& monat) {
    const QStringList dateien = Dateiliste(gDatenordner, monat + QStringLiteral(" *Data.dat"));
    return dateien.isEmpty() ? QString() : gDatenordner + dateien.last();
  }
  QString letzteZeile(const QString& monat, const QString& benutzer) {
    const QString datei = monatsdatei(monat);
    if (datei.isEmpty()) return {};
    QString gefunden;
    for (const QString& z : dekodierteZeilen(datei))
      if (z.startsWith(QStringLiteral("A:") + benutzer + u':')) gefunden = z.mid(3 + benutzer.size());
    return gefunden;
  }
  QStringList logbuch(const QString& monat = QStringLiteral("2603")) {
    const QString pfad = gLogordner + monat + QStringLiteral(" Velkora.log");
    return QFile::exists(pfad) ? dekodierteZeilen(pfad) : QStringList{};
  }
};

}  // namespace planer
