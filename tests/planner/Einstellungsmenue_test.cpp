// The settings dialog reached from the main window's menu.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "config/frmEinstellungen.h"
#include "planner/Planerdaten.h"
#include "store/Konfigdaten.h"

namespace {
using namespace planer;

class EinstellungenTest : public PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    gBenutzerstufe = 2;
  }
};

TEST_F(EinstellungenTest, HauptfensterOeffnetFuerJedenUndAktiviertDieMenuesNeu) {
  gBenutzerstufe = 0;
  fensterLaden();
  fenster->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fenster.get()));
  QAction* menü = fenster->aktion(QStringLiteral("mnuEinstellungen"));
  ASSERT_TRUE(menü->isEnabled());
  bool gesehen = false;
  QTimer::singleShot(0, [&] {
    auto* e = dynamic_cast<frmEinstellungen*>(QApplication::activeModalWidget());
    ASSERT_NE(e, nullptr);
    gesehen = true;
    EXPECT_EQ(e->windowTitle(), QStringLiteral("Velkora - Einstellungen"));
    // Another user's choice reaches the memory only; the menus follow it.
    e->SetSetting(17, 0);
    e->cmdAuswahl[3]->click();
  });
  EXPECT_FALSE(fenster->aktion(QStringLiteral("mnuAnzeigegruppen"))->isVisible());
  menü->trigger();
  EXPECT_TRUE(gesehen);
  EXPECT_TRUE(fenster->aktion(QStringLiteral("mnuAnzeigegruppen"))->isVisible());
}

}  // namespace
