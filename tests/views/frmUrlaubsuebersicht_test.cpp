#include "views/frmUrlaubsuebersicht.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "common/Ansichtsdaten.h"
#include "common/Testnamen.h"
#include "views/frmJahresuebersicht.h"

namespace {
using namespace ansichten;

// P = 2025; vacation 03.-07.02.25, 04.-08.08.25, 12.-14.01.26, 01.-02.07.26, a half day
// on 03.08.26; carry-over 5, entitlements 30 and 30.
class UrlaubTest : public AnsichtTest {
 protected:
  void SetUp() override {
    AnsichtTest::SetUp();
    gDezimaltrennzeichen = QStringLiteral(",");
    gBenutzerstufe = 2;
    Mitarbeiter_setzen({{u"Meier Anna", u"anna", u"000000", u"999999"}});
    gUrlaubsdaten[1] = QStringLiteral("005,0:030,0:030,0:028,0:000,0");
    gSonderurlaubsanspruch[1] = QStringLiteral("000,0");
    for (const char* name :
         {"2603 260310 Data.dat", "2603 260301 Data.dat", "2601 260105 Data.dat", "2506 250601 Data.dat"})
      QFile::remove(gDatenordner + QString::fromLatin1(name));
    monatSchreiben(QStringLiteral("2502 250201 Data.dat"),
                   {QStringLiteral("A:anna:") + Codes({{3, '1'}, {4, '1'}, {5, '1'}, {6, '1'}, {7, '1'}})});
    monatSchreiben(QStringLiteral("2508 250801 Data.dat"),
                   {QStringLiteral("A:anna:") + Codes({{4, '1'}, {5, '1'}, {6, '1'}, {7, '1'}, {8, '1'}})});
    monatSchreiben(QStringLiteral("2601 260101 Data.dat"),
                   {QStringLiteral("A:anna:") + Codes({{12, '1'}, {13, '1'}, {14, '1'}})});
    monatSchreiben(QStringLiteral("2607 260701 Data.dat"), {QStringLiteral("A:anna:") + Codes({{1, '1'}, {2, '1'}})});
    monatSchreiben(QStringLiteral("2608 260801 Data.dat"), {QStringLiteral("A:anna:") + Codes({{3, '2'}})});
    gAnsichtshaken.hauptfenster_tag_lesen = [this] { return modus; };
  }
  std::unique_ptr<frmUrlaubsuebersicht> öffnen(const QString& m = QStringLiteral("U")) {
    modus = m;
    auto f = std::make_unique<frmUrlaubsuebersicht>();
    f->Form_Load();
    f->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    return f;
  }
  static void wählen(frmUrlaubsuebersicht& f, const QString& datum) {
    const int i = f.cmbDatum->findText(datum);
    ASSERT_GE(i, 0) << datum.toStdString();
    f.cmbDatum->setCurrentIndex(i);
  }
  QString modus;
};

struct Urlaubsfall {
  int S, M;
  const char16_t* datum;
  const char16_t* R;
  bool urlaub1Leer;
  const char16_t *c1, *c5, *c8, *c9;
};
class UrlaubTabelleTest : public UrlaubTest, public ::testing::WithParamInterface<Urlaubsfall> {};

TEST_P(UrlaubTabelleTest, Spalten) {
  const Urlaubsfall& u = GetParam();
  gUrlaubsjahrBeginn = u.S;
  gResturlaubVerfall = u.M;
  gUrlaub1Leer = u.urlaub1Leer;
  gUrlaubsdaten[1] = QString::fromUtf16(u.R) + (u.urlaub1Leer ? QStringLiteral(":000,0:030,0:028,0:000,0")
                                                              : QStringLiteral(":030,0:030,0:028,0:000,0"));
  const auto f = öffnen();
  wählen(*f, QString::fromUtf16(u.datum));
  const Raster& g = f->msgFlexGrid->raster();
  ASSERT_EQ(g.Rows(), 2);
  const QString blanks(9, u' ');
  EXPECT_EQ(g.TextMatrix(1, 1), QString::fromUtf16(u.c1) + blanks);
  EXPECT_EQ(g.TextMatrix(1, 5), QString::fromUtf16(u.c5) + blanks);
  EXPECT_EQ(g.TextMatrix(1, 8), QString::fromUtf16(u.c8) + blanks);
  EXPECT_EQ(g.TextMatrix(1, 9), QString::fromUtf16(u.c9) + blanks);
}

INSTANTIATE_TEST_SUITE_P(
    Konten, UrlaubTabelleTest,
    ::testing::Values(Urlaubsfall{1, 0, u"15.03.26", u"005,0", false, u"25,0", u"3,0", u"2,5", u"49,5"},
                      Urlaubsfall{1, 4, u"15.03.26", u"005,0", false, u"25,0", u"3,0", u"2,5", u"49,5"},
                      Urlaubsfall{1, 4, u"15.06.26", u"005,0", false, u"0,0", u"0,0", u"2,5", u"27,5"},
                      Urlaubsfall{1, 1, u"15.03.26", u"005,0", false, u"0,0", u"3,0", u"2,5", u"24,5"},
                      Urlaubsfall{1, 0, u"31.12.26", u"005,0", false, u"25,0", u"5,5", u"0,0", u"49,5"},
                      Urlaubsfall{4, 0, u"15.02.27", u"005,0", false, u"27,0", u"2,5", u"0,0", u"54,5"},
                      Urlaubsfall{4, 6, u"15.07.26", u"005,0", false, u"0,0", u"2,0", u"0,5", u"27,5"},
                      Urlaubsfall{1, 4, u"20.06.25", u"-02,0", false, u"-2,0", u"5,0", u"5,0", u"18,0"},
                      Urlaubsfall{1, 4, u"20.06.25", u"005,0", true, u"0,0", u"5,0", u"5,0", u"-10,0"}),
    [](const auto& info) {
      const Urlaubsfall& u = info.param;
      return testname(QStringLiteral("Beginn %1 Verfall %2 am %3 Rest %4%5")
                          .arg(u.S)
                          .arg(u.M)
                          .arg(QString::fromUtf16(u.datum), QString::fromUtf16(u.R),
                               u.urlaub1Leer ? QStringLiteral(" Urlaub1 leer") : QString()));
    });

// A name too long for its column stays on its one line, cut off at the column's edge:
// its start is drawn exactly like the short name it begins with, at the smallest and
// at a large window size. The headings still wrap into their two lines.
TEST_F(UrlaubTest, LangerNameBleibtAufSeinerZeile) {
  const char16_t* lang = u"Meier Anna Maximiliane Friederike von Hohenzollern-Sigmaringen und Wittgenstein";
  Mitarbeiter_setzen({{u"Meier Anna", u"anna", u"000000", u"999999"}, {lang, u"max", u"000000", u"999999"}});
  const auto f = öffnen();
  const QString ziel = qEnvironmentVariable("VELKORA_BILDER");
  for (const QSize größe : {f->minimumSize(), QSize(1500, 900)}) {
    SCOPED_TRACE(größe.width());
    f->resize(größe);
    QApplication::processEvents();
    const Raster& g = f->msgFlexGrid->raster();
    ASSERT_EQ(g.Rows(), 3);
    ASSERT_EQ(g.TextMatrix(2, 0), QString::fromUtf16(lang));
    const QImage bild = f->msgFlexGrid->viewport()->grab().toImage();
    if (!ziel.isEmpty()) f->grab().save(QDir(ziel).filePath(QStringLiteral("Urlaub-%1.png").arg(größe.width())));
    const QRect kurz = f->msgFlexGrid->zellenRechteck(1, 0), langZelle = f->msgFlexGrid->zellenRechteck(2, 0);
    const int breite = QFontMetrics(f->msgFlexGrid->font()).horizontalAdvance(QStringLiteral("Meier Anna")) + 2;
    int unterschiede = 0, dunkel = 0;
    for (int y = 0; y < kurz.height() - 1; ++y)
      for (int x = 0; x < std::min(breite, kurz.width() - 1); ++x) {
        const QRgb a = bild.pixel(kurz.left() + x, kurz.top() + y),
                   b = bild.pixel(langZelle.left() + x, langZelle.top() + y);
        dunkel += qGray(a) < 128;
        unterschiede += a != b;
      }
    EXPECT_GT(dunkel, 20);
    EXPECT_EQ(unterschiede, 0);
    // The heading of column 5 is two lines: ink in the upper and the lower half.
    const QRect kopf = f->msgFlexGrid->zellenRechteck(0, 5);
    int oben = 0, unten = 0;
    for (int y = 0; y < kopf.height() - 1; ++y)
      for (int x = 0; x < kopf.width() - 1; ++x)
        if (qGray(bild.pixel(kopf.left() + x, kopf.top() + y)) < 128) ++(y < kopf.height() / 2 ? oben : unten);
    EXPECT_GT(oben, 10);
    EXPECT_GT(unten, 10);
  }
}

TEST_F(UrlaubTest, UeberschriftenFuerKalenderjahrUndUrlaubsjahrAbApril) {
  auto f = öffnen();
  EXPECT_EQ(f->windowTitle(), u"Velkora - Urlaubsübersicht");
  EXPECT_EQ(f->cmbDatum->currentText(), u"12.03.26") << "today lies in the middle year";
  const Raster& g = f->msgFlexGrid->raster();
  EXPECT_EQ(f->lblBeschriftung[1]->text(), u"Urlaubsübersicht 2026");
  EXPECT_EQ(g.TextMatrix(0, 1), u"Resturlaub aus 2025");
  EXPECT_EQ(g.TextMatrix(0, 2), u"Urlaubs-\ranspr. 2026");
  EXPECT_EQ(g.TextMatrix(0, 5), u"Bis heute genommen");
  wählen(*f, QStringLiteral("15.03.26"));
  EXPECT_EQ(g.TextMatrix(0, 5), u"Bis 15.03.26 genommen");
  bild(*f, QStringLiteral("Urlaubsuebersicht"));
  f.reset();
  gUrlaubsjahrBeginn = 4;
  f = öffnen();
  wählen(*f, QStringLiteral("15.02.27"));
  EXPECT_EQ(f->lblBeschriftung[1]->text(), u"Urlaubsübersicht  01.04.26 - 31.03.27");
  EXPECT_EQ(f->msgFlexGrid->raster().TextMatrix(0, 2), u"Urlaubs-\ranspr. 26/27");
  EXPECT_EQ(f->msgFlexGrid->raster().TextMatrix(0, 6), u"Resturlaub 2026/27");
}

TEST_F(UrlaubTest, BeschaeftigungAusserhalbDesKontojahresWirdNichtGelistet) {
  Mitarbeiter_setzen({{u"Meier Anna", u"anna", u"000000", u"999999"},
                      {u"Alt Bert", u"bert", u"000000", u"251231"},
                      {u"Neu Cora", u"cora", u"270101", u"999999"},
                      {u"Da Dora", u"dora", u"260601", u"260701"}});
  const auto f = öffnen();
  const Raster& g = f->msgFlexGrid->raster();
  QStringList namen;
  for (int r = 1; r < g.Rows(); ++r) namen << g.TextMatrix(r, 0);
  EXPECT_EQ(namen, (QStringList{"Meier Anna", "Da Dora"}));
}

TEST_F(UrlaubTest, SonderurlaubsmodusVerbirgtDieSummeUndBehaeltEinDatumDesMittlerenJahres) {
  SetSetting(33, 1);
  auto f = öffnen();
  const int breite = f->width();
  wählen(*f, QStringLiteral("20.07.26"));
  f->cmdAuswahl[2]->click();
  EXPECT_EQ(f->windowTitle(), u"Velkora - Sonderurlaub");
  EXPECT_TRUE(gSonderurlaubModus);
  EXPECT_EQ(f->msgFlexGrid->raster().ColWidth(3), 0);
  EXPECT_EQ(f->cmdAuswahl[2]->text(), u"&Urlaubsübersicht");
  EXPECT_EQ(f->cmbDatum->count(), 365) << "only the days of the year after the planning year";
  EXPECT_EQ(f->cmbDatum->currentText(), u"20.07.26");
  EXPECT_EQ(f->width(), breite - bildschirm::twipsZuPixel(1200));
  EXPECT_EQ(f->msgFlexGrid->raster().TextMatrix(0, 1), u"Genommen in 2025");
  bild(*f, QStringLiteral("Sonderurlaub"));
  f->cmdAuswahl[2]->click();
  EXPECT_FALSE(gSonderurlaubModus);
  EXPECT_EQ(f->cmbDatum->currentText(), u"20.07.26");
  EXPECT_EQ(f->width(), breite);
  f->close();
  EXPECT_EQ(gBenutzerwerte[9], static_cast<int>(std::lround(bildschirm::pixelZuTwips(breite))));
}

TEST_F(UrlaubTest, HinweisKommtEinmalUndNieImSonderurlaubsmodus) {
  gUrlaubsdaten[1] = QStringLiteral("005,0:030,0:000,0:028,0:000,0");
  auto f = öffnen(QStringLiteral("R"));
  EXPECT_TRUE(skript->texte().empty());
  f = öffnen();
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_EQ(skript->texte()[0],
            u"Hinweis: Für das Jahr 2026 wurden noch keine Urlaubsansprüche erfasst (Menü Bearbeiten - Mitarbeiter)");
  f = öffnen();
  EXPECT_EQ(skript->texte().size(), 1u);
}

TEST_F(UrlaubTest, HilfeknopfNurFuerAdministratorenInDenErstenMonaten) {
  gMonateSeitEinrichtung = 3;
  auto f = öffnen();
  EXPECT_TRUE(f->cmdAuswahl[3]->isVisible());
  gMonateSeitEinrichtung = 4;
  f = öffnen();
  EXPECT_FALSE(f->cmdAuswahl[3]->isVisible());
  gMonateSeitEinrichtung = 0;
  gBenutzerstufe = 1;
  f = öffnen();
  EXPECT_FALSE(f->cmdAuswahl[3]->isVisible());
}

TEST_F(UrlaubTest, GruppeOhneSichtbareUeberschriftLaesstNurDieKopfzeile) {
  Mitarbeiter_setzen({{u"Lager", u"", u"", u""}, {u"Meier Anna", u"anna", u"000000", u"999999"}});
  gAnzeigegruppen = QStringList{QString(), QStringLiteral("Büro|Büro:"), QStringLiteral("Lager|Lager:")};
  gAnzeigegruppe = 0;
  const auto f = öffnen();
  EXPECT_EQ(f->msgFlexGrid->raster().Rows(), 1);
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(UrlaubTest, TastenDesFensters) {
  QStringList exporte;
  int hilfe = 0, drucke = 0;
  gAnsichtshaken.csv_export = [&](QWidget*, const QString& t) { exporte << t; };
  gAnsichtshaken.hilfe = [&](QWidget*) { ++hilfe; };
  gAnsichtshaken.druckdialog = [&](QWidget*) { ++drucke; };
  const auto f = öffnen();
  QTest::keyClick(f.get(), Qt::Key_F12);
  EXPECT_EQ(exporte, QStringList{"Urlaubsübersicht 2026, Berechnung zum 12.03.26"});
  QTest::keyClick(f.get(), Qt::Key_F1);
  EXPECT_EQ(hilfe, 1);
  QTest::keyClick(f.get(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(drucke, 1);
  EXPECT_EQ(gDruckauftrag, u"U");
}

}  // namespace
