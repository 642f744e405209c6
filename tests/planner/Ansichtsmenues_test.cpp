// The overviews with the main window: reached from its menu, showing its comment box.
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "common/Ansichtsdaten.h"
#include "common/Modaldialog.h"
#include "planner/Kommentare.h"
#include "planner/frmVelkora.h"
#include "platform/Programmende.h"
#include "views/frmLogbuch.h"
#include "views/frmSummenuebersicht.h"

namespace {
using namespace ansichten;

// The logbook viewer with the main window's comment box, as the program wires it.
class LogbuchTest : public AnsichtTest {
 protected:
  void SetUp() override {
    AnsichtTest::SetUp();
    gAnsichtshaken.kommentar_anzeigen = [](QWidget* f, const QString& t, int s, int z) {
      Kommentar_anzeigen(f, t, s, z);
    };
    setzeSetting(3, '0');
    setzeSetting(28, '0');
  }
  static void setzeSetting(int position, char wert) { gSettings[position - 1] = QChar(wert); }
  void logbuch(const QString& name, const QStringList& zeilen) { schreiben(gLogordner + name, kodiert(zeilen)); }
};

QString benutzerzeile(const QString& datum, const QString& von, const QString& für, const QString& eintrag) {
  return datum + QStringLiteral(" 09:15:00|") + von + u'|' + für + u'|' + eintrag + QStringLiteral("|010326|050326");
}

TEST_F(LogbuchTest, MenuepunktOeffnetDasLogbuch) {
  logbuch(QStringLiteral("2603 Velkora.log"), {benutzerzeile("02.03.26", "tester", "anna", "Urlaub")});
  Hauptfenster_laden();
  std::unique_ptr<frmVelkora> haupt(frmVelkora::instanz());
  haupt->show();
  QAction* a = haupt->aktion(QStringLiteral("mnuLogbuch"));
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->isEnabled());
  QString titel;
  beimDialog<frmLogbuch>([&](frmLogbuch& f) {
    // The first activation fills the grid right after the window shows.
    for (int i = 0; i < 200 && f.msgFlexGrid->raster().Rows() < 2; ++i) QTest::qWait(10);
    titel = f.windowTitle();
    QTest::keyClick(&f, Qt::Key_Escape);
  });
  a->trigger();
  EXPECT_EQ(titel, u"Velkora - Logbuch - 1 Datensatz");
  EXPECT_EQ(offeneDialoge<frmLogbuch>(), 0);
  haupt.reset();
  programmende::setzeEntladen(nullptr);
}

// With the main window's comment box the name over a user name stands beside its cell
// once the pointer has rested there, and goes when the pointer leaves it.
TEST_F(LogbuchTest, NameErscheintImKommentarfeldDesHauptfenstersNebenDerZelle) {
  logbuch(QStringLiteral("2603 Velkora.log"), {benutzerzeile("02.03.26", "tester", "anna", "U")});
  frmLogbuch f;
  f.Form_Load();
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  f.activateWindow();
  QTRY_VERIFY(f.isActiveWindow());
  f.msgFlexGrid->zeileZeigen(1);
  const QRect zelle = f.msgFlexGrid->zellenRechteck(1, 3);
  QTest::mouseMove(f.msgFlexGrid->viewport(), zelle.center());
  EXPECT_FALSE(f.picKommentar->isVisible()) << "the box waits for the pointer to rest";
  QTRY_VERIFY(f.picKommentar->isVisible());
  EXPECT_EQ(f.lblKommentar->text(), u"Meier Anna");
  const QRect imFenster =
      zelle.translated(f.msgFlexGrid->viewport()->mapTo(f.picKommentar->parentWidget(), QPoint(0, 0)));
  EXPECT_FALSE(f.picKommentar->geometry().intersects(imFenster.adjusted(1, 1, -1, -1))) << "the cell stays readable";
  QTest::mouseMove(f.msgFlexGrid->viewport(), f.msgFlexGrid->zellenRechteck(1, 1).center());
  EXPECT_FALSE(f.picKommentar->isVisible());
}

class SummenTest : public AnsichtTest {};

TEST_F(SummenTest, MenuepunktOeffnetSieUndDasHauptfensterNimmtSeineGruppeZurueck) {
  gAnzeigegruppen = QStringList{QString(), QStringLiteral("Alle|Verwaltung:Lager:"), QStringLiteral("Lager|Lager:")};
  gAnzeigegruppe = 0;
  Hauptfenster_laden();
  std::unique_ptr<frmVelkora> haupt(frmVelkora::instanz());
  haupt->resize(1100, 700);
  haupt->show();
  QAction* a = haupt->aktion(QStringLiteral("mnuSummenübersicht"));
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->isEnabled());
  bool gesehen = false;
  beimDialog<frmSummenuebersicht>([&](frmSummenuebersicht& f) {
    gesehen = true;
    EXPECT_EQ(f.msgFlexGrid->raster().TextMatrix(0, 0), u"Name");
    f.cmbMitarbeitergruppen->setCurrentIndex(1);
    emit f.cmbMitarbeitergruppen->activated(1);
    EXPECT_EQ(gAnzeigegruppe, 1);
    f.cmdAuswahl[3]->click();
  });
  a->trigger();
  EXPECT_TRUE(gesehen);
  EXPECT_EQ(gAnzeigegruppe, 0) << "the main window's own choice again";
  haupt.reset();
  programmende::setzeEntladen(nullptr);
}

}  // namespace
