#include "planner/frmVelkora.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTest>
#include <memory>

#include "common/Testumgebung.h"
#include "platform/Bildschirm.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {

class HauptfensterTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    bildschirm::setzeDpi(96);
    ordnerEinrichten();
    gPlanungsjahr = 2025;
    gHeute = QDate(2026, 3, 12);
  }
  void TearDown() override {
    fenster.reset();
    programmende::setzeEntladen(nullptr);
    bildschirm::setzeDpi(0);
    VelkoraTest::TearDown();
  }
  frmVelkora& laden() {
    Hauptfenster_laden();
    fenster.reset(frmVelkora::instanz());
    return *fenster;
  }
  // A first start on the default folder under the base folder, with its pointer file.
  void standardordnerAngelegt() {
    gDatenordner = unterordner(QStringLiteral("Programm/Data"));
    gDatenordnerAngelegt = true;
    schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), "[Konfigdaten]\r\n");
    // The start has read the configuration before the window loads.
    gKonfigdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Konfigdaten.dat"));
    unterordner(QStringLiteral("Programm/Data/Logs"));
    schreiben(gDatenordner + QStringLiteral("Logs/2603Velkora.log"), "initialisiert\r\n");
    schreiben(gBasisordner + QStringLiteral("Velkora.dat"), "x");
  }
  std::unique_ptr<frmVelkora> fenster;
};

TEST_F(HauptfensterTest, LaedtMitMenuesReiternUndDemMonatVonHeute) {
  frmVelkora& f = laden();
  ASSERT_EQ(f.tabJahre->count(), 3);
  EXPECT_EQ(f.tabJahre->tabText(0), u"2025");
  EXPECT_EQ(f.tabJahre->tabText(2), u"2027");
  EXPECT_EQ(f.tabJahre->currentIndex(), 1) << "the year of today";
  ASSERT_EQ(f.tabMonate->count(), 12);
  EXPECT_EQ(f.tabMonate->tabText(0), u"Januar");
  EXPECT_EQ(f.tabMonate->tabText(8), u"Sept.");
  EXPECT_EQ(f.tabMonate->currentIndex(), 2);
  for (const char16_t* name : {u"mnuDatenordner_ändern", u"mnuDrucken", u"mnuAnAbwesenheitsgründe",
                               u"mnuJahresübersicht", u"mnuRTTÜbersicht", u"mnuInfo"})
    ASSERT_NE(f.aktion(QString::fromUtf16(name)), nullptr) << QString::fromUtf16(name).toStdString();
  EXPECT_EQ(f.aktion(QStringLiteral("mnuAnzeigeberechtigungen"))->text(), u"Anzeige&berechtigungen ...");
  EXPECT_TRUE(f.aktion(QStringLiteral("mnuBeenden"))->isEnabled());
  const Raster& g = f.msgFlexGrid->raster();
  EXPECT_EQ(g.Cols(), 33);
  EXPECT_EQ(g.ColWidth(32), 0);
  EXPECT_EQ(g.RowHeight(0), 540);
  EXPECT_EQ(g.Row(), 0);
  EXPECT_EQ(g.ColAlignment(5), Raster::MitteMitte);
  EXPECT_EQ(f.msgFlexTaSu->raster().Cols(), 32);
  EXPECT_EQ(f.msgFlexTaSu->raster().RowHeight(0), 0);
  EXPECT_EQ(f.msgFlexKaWo->raster().RowHeightMin(), 285);
}

TEST_F(HauptfensterTest, OesterreichischesGebietsschemaNenntJanuarJaenner) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Austria));
  frmVelkora& f = laden();
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(f.tabMonate->tabText(0), u"Jänner");
}

TEST_F(HauptfensterTest, OffenerJahreswechselImRueckblickZeigtNurDasErsteJahrUndKeineSchaltflaechen) {
  gRückblick = true;
  gJahreswechselOffen = true;
  frmVelkora& f = laden();
  f.cmdAuswahl[1]->show();
  f.show();
  f.Form_Resize();
  EXPECT_EQ(f.tabJahre->currentIndex(), 0);
  EXPECT_FALSE(f.tabJahre->isTabEnabled(1));
  EXPECT_FALSE(f.tabJahre->isTabEnabled(2));
  EXPECT_EQ(f.letztesLayout().knopf.size(), 0u) << "no entries in a read-only start";
}

