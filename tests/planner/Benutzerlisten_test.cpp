// Bearbeiten - Administratoren and - Privilegierte Benutzer open the user list dialog
// in their mode; after it closes the main window does nothing more.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "people/frmAdmins.h"
#include "planner/Planerdaten.h"
#include "store/Konfigdaten.h"

namespace {
using namespace planer;

class BenutzerlistenTest : public PlanerFensterTest {};

TEST_F(BenutzerlistenTest, BeideMenuepunkteOeffnenDenDialogInIhremModus) {
  gBenutzerstufe = 2;
  SetSetting(11, 1);
  fensterLaden();
  fenster->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fenster.get()));
  struct Fall {
    const char* menüpunkt;
    const char* tag;
    QString titel;
    QString ersteZeile;
  };
  const Fall fälle[] = {
      {"mnuAdministratoren", "A", QStringLiteral("Velkora - Administratoren"), QStringLiteral("<Name Vorname>")},
      {"mnuPrivilegierteBenutzer", "P", QStringLiteral("Velkora - Privilegierte Benutzer"), QString()},
  };
  for (const Fall& fall : fälle) {
    SCOPED_TRACE(fall.menüpunkt);
    QAction* a = fenster->aktion(QString::fromUtf8(fall.menüpunkt));
    ASSERT_TRUE(a->isEnabled());
    bool gesehen = false;
    QTimer::singleShot(0, [&] {
      auto* d = dynamic_cast<frmAdmins*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      gesehen = true;
      EXPECT_EQ(d->windowTitle(), fall.titel);
      EXPECT_EQ(d->txtName[1]->text(), fall.ersteZeile);
      EXPECT_EQ(fenster->Tag, QString::fromUtf8(fall.tag));
      d->cmdAuswahl[3]->click();
    });
    a->trigger();
    EXPECT_TRUE(gesehen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

}  // namespace
