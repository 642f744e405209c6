#pragma once
// The employee editor's tests: a started program's state with an employee table, and
// the real editor shown, active and driven by keys.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "common/Testumgebung.h"
#include "people/Tasteneingabe.h"
#include "people/frmMitarbeiter.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

class Mitarbeitereditor : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gDatumstrennzeichen = QStringLiteral(".");
    gDatumsreihenfolge = 1;
    gDezimaltrennzeichen = QStringLiteral(",");
    gSettings = Standardeinstellungen();
    gPlanungsjahr = 2025;
    gBenutzerstufe = 2;
    gUrlaubsjahrBeginn = 1;
    gKennzeile = kKennzeile;
    gSFUrlaubHalb = 0;
    // Colours 1 white, 5 light grey, 9 light yellow.
    gGrundfarben.fill(0xFFFFFF);
    gGrundfarben[5] = 0xC0C0C0;
    gGrundfarben[9] = 0xC0FFFF;
    mitarbeiter(0);
  }
  void TearDown() override {
    editor.reset();
    VelkoraTest::TearDown();
  }

  // n employees "Name 001" .. with user names "ma001" ..; 0: "NoNames".
  static void mitarbeiter(int n) {
    Mitarbeitertabelle_dimensionieren(std::max(n, 1));
    if (n == 0) {
      gMitarbeiterNamen[1] = QStringLiteral("NoNames");
      return;
    }
    for (int i = 1; i <= n; ++i) {
      gMitarbeiterNamen[i] = QStringLiteral("Name %1").arg(i, 3, 10, QChar(u'0'));
      gBenutzerIDs[i] = QStringLiteral("ma%1").arg(i, 3, 10, QChar(u'0'));
      gEintrittsdaten[i] = QStringLiteral("000000");
      gAustrittsdaten[i] = QStringLiteral("999999");
      gUrlaubsdaten[i] = QStringLiteral("000,0:030,0:030,0:000,0:000,0");
      gSonderurlaubsanspruch[i] = QStringLiteral("000,0");
    }
  }
  // A heading in row i of the table.
  static void überschrift(int i, const QString& text) {
    gMitarbeiterNamen[i] = text;
    gBenutzerIDs[i].clear();
    gEintrittsdaten[i].clear();
    gAustrittsdaten[i].clear();
    gUrlaubsdaten[i].clear();
    gSonderurlaubsanspruch[i].clear();
  }

  frmMitarbeiter& öffnen() {
    editor = std::make_unique<frmMitarbeiter>();
    editor->show();
    QApplication::setActiveWindow(editor.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    return *editor;
  }
  QStringList meldungen() const {
    QStringList r;
    for (const QString& t : skript->texte()) r << t;
    return r;
  }

  std::unique_ptr<frmMitarbeiter> editor;
};