TEST_F(HauptfensterTest, ErsterStartOeffnetInStandardgroesseZentriert) {
  frmVelkora& f = laden();
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  const QWidget* fläche = f.centralWidget();
  // The offscreen screen is narrower than 16400 twips.
  EXPECT_NEAR(fläche->width(), bildschirm::twipsZuPixel(13980), 1);
  EXPECT_NEAR(fläche->height(), bildschirm::twipsZuPixel(9600), 1);
  // The grid stands where the layout put it.
  const Layoutergebnis& l = f.letztesLayout();
  EXPECT_EQ(f.msgFlexGrid->x(), bildschirm::twipsZuPixel(l.raster.left()));
  EXPECT_EQ(f.msgFlexGrid->width(), bildschirm::twipsZuPixel(l.raster.width()));
  EXPECT_EQ(f.cmdBeenden->geometry(),
            QRect(bildschirm::twipsZuPixel(l.beenden.left()), bildschirm::twipsZuPixel(l.beenden.top()),
                  bildschirm::twipsZuPixel(l.beenden.width()), bildschirm::twipsZuPixel(l.beenden.height())));
  // The name column takes what the 31 day columns leave of the viewport.
  const Raster& g = f.msgFlexGrid->raster();
  const int frei = f.msgFlexGrid->viewport()->width() - g.spaltenPixel(0) - 31 * g.spaltenPixel(1);
  EXPECT_GE(frei, 0);
  EXPECT_LE(frei, bildschirm::twipsZuPixel(330));
  EXPECT_NEAR(g.ColWidth(0), l.namensspalte, 600);
}

TEST_F(HauptfensterTest, PlatzierungWirdBeimEntladenGespeichertUndBeimLadenWiederhergestellt) {
  {
    frmVelkora& f = laden();
    f.show();
    f.setGeometry(40, 50, 1100, 700);
    f.Form_Unload();
    EXPECT_EQ(gBenutzerwerte[1], 0);
    EXPECT_EQ(gBenutzerwerte[2], 600);
    EXPECT_EQ(gBenutzerwerte[3], 750);
    EXPECT_EQ(gBenutzerwerte[4], 16500);
    EXPECT_EQ(gBenutzerwerte[5], 10500);
    fenster.reset();
  }
  frmVelkora& f = laden();
  EXPECT_EQ(f.geometry(), QRect(40, 50, 1100, 700));
}

TEST_F(HauptfensterTest, PlatzierungAusserhalbDesBildschirmsWirdNichtWiederhergestellt) {
  const QRect bildschirm(0, 0, 12000, 9000);
  EXPECT_TRUE(Platzierung_gültig(600, 750, bildschirm));
  EXPECT_FALSE(Platzierung_gültig(8500, 750, bildschirm)) << "less than 4000 twips from the right edge";
  EXPECT_FALSE(Platzierung_gültig(600, 5500, bildschirm));
  EXPECT_FALSE(Platzierung_gültig(-30000, 750, bildschirm));
  gBenutzerwerte[2] = 90000;
  gBenutzerwerte[3] = 750;
  gBenutzerwerte[4] = 16500;
  gBenutzerwerte[5] = 10500;
  frmVelkora& f = laden();
  EXPECT_LT(f.x(), 800) << "centred instead";
}

TEST_F(HauptfensterTest, ZuKleinerBildschirmWirdMitDemPassendenHinweisAbgewiesen) {
  EXPECT_TRUE(Darstellung_Meldung(12000, 9000).isEmpty());
  const QString quer = Darstellung_Meldung(11999, 9000);
  EXPECT_TRUE(
      quer.startsWith(QStringLiteral("Programmfenster zu groß für die Anzeigeeinstellungen Ihres Bildschirms.\r\r")));
  EXPECT_TRUE(quer.endsWith(QStringLiteral("eine kleinere Darstellung der Elemente")));
  EXPECT_TRUE(Darstellung_Meldung(9000, 11999)
                  .endsWith(QStringLiteral("Ändern Sie Ihre Bildschirmausrichtung auf Querformat")));
}

TEST_F(HauptfensterTest, UnberuehrterStandardordnerGehtMitSeinerZeigerdatei) {
  standardordnerAngelegt();
  const QString ordner = gDatenordner;
  frmVelkora& f = laden();
  f.Form_Unload();
  EXPECT_FALSE(QDir(ordner).exists());
  EXPECT_FALSE(QFile::exists(gBasisordner + QStringLiteral("Velkora.dat")));
}

TEST_F(HauptfensterTest, UnberuehrterStandardordnerBehaeltDenZeigerAufDenVorigenOrdner) {
  standardordnerAngelegt();
  gDatenordnerAlt = unterordner(QStringLiteral("Alt"));
  const QString ordner = gDatenordner;
  frmVelkora& f = laden();
  f.Form_Unload();
  EXPECT_FALSE(QDir(ordner).exists());
  EXPECT_TRUE(QFile::exists(gBasisordner + QStringLiteral("Velkora.dat")));
}

