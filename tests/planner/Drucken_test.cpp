// Printing from the main window: the menu item and the three print keys reach the
// print dialog, which prints the shown month from the window's own grids.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "common/Modaldialog.h"
#include "planner/Planerdaten.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "printing/frmDrucken.h"
#include "widgets/Rasteransicht.h"

namespace planer {
namespace {

struct Aufzeichnungsdrucker : Druckziel {
  std::vector<std::shared_ptr<Aufzeichnung>>* aufträge;
  QString name() const override { return QStringLiteral("Laser"); }
  std::shared_ptr<Druckfläche> auftrag(bool quer) override {
    auto a = std::make_shared<Aufzeichnung>();
    a->quer = quer;
    aufträge->push_back(a);
    return a;
  }
};

class DruckenTest : public PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    gDruckersystem.drucker = [] { return QStringList{QStringLiteral("Laser")}; };
    gDruckersystem.standarddrucker = [] { return QStringLiteral("Laser"); };
    gDruckersystem.ziel = [this](const QString&, const QString&) -> std::unique_ptr<Druckziel> {
      auto z = std::make_unique<Aufzeichnungsdrucker>();
      z->aufträge = &aufträge;
      return z;
    };
  }
  // A key pressed on the month grid, as the user does.
  void taste(frmVelkora& f, Qt::Key k, Qt::KeyboardModifiers m) { QTest::keyClick(f.msgFlexGrid, k, m); }
  std::vector<std::shared_ptr<Aufzeichnung>> aufträge;
};

TEST_F(DruckenTest, MenuepunktDrucktDenGezeigtenMonat) {
  frmVelkora& f = fensterLaden();
  QAction* drucken = f.aktion(QStringLiteral("mnuDrucken"));
  ASSERT_TRUE(drucken->isEnabled());
  beimDialog<frmDrucken>([](frmDrucken& d) { d.cmdAuswahl[1]->click(); });
  drucken->trigger();
  EXPECT_EQ(gDruckauftrag, QStringLiteral("ME"));
  ASSERT_EQ(aufträge.size(), 1u);
  const Aufzeichnung& a = *aufträge[0];
  EXPECT_TRUE(a.quer);
  EXPECT_NE(a.suche(QStringLiteral("März 2026")), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("Meier Anna")), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("Verwaltung")), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("Seite 1")), nullptr);
  // Anna's vacation on the 2nd prints in the vacation colour.
  const auto* u = a.suche(QStringLiteral("U"));
  ASSERT_NE(u, nullptr);
  bool farbe = false;
  for (const auto& e : a.einträge) farbe |= e.art == Aufzeichnung::Kasten && e.farbe == kUrlaub;
  EXPECT_TRUE(farbe);
  EXPECT_TRUE(f.msgFlexGrid->raster().Redraw());
  // Ctrl+P prints the same.
  gDruckauftrag.clear();
  beimDialog<frmDrucken>([](frmDrucken& d) { d.cmdAuswahl[1]->click(); });
  taste(f, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(gDruckauftrag, QStringLiteral("ME"));
  EXPECT_EQ(aufträge.size(), 2u);
}

TEST_F(DruckenTest, AltPDrucktSofortUndLeertTag) {
  frmVelkora& f = fensterLaden();
  taste(f, Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(f.Tag, QString());
  EXPECT_EQ(aufträge.size(), 1u);
  EXPECT_EQ(offeneDialoge<frmDrucken>(), 0);
}

TEST_F(DruckenTest, StrgUmschaltPDrucktAlleMonate) {
  frmVelkora& f = fensterLaden();
  const int monat = f.tabMonate->currentIndex();
  QString frage, auftrag;
  beimDialog<frmDrucken>([&](frmDrucken& d) {
    frage = d.lblBeschriftung[2]->text();
    auftrag = gDruckauftrag;
    d.cmdAuswahl[1]->click();
  });
  taste(f, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(auftrag, QStringLiteral("MG"));
  EXPECT_EQ(frage, QStringLiteral("Alle Monate des Jahres 2026 drucken?"));
  ASSERT_EQ(aufträge.size(), 12u);
  EXPECT_NE(aufträge[0]->suche(QStringLiteral("Januar 2026")), nullptr);
  EXPECT_NE(aufträge[11]->suche(QStringLiteral("Dezember 2026")), nullptr);
  EXPECT_EQ(f.tabMonate->currentIndex(), monat);
  EXPECT_EQ(gMonatsschlüssel, QStringLiteral("2603"));
}

}  // namespace
}  // namespace planer
