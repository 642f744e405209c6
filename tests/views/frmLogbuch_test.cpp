#include "views/frmLogbuch.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <string>
#include <utility>
#include <vector>

#include "common/Ansichtsdaten.h"
#include "common/Testnamen.h"
#include "platform/Bildschirm.h"
#include "platform/Dialoge.h"
#include "printing/Logbuchdruck.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"

namespace {
using namespace ansichten;

// Today is 12.03.26: the viewer opens on 10.02.26 to 12.03.26.
class LogbuchTest : public AnsichtTest {
 protected:
  void SetUp() override {
    AnsichtTest::SetUp();
    // The main window's comment box (its own tests are the planner's) stands in: the
    // text at once in the window's box, the cell it was asked for kept.
    gAnsichtshaken.kommentar_anzeigen = [this](QWidget* f, const QString& t, int s, int z) {
      kommentarzelle = {z, s};
      f->findChild<QLabel*>(QStringLiteral("lblKommentar"))->setText(t);
      f->findChild<QFrame*>(QStringLiteral("picKommentar"))->show();
    };
    setzeSetting(3, '0');
    setzeSetting(28, '0');
  }
  void logbuch(const QString& name, const QStringList& zeilen) { schreiben(gLogordner + name, kodiert(zeilen)); }
  std::unique_ptr<frmLogbuch> öffnen() {
    auto f = std::make_unique<frmLogbuch>();
    f->Form_Load();
    f->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    QApplication::processEvents();
    return f;
  }
  static void setzeSetting(int position, char wert) { gSettings[position - 1] = QChar(wert); }
  static QStringList spalte(const Raster& g, int c) {
    QStringList r;
    for (int z = 1; z < g.Rows(); ++z) r << g.TextMatrix(z, c);
    return r;
  }
  static QPoint mitte(frmLogbuch& f, int r, int c) {
    f.msgFlexGrid->zeileZeigen(r);
    return f.msgFlexGrid->zellenRechteck(r, c).center();
  }
  static void klick(frmLogbuch& f, int r, int c, Qt::KeyboardModifiers m = {}, Qt::MouseButton k = Qt::LeftButton) {
    QTest::mouseClick(f.msgFlexGrid->viewport(), k, m, mitte(f, r, c));
  }
  std::pair<int, int> kommentarzelle{-1, -1};  // (row, column) of the last comment box
};

QString benutzerzeile(const QString& datum, const QString& von, const QString& für, const QString& eintrag,
                      const QString& kommentar = QString()) {
  return datum + QStringLiteral(" 09:15:00|") + von + u'|' + für + u'|' + eintrag + QStringLiteral("|010326|050326") +
         (kommentar.isNull() ? QString() : u'|' + kommentar);
}
QString adminzeile(const QString& datum, const QString& von, const QString& text) {
  return datum + QStringLiteral(" 10:00:00|") + von + QStringLiteral("|VelkoraAdmin|") + text;
}

TEST_F(LogbuchTest, ZeigtDasBenutzerlogbuchDerLetzten30TageMitAnzahlImTitel) {
  logbuch(QStringLiteral("2602 Velkora.log"), {benutzerzeile("09.02.26", "tester", "anna", "Urlaub"),
                                               benutzerzeile("10.02.26", "tester", "anna", "Urlaub", "Arzt")});
  logbuch(QStringLiteral("2603 Velkora.log"),
          {adminzeile("01.03.26", "chef", "Feiertage neu: x"), benutzerzeile("12.03.26", "vera", "vera", "Krank")});
  const auto f = öffnen();
  EXPECT_TRUE(f->optLogbuch[1]->isChecked());
  EXPECT_EQ(f->txtVonDatum->text(), u"10.02.26");
  EXPECT_EQ(f->txtBisDatum->text(), u"12.03.26");
  EXPECT_EQ(zeilen(f->msgFlexGrid->raster()),
            (QStringList{"10.02.26|09:15|tester|anna|Urlaub|01.03.26 - 05.03.26|Arzt|",
                         "12.03.26|09:15|vera|vera|Krank|01.03.26 - 05.03.26||"}));
  EXPECT_EQ(f->windowTitle(), u"Velkora - Logbuch - 2 Datensätze");
  EXPECT_TRUE(f->cmdAuswahl[2]->isEnabled());
  // The filter boxes list the names once, the empty item first.
  ASSERT_EQ(f->cmbBenutzerID1->count(), 3);
  EXPECT_EQ(f->cmbBenutzerID1->itemText(1), u"tester");
  EXPECT_EQ(f->cmbBenutzerID1->itemText(2), u"vera");
  EXPECT_EQ(f->cmbBenutzerID3->itemText(1), u"chef");
  EXPECT_TRUE(f->cmbBenutzerID1->currentText().isEmpty());
}

// Date and period texts are built once per value and shared: each row still shows its
// own, also when the dates run back and forth and a period comes again.
TEST_F(LogbuchTest, DatumUndZeitraumJeZeileAuchAusserDerReihe) {
  logbuch(QStringLiteral("2603 Velkora.log"), {QStringLiteral("11.03.26 09:15:00|tester|anna|Urlaub|010326|050326"),
                                               QStringLiteral("10.03.26 09:16:00|tester|bea|Urlaub|020326|050326"),
                                               QStringLiteral("11.03.26 09:17:00|vera|anna|Krank|010326|050326|a"),
                                               QStringLiteral("10.03.26 09:18:00|tester|bea|Urlaub|050326|010326"),
                                               QStringLiteral("10.03.26 09:19:00|tester|bea|Urlaub|010326|050326")});
  const auto f = öffnen();
  EXPECT_EQ(zeilen(f->msgFlexGrid->raster()), (QStringList{"11.03.26|09:15|tester|anna|Urlaub|01.03.26 - 05.03.26||",
                                                           "10.03.26|09:16|tester|bea|Urlaub|02.03.26 - 05.03.26||",
                                                           "11.03.26|09:17|vera|anna|Krank|01.03.26 - 05.03.26|a|",
                                                           "10.03.26|09:18|tester|bea|Urlaub|05.03.26 - 01.03.26||",
                                                           "10.03.26|09:19|tester|bea|Urlaub|01.03.26 - 05.03.26||"}));
  ASSERT_EQ(f->cmbBenutzerID2->count(), 3);
  EXPECT_EQ(f->cmbBenutzerID2->itemText(1), u"anna");
  EXPECT_EQ(f->cmbBenutzerID2->itemText(2), u"bea");
}

TEST_F(LogbuchTest, OhneLogbuchSchliesstSichDasFenster) {
  auto f = std::make_unique<frmLogbuch>();
  f->Form_Load();
  f->show();
  QTRY_VERIFY(!f->isVisible());
  EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Kein Logbuch vorhanden")});
}

// Settings position 3 against the user level.
struct Rechtefall {
  char stelle3;
  int stufe;
  bool admin;   // the administration log may be chosen
  bool filter;  // the user filters may be used
};
class LogbuchRechteTest : public LogbuchTest, public ::testing::WithParamInterface<Rechtefall> {};

TEST_P(LogbuchRechteTest, AdministrationslogbuchUndFilter) {
  const Rechtefall& r = GetParam();
  setzeSetting(3, r.stelle3);
  gBenutzerstufe = r.stufe;
  logbuch(QStringLiteral("2603 Velkora.log"),
          {benutzerzeile("02.03.26", "chef", "tester", "Urlaub"), benutzerzeile("03.03.26", "chef", "anna", "Urlaub")});
  const auto f = öffnen();
  EXPECT_EQ(f->optLogbuch[2]->isEnabled(), r.admin);
  EXPECT_EQ(f->cmbBenutzerID1->isEnabled(), r.filter);
  EXPECT_EQ(f->cmbBenutzerID2->isEnabled(), r.filter);
  const bool eigene = r.stelle3 == '2' && r.stufe == 0;
  EXPECT_EQ(f->cmbBenutzerID2->currentText(), eigene ? u"tester" : u"");
  EXPECT_EQ(spalte(f->msgFlexGrid->raster(), 3), eigene ? QStringList{"tester"} : (QStringList{"tester", "anna"}));
}

INSTANTIATE_TEST_SUITE_P(
    Logbuch, LogbuchRechteTest,
    ::testing::Values(Rechtefall{'0', 0, true, true}, Rechtefall{'1', 0, false, true}, Rechtefall{'2', 0, false, false},
                      Rechtefall{'2', 1, true, true}, Rechtefall{'1', 2, true, true}),
    [](const auto& info) {
      return testname(
          QStringLiteral("Stelle3 %1 Stufe %2").arg(QChar::fromLatin1(info.param.stelle3)).arg(info.param.stufe));
    });

TEST_F(LogbuchTest, VerborgenerCodeAndererNurFuerDieAdministration) {
  gSFVerborgen = 5;
  const QString krank = gSFTexte[5];
  logbuch(QStringLiteral("2603 Velkora.log"), {benutzerzeile("02.03.26", "chef", "tester", krank),
                                               benutzerzeile("03.03.26", "chef", "anna", krank.toUpper()),
                                               benutzerzeile("04.03.26", "chef", "anna", "Urlaub")});
  gBenutzerstufe = 0;
  {
    const auto f = öffnen();
    EXPECT_EQ(spalte(f->msgFlexGrid->raster(), 0), (QStringList{"02.03.26", "04.03.26"}));
  }
  gBenutzerstufe = 2;
  const auto f = öffnen();
  EXPECT_EQ(spalte(f->msgFlexGrid->raster(), 0), (QStringList{"02.03.26", "03.03.26", "04.03.26"}));
}

TEST_F(LogbuchTest, BereichOhneZeilenMeldetKeinEintragUndSperrtDasDrucken) {
  logbuch(QStringLiteral("2601 Velkora.log"), {benutzerzeile("05.01.26", "tester", "anna", "Urlaub")});
  const auto f = öffnen();
  const Raster& g = f->msgFlexGrid->raster();
  ASSERT_EQ(g.Rows(), 2);
  for (int c = 0; c < g.Cols(); ++c) EXPECT_EQ(g.TextMatrix(1, c), u"Kein Eintrag vorhanden");
  EXPECT_TRUE(g.MergeRow(1));
  EXPECT_TRUE(f->Kein_Eintrag());
  EXPECT_EQ(skript->pieptöne, 1);
  EXPECT_FALSE(f->cmdAuswahl[2]->isEnabled());
  EXPECT_EQ(f->windowTitle(), u"Velkora - Logbuch");
  // A range that holds it shows it; choosing the view again goes back to 30 days.
  f->txtVonDatum->setText(QStringLiteral("01.01.26"));
  EXPECT_EQ(spalte(g, 0), QStringList{"05.01.26"});
  EXPECT_EQ(f->windowTitle(), u"Velkora - Logbuch - 1 Datensatz");
  EXPECT_TRUE(f->cmdAuswahl[2]->isEnabled());
  f->optLogbuch[1]->click();
  EXPECT_EQ(f->txtVonDatum->text(), u"10.02.26");
  EXPECT_TRUE(f->Kein_Eintrag());
}

TEST_F(LogbuchTest, AdministrationslogbuchZeigtPaareAlsEineZeile) {
  const QString vorspann(50, u'0');
  logbuch(QStringLiteral("2603 Velkora.log"),
          {adminzeile("02.03.26", "chef", "Feiertage alt: 260101"),
           adminzeile("02.03.26", "chef", "Feiertage neu: 260101|260319"),
           adminzeile("03.03.26", "chef", "Mitarbeiter neu: " + vorspann + "Erika Muster:emuster"),
           benutzerzeile("04.03.26", "tester", "anna", "Urlaub"), QStringLiteral("kaputt")});
  for (const char stelle28 : {'0', '1'}) {
    setzeSetting(28, stelle28);
    const auto f = öffnen();
    f->optLogbuch[2]->click();
    EXPECT_TRUE(f->cmbBenutzerID1->isHidden());
    EXPECT_FALSE(f->cmbBenutzerID3->isHidden());
    const Raster& g = f->msgFlexGrid->raster();
    EXPECT_EQ(g.TextMatrix(0, 2), u"Benutzer");
    for (int c = 3; c <= 6; ++c) EXPECT_EQ(g.ColWidth(c), 0);
    EXPECT_EQ(spalte(g, 7), (QStringList{"Feiertage geändert",
                                         stelle28 == '0' ? "Mitarbeiter neu - Erika Muster, emuster"
                                                         : "Mitarbeiter neu - Erika Muster",
                                         "Fehlerhafter Logbucheintrag: kaputt"}));
    EXPECT_EQ(spalte(g, 0), (QStringList{"02.03.26", "03.03.26", "04.03.26"}));
    EXPECT_EQ(f->CSV_Titel(), u"Administrationslogbuch");
  }
}

// The columns have their fixed widths in both logs and the text column takes the rest
// of the grid, at the smallest and at a large window size.
TEST_F(LogbuchTest, SpaltenbreitenBeiKleinemUndGrossemFenster) {
  logbuch(QStringLiteral("2603 Velkora.log"),
          {benutzerzeile("02.03.26", "tester", "anna", "Urlaub"), adminzeile("02.03.26", "chef", "Feiertage neu: 1")});
  const auto f = öffnen();
  for (const QSize größe : {f->minimumSize(), QSize(1600, 1000)}) {
    f->resize(größe);
    QApplication::processEvents();
    for (const int log : {1, 2}) {
      SCOPED_TRACE(std::to_string(größe.width()) + " " + std::to_string(log));
      f->optLogbuch[log]->click();
      QApplication::processEvents();
      if (const QString ziel = qEnvironmentVariable("VELKORA_BILDER"); !ziel.isEmpty())
        f->grab().save(QDir(ziel).filePath(QStringLiteral("Logbuch-%1-%2.png").arg(log).arg(größe.width())));
      const Raster& g = f->msgFlexGrid->raster();
      const std::vector<int> fest =
          log == 1 ? std::vector<int>{900, 630, 1440, 1440, 1560, 1740} : std::vector<int>{900, 630, 1440, 0, 0, 0, 0};
      for (std::size_t c = 0; c < fest.size(); ++c) EXPECT_EQ(g.ColWidth(static_cast<int>(c)), fest[c]) << c;
      const int rest = log == 1 ? 6 : 7;
      EXPECT_EQ(g.ColWidth(log == 1 ? 7 : 6), 0);
      int summe = 0;
      for (int c = 0; c < g.Cols(); ++c) summe += g.ColWidth(c);
      // Up to the grid's inner width, a scroll bar's room left free.
      const double innen = bildschirm::pixelZuTwips(f->msgFlexGrid->viewport()->width());
      EXPECT_LE(summe, innen) << rest;
      EXPECT_GE(summe, innen - 60) << rest;
    }
  }
}

TEST_F(LogbuchTest, DruckenSetztDenAuftragDerGewaehltenAnsicht) {
  logbuch(QStringLiteral("2603 Velkora.log"),
          {benutzerzeile("02.03.26", "tester", "anna", "Urlaub"), adminzeile("02.03.26", "chef", "Feiertage neu: 1")});
  QStringList aufträge;
  gAnsichtshaken.druckdialog = [&](QWidget* w) {
    auto* f = dynamic_cast<frmLogbuch*>(w);
    ASSERT_NE(f, nullptr);
    aufträge << gDruckauftrag + u':' + QString::number(f->Raster_anzeige().Rows() - 1);
  };
  const auto f = öffnen();
  f->cmdAuswahl[2]->click();
  f->optLogbuch[2]->click();
  QTest::keyClick(f->msgFlexGrid, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(aufträge, (QStringList{"LB:1", "LA:1"}));
  ASSERT_TRUE(gLogbuchdruckquelle.gitter);
  EXPECT_EQ(&gLogbuchdruckquelle.gitter(), &f->Raster_anzeige()) << "the printout reads the shown grid";
}

TEST_F(LogbuchTest, DatumssortierungNachJahrMonatTag) {
  logbuch(QStringLiteral("2512 Velkora.log"), {benutzerzeile("31.12.25", "tester", "anna", "B")});
  logbuch(QStringLiteral("2602 Velkora.log"), {benutzerzeile("01.02.26", "tester", "anna", "A")});
  const auto f = öffnen();
  f->txtVonDatum->setText(QStringLiteral("01.12.25"));
  const Raster& g = f->msgFlexGrid->raster();
  klick(*f, 0, 4);
  EXPECT_EQ(spalte(g, 4), (QStringList{"A", "B"}));
  klick(*f, 0, 0);
  EXPECT_EQ(spalte(g, 0), (QStringList{"31.12.25", "01.02.26"}));
  klick(*f, 0, 0);
  EXPECT_EQ(spalte(g, 0), (QStringList{"01.02.26", "31.12.25"})) << "the second click sorts the newest first";
  klick(*f, 0, 0);
  EXPECT_EQ(spalte(g, 0), (QStringList{"31.12.25", "01.02.26"}));
}

TEST_F(LogbuchTest, DoppelklickBehaeltStrgKlickEntferntGleicheZeilen) {
  logbuch(QStringLiteral("2603 Velkora.log"),
          {benutzerzeile("02.03.26", "tester", "anna", "U"), benutzerzeile("03.03.26", "tester", "vera", "U"),
           benutzerzeile("04.03.26", "tester", "ANNA", "U"), benutzerzeile("05.03.26", "tester", "carla", "U")});
  const auto f = öffnen();
  const Raster& g = f->msgFlexGrid->raster();
  QTest::mouseDClick(f->msgFlexGrid->viewport(), Qt::LeftButton, {}, mitte(*f, 1, 3));
  EXPECT_EQ(spalte(g, 3), (QStringList{"anna", "ANNA"}));
  EXPECT_EQ(f->windowTitle(), u"Velkora - Logbuch - 2 Datensätze");
  klick(*f, 1, 3, Qt::ControlModifier);
  EXPECT_EQ(spalte(g, 3), QStringList{"anna"}) << "one row always stays";
  EXPECT_EQ(f->windowTitle(), u"Velkora - Logbuch - 1 Datensatz");

  f->cmdAuswahl[1]->click();
  ASSERT_EQ(g.Rows(), 5);
  klick(*f, 2, 3, Qt::ControlModifier);
  EXPECT_EQ(spalte(g, 3), (QStringList{"anna", "ANNA", "carla"}));
}

TEST_F(LogbuchTest, RechtsklickZeigtNurEinenZuBreitenKommentar) {
  logbuch(QStringLiteral("2603 Velkora.log"),
          {benutzerzeile("02.03.26", "tester", "anna", "U", "kurz"),
           benutzerzeile("03.03.26", "tester", "anna", "U",
                         QString(40, u'x') + QStringLiteral(" lang ") + QString(40, u'y'))});
  const auto f = öffnen();
  klick(*f, 1, 6, {}, Qt::RightButton);
  EXPECT_TRUE(skript->protokoll.empty());
  klick(*f, 2, 6, {}, Qt::RightButton);
  EXPECT_EQ(skript->texte(), std::vector<QString>{QString(40, u'x') + QStringLiteral(" lang ") + QString(40, u'y')});
}

TEST_F(LogbuchTest, NameErscheintUeberDemBenutzernamen) {
  logbuch(QStringLiteral("2603 Velkora.log"), {benutzerzeile("02.03.26", "tester", "anna", "U")});
  const auto f = öffnen();
  f->activateWindow();
  QTRY_VERIFY(f->isActiveWindow());
  QTest::mouseMove(f->msgFlexGrid->viewport(), mitte(*f, 1, 3));
  QTRY_VERIFY(f->picKommentar->isVisible());
  EXPECT_EQ(f->lblKommentar->text(), u"Meier Anna");
  EXPECT_EQ(kommentarzelle, (std::pair{1, 3}));
  // The box stands right of the cell: the pointer goes left.
  QTest::mouseMove(f->msgFlexGrid->viewport(), mitte(*f, 1, 1));
  EXPECT_FALSE(f->picKommentar->isVisible());
}

TEST_F(LogbuchTest, FilterboxVervollstaendigtEinenEindeutigenAnfang) {
  logbuch(QStringLiteral("2603 Velkora.log"),
          {benutzerzeile("02.03.26", "bloch", "anna", "U"), benutzerzeile("03.03.26", "bkraft", "vera", "U")});
  const auto f = öffnen();
  f->cmbBenutzerID1->setFocus();
  QTest::keyClick(f->cmbBenutzerID1, Qt::Key_B);
  EXPECT_EQ(f->cmbBenutzerID1->currentText(), u"b");
  EXPECT_EQ(f->msgFlexGrid->raster().Rows(), 3);
  QTest::keyClick(f->cmbBenutzerID1, Qt::Key_K);
  EXPECT_EQ(f->cmbBenutzerID1->currentText(), u"bkraft");
  EXPECT_EQ(f->cmbBenutzerID1->lineEdit()->selectedText(), u"raft");
  EXPECT_EQ(spalte(f->msgFlexGrid->raster(), 2), QStringList{"bkraft"});
  // Backspace takes the completion away without completing again.
  QTest::keyClick(f->cmbBenutzerID1, Qt::Key_Backspace);
  EXPECT_EQ(f->cmbBenutzerID1->currentText(), u"bk");
}

TEST_F(LogbuchTest, Bilder) {
  QStringList viele;
  for (int i = 0; i < 1000; ++i)
    viele << benutzerzeile(QStringLiteral("%1.03.26").arg(1 + i % 12, 2, 10, QChar(u'0')), "tester",
                           i % 2 ? "anna" : "vera", i % 3 ? "Urlaub" : "Dienstreise",
                           i % 5 ? QString() : QStringLiteral("Kommentar zum Eintrag %1").arg(i));
  viele << adminzeile("05.03.26", "chef", "Feiertage neu: 1");
  logbuch(QStringLiteral("2603 Velkora.log"), viele);
  const auto f = öffnen();
  f->resize(f->minimumSize());
  QApplication::processEvents();
  bild(*f, QStringLiteral("Logbuch_klein"));
  f->resize(1600, 1000);
  QApplication::processEvents();
  EXPECT_EQ(f->msgFlexGrid->raster().Rows(), 1001);
  bild(*f, QStringLiteral("Logbuch_gross"));
  f->optLogbuch[2]->click();
  bild(*f, QStringLiteral("Logbuch_Administration"));
  f->txtVonDatum->setText(QStringLiteral("01.01.26"));
  f->txtBisDatum->setText(QStringLiteral("02.01.26"));
  bild(*f, QStringLiteral("Logbuch_leer"));
}

}  // namespace