TEST_F(HauptfensterTest, JedeAenderungImStandardordnerBehaeltIhn) {
  struct Fall {
    const char* was;
    std::function<void(const QString&)> ändern;
  };
  const std::vector<Fall> fälle = {
      {"entry", [](const QString& o) { schreiben(o + QStringLiteral("2603 Data.dat"), "A:x"); }},
      {"logbook line",
       [](const QString& o) { schreiben(o + QStringLiteral("Logs/2603Velkora.log"), "initialisiert\r\nmehr\r\n"); }},
      {"deleted file", [](const QString& o) { QFile::remove(o + QStringLiteral("Konfigdaten.dat")); }},
      {"same size, other content",
       [](const QString& o) { schreiben(o + QStringLiteral("Konfigdaten.dat"), "[Konfigdatex]\r\n"); }},
  };
  for (const Fall& fall : fälle) {
    SCOPED_TRACE(fall.was);
    standardordnerAngelegt();
    const QString ordner = gDatenordner;
    frmVelkora& f = laden();
    fall.ändern(ordner);
    f.Form_Unload();
    EXPECT_TRUE(QDir(ordner).exists());
    EXPECT_TRUE(QFile::exists(gBasisordner + QStringLiteral("Velkora.dat")));
    fenster.reset();
    QDir(ordner).removeRecursively();
  }
}

TEST_F(HauptfensterTest, NichtVonDiesemStartAngelegterOrdnerWirdNieEntfernt) {
  standardordnerAngelegt();
  gDatenordnerAngelegt = false;
  const QString ordner = gDatenordner;
  frmVelkora& f = laden();
  f.Form_Unload();
  EXPECT_TRUE(QDir(ordner).exists());
  // Nor a folder elsewhere, even when created by this start.
  gDatenordner = unterordner(QStringLiteral("Anderswo/Data"));
  gDatenordnerAngelegt = true;
  gKonfigdatenZeit = QDateTime();  // that folder holds no configuration to read
  fenster.reset();
  frmVelkora& g = laden();
  g.Form_Unload();
  EXPECT_TRUE(QDir(gDatenordner).exists());
}

TEST_F(HauptfensterTest, EntladenSchliesstJedesAndereFensterEinmal) {
  frmVelkora& f = laden();
  QWidget anderes;
  anderes.show();
  f.show();
  f.Form_Unload();
  EXPECT_FALSE(anderes.isVisible());
  EXPECT_TRUE(f.isVisible()) << "the main window closes itself";
  gBenutzerwerte[2] = 12345;
  f.Form_Unload();
  EXPECT_EQ(gBenutzerwerte[2], 12345) << "a second unload does nothing";
}

TEST_F(HauptfensterTest, ProgrammendeFuehrtDasEntladenAus) {
  programmende::setzeEntladen([] { Hauptfenster_entladen(); });
  standardordnerAngelegt();
  const QString ordner = gDatenordner;
  laden();
  ERWARTE_PROGRAMMENDE(programmende::beenden(0));
  EXPECT_FALSE(QDir(ordner).exists());
  EXPECT_NE(gBenutzerwerte[4], 0);
}

TEST_F(HauptfensterTest, ZuKleinGemachtesFensterSpringtZurueck) {
  frmVelkora& f = laden();
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  f.resize(400, 200);
  QApplication::processEvents();
  EXPECT_GE(f.centralWidget()->width(), bildschirm::twipsZuPixel(13980) - 1);
  EXPECT_GE(f.centralWidget()->height(), bildschirm::twipsZuPixel(2955) - 1);
}

TEST_F(HauptfensterTest, BildschirmfotoZeigtDasFenster) {
  frmVelkora& f = laden();
  Raster& g = f.msgFlexGrid->raster();
  g.setRows(4);
  g.setTextMatrix(1, 0, QStringLiteral("Meier, Anna"));
  g.setTextMatrix(1, 3, QStringLiteral("U"));
  g.setCellBackColor(1, 3, 0x00FFFF);
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  const QString pfad = ordner() + QStringLiteral("Hauptfenster.png");
  ASSERT_TRUE(f.grab().save(pfad));
  const QImage bild(pfad);
  ASSERT_FALSE(bild.isNull());
  EXPECT_EQ(bild.size(), f.size());
  QSet<QRgb> farben;
  for (int y = 0; y < bild.height(); y += 7)
    for (int x = 0; x < bild.width(); x += 7) farben.insert(bild.pixel(x, y));
  EXPECT_GT(farben.size(), 3) << "a blank image";
  // The coloured entry is painted in its cell.
  const QRect zelle = f.msgFlexGrid->zellenRechteck(1, 3);
  ASSERT_FALSE(zelle.isEmpty());
  const QPoint mitte = f.msgFlexGrid->viewport()->mapTo(&f, zelle.center() + QPoint(0, zelle.height() / 3));
  EXPECT_EQ(QColor(bild.pixel(mitte)), zuQColor(0x00FFFF));
}

}  // namespace
