// The code-button editor reached from the main window's menu.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "config/frmAnAbwesenheitsgruende.h"
#include "planner/Planerdaten.h"
#include "store/Konfigdaten.h"

namespace {
using namespace planer;

class MenueTest : public PlanerFensterTest {};

TEST_F(MenueTest, NurAdministratorenAngeboten) {
  gBenutzerstufe = 0;
  fensterLaden();
  EXPECT_FALSE(fenster->aktion(QStringLiteral("mnuAnAbwesenheitsgründe"))->isEnabled());
  fenster.reset();
  gBenutzerstufe = 2;
  fensterLaden();
  EXPECT_TRUE(fenster->aktion(QStringLiteral("mnuAnAbwesenheitsgründe"))->isEnabled());
}

TEST_F(MenueTest, ImEditorHinzugefuegteSchaltflaecheStehtDanachInDerLeiste) {
  gBenutzerstufe = 2;
  SetSetting(39, 1);
  fensterLaden();
  fenster->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fenster.get()));
  bool gesehen = false;
  QTimer::singleShot(0, [&] {
    auto* e = dynamic_cast<frmAnAbwesenheitsgruende*>(QApplication::activeModalWidget());
    ASSERT_NE(e, nullptr);
    gesehen = true;
    e->txtBuchst[7]->setText(QStringLiteral("H"));
    e->txtCaption[7]->setText(QStringLiteral("Homeoffice"));
    e->cmdAuswahl[3]->click();
  });
  fenster->aktion(QStringLiteral("mnuAnAbwesenheitsgründe"))->trigger();
  EXPECT_TRUE(gesehen);
  EXPECT_EQ(Schaltflächen_Anzahl(), 8);
  EXPECT_EQ(fenster->cmdAuswahl[7]->text(), QStringLiteral("Homeoffice"));
  EXPECT_FALSE(fenster->cmdAuswahl[7]->isHidden());
  EXPECT_EQ(fenster->cmdAuswahl[8]->text(), QStringLiteral("Löschen"));
}

}  // namespace
