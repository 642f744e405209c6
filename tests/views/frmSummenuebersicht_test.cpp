#include "views/frmSummenuebersicht.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

#include "common/Ansichtsdaten.h"
#include "common/Testnamen.h"
#include "startup/Umrechnungen.h"
#include "store/Velkoraini.h"

namespace {
using namespace ansichten;

class SummenTest : public AnsichtTest {
 protected:
  std::unique_ptr<frmSummenuebersicht> öffnen() {
    auto f = std::make_unique<frmSummenuebersicht>();
    f->Form_Load();
    f->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    return f;
  }
  static void datum(frmSummenuebersicht& f, const QString& von, const QString& bis) {
    const QSignalBlocker a(f.txtVonDatum), b(f.txtBisDatum);
    f.txtVonDatum->setText(von);
    f.txtBisDatum->setText(bis);
  }
  static void kopfKlick(frmSummenuebersicht& f, int spalte) {
    const QRect r = f.msgFlexGrid->zellenRechteck(0, spalte);
    ASSERT_FALSE(r.isEmpty());
    QTest::mouseClick(f.msgFlexGrid->viewport(), Qt::LeftButton, {}, r.center());
  }
};

TEST_F(SummenTest, OeffnetAufDemJahrNachDemPlanungsjahrMitBuchstabenInDenFarbenDerSchaltflaechen) {
  const auto f = öffnen();
  EXPECT_EQ(f->windowTitle(), u"Velkora - Summenübersicht");
  EXPECT_EQ(f->txtVonDatum->text(), u"01.01.26");
  EXPECT_EQ(f->txtBisDatum->text(), u"31.12.26");
  const Raster& g = f->msgFlexGrid->raster();
  ASSERT_EQ(g.Cols(), 7) << "six code buttons, the erase button has no column";
  EXPECT_EQ(g.TextMatrix(0, 0), u"Name");
  EXPECT_EQ(g.RowHeight(0), 540);
  const QString buchstaben[] = {"", "U", "½", "Z", "D", "K", "S"};
  for (int c = 1; c < 7; ++c) {
    EXPECT_EQ(g.TextMatrix(0, c), buchstaben[c]);
    EXPECT_EQ(g.ColWidth(c), 540);
    EXPECT_EQ(g.CellBackColor(0, c), gSFHintergrundfarben[c]);
    EXPECT_EQ(g.CellForeColor(0, c), gSFTextfarben[c]);
  }
  EXPECT_EQ(f->cmdAuswahl[1]->text(), u"Summen &anzeigen");
  EXPECT_EQ(f->cmdAuswahl[2]->text(), u"&Drucken ...");
  EXPECT_EQ(f->cmdAuswahl[3]->text(), u"&Schließen");
  EXPECT_TRUE(f->cmbMitarbeitergruppen->isHidden()) << "no display groups";
  bild(*f, QStringLiteral("Summenuebersicht"));
}

// Each user level over the fixture with the hidden code K (column 5): a half day and a
// Saturday count 1 like any other day; the total adds every number shown.
struct Stufenfall {
  int stufe;
  QStringList zeilen;
};
class SummenStufenTest : public SummenTest, public ::testing::WithParamInterface<Stufenfall> {};

TEST_P(SummenStufenTest, ZellenUndSumme) {
  gBenutzerstufe = GetParam().stufe;
  gSFVerborgen = 5;
  const auto f = öffnen();
  EXPECT_EQ(zeilen(f->msgFlexGrid->raster()), GetParam().zeilen);
}

INSTANTIATE_TEST_SUITE_P(
    Stufen, SummenStufenTest,
    ::testing::Values(
        Stufenfall{0,
                   {"Frei Vera|3|1|0|0|-|0", "Verwaltung||||||", "Meier Anna|3|0|1|0|-|0", "Schulz Bernd|0|1|0|0|1|0",
                    "Lager||||||", "Kurz Carla|0|0|0|1|-|0", "Alt Dieter|0|0|0|0|-|0", "Gesamtsumme|6|2|1|1|1|0"}},
        Stufenfall{1,
                   {"Frei Vera|3|1|0|0|1|0", "Verwaltung||||||", "Meier Anna|3|0|1|0|1|0", "Schulz Bernd|0|1|0|0|1|0",
                    "Lager||||||", "Kurz Carla|0|0|0|1|0|0", "Alt Dieter|0|0|0|0|0|0", "Gesamtsumme|6|2|1|1|3|0"}}),
    [](const auto& info) { return testname(QStringLiteral("Stufe %1").arg(info.param.stufe)); });

TEST_F(SummenTest, ZellenBehaltenIhreEndleerzeichenUndDerStrichSeineDrei) {
  gSFVerborgen = 5;
  const auto f = öffnen();
  const Raster& g = f->msgFlexGrid->raster();
  EXPECT_EQ(g.TextMatrix(1, 1), u"3  ");
  EXPECT_EQ(g.TextMatrix(1, 5), u"-   ");
  EXPECT_EQ(g.CellBackColor(1, 0), gGrundfarben[4]);
  EXPECT_EQ(g.CellBackColor(2, 0), gGrundfarben[5]);
  EXPECT_EQ(g.CellBackColor(8, 3), gGrundfarben[5]);
}

TEST_F(SummenTest, GeltendeBerechtigungenVerbergenEineGruppeMitIhrenMitarbeiternNichtAberVorAdministratoren) {
  SetSetting(1, 2);
  gAnzeigeberechtigung = QStringLiteral("Lager:");
  auto f = öffnen();
  EXPECT_EQ(zeilen(f->msgFlexGrid->raster()),
            (QStringList{"Frei Vera|3|1|0|0|1|0", "Lager||||||", "Kurz Carla|0|0|0|1|0|0", "Alt Dieter|0|0|0|0|0|0",
                         "Gesamtsumme|3|1|0|1|1|0"}));
  f.reset();
  gBenutzerstufe = 2;
  f = öffnen();
  EXPECT_EQ(f->msgFlexGrid->raster().Rows(), 9);
}

TEST_F(SummenTest, GewaehlteAnzeigegruppeZeigtIhreUeberschriftenUndDieZeilenVorDerErsten) {
  gAnzeigegruppen = QStringList{QString(), QStringLiteral("Alle|Verwaltung:Lager:"), QStringLiteral("Lager|Lager:")};
  gAnzeigegruppe = 1;
  const auto f = öffnen();
  EXPECT_FALSE(f->cmbMitarbeitergruppen->isHidden());
  EXPECT_EQ(f->cmbMitarbeitergruppen->count(), 2);
  EXPECT_EQ(f->cmbMitarbeitergruppen->currentIndex(), 1);
  const QStringList lager{"Frei Vera|3|1|0|0|1|0", "Lager||||||", "Kurz Carla|0|0|0|1|0|0", "Alt Dieter|0|0|0|0|0|0",
                          "Gesamtsumme|3|1|0|1|1|0"};
  EXPECT_EQ(zeilen(f->msgFlexGrid->raster()), lager);
  // Choosing the other group shows it at once; a resize keeps what is shown.
  f->cmbMitarbeitergruppen->setCurrentIndex(0);
  emit f->cmbMitarbeitergruppen->activated(0);
  EXPECT_EQ(gAnzeigegruppe, 0);
  EXPECT_EQ(f->msgFlexGrid->raster().Rows(), 9);
}

TEST_F(SummenTest, OhneGruppenVerschwindetDieAuswahlUndEinGespeicherterIndexHinterDerListeGibtDieErste) {
  gAnzeigegruppen = QStringList{QString(), QStringLiteral("Alle|Verwaltung:Lager:"), QStringLiteral("Lager|Lager:")};
  gAnzeigegruppe = 5;
  auto f = öffnen();
  EXPECT_EQ(gAnzeigegruppe, 0);
  EXPECT_EQ(f->cmbMitarbeitergruppen->currentIndex(), 0);
  EXPECT_EQ(f->msgFlexGrid->raster().Rows(), 9);
  f.reset();
  gAnzeigegruppen = QStringList{QString(), QStringLiteral("NoGroups")};
  f = öffnen();
  EXPECT_TRUE(f->cmbMitarbeitergruppen->isHidden());
  EXPECT_EQ(f->cmbMitarbeitergruppen->count(), 0);
}

TEST_F(SummenTest, OhneNamenNurDieKopfzeile) {
  Mitarbeitertabelle_dimensionieren(1);
  gMitarbeiterNamen[1] = QStringLiteral("NoNames");
  const auto f = öffnen();
  EXPECT_EQ(f->msgFlexGrid->raster().Rows(), 1);
  bild(*f, QStringLiteral("Summenuebersicht_leer"));
}

struct Datumsfall {
  const char16_t* von;
  const char16_t* bis;
  const char16_t* meldung;
  const char* fokus;
};
class SummenDatumTest : public SummenTest, public ::testing::WithParamInterface<Datumsfall> {};

TEST_P(SummenDatumTest, ZeitraumAusserhalbDesFenstersWirdAbgelehntUndNichtsGezeigt) {
  const auto f = öffnen();
  const QStringList vorher = zeilen(f->msgFlexGrid->raster());
  datum(*f, QString::fromUtf16(GetParam().von), QString::fromUtf16(GetParam().bis));
  f->cmdAuswahl[1]->click();
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_EQ(skript->texte()[0], QString::fromUtf16(GetParam().meldung));
  EXPECT_EQ(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
            QString::fromLatin1(GetParam().fokus));
  EXPECT_EQ(zeilen(f->msgFlexGrid->raster()), vorher);
}

INSTANTIATE_TEST_SUITE_P(
    Bereiche, SummenDatumTest,
    ::testing::Values(
        Datumsfall{u"05.01.26", u"04.01.26", u"'Von-Datum' ist größer als 'Bis-Datum'", "txtVonDatum"},
        Datumsfall{u"31.12.24", u"31.12.26", u"'Von-Datum' darf nicht vor dem 01.01.2025 liegen", "txtVonDatum"},
        Datumsfall{u"01.01.26", u"01.01.28", u"'Bis-Datum' darf nicht nach dem 31.12.2027 liegen", "txtBisDatum"}),
    [](const auto& info) { return testname(info.param.meldung); });

TEST_F(SummenTest, LeereFelderZeigenDasGanzeFenster) {
  const auto f = öffnen();
  datum(*f, QString(), QString());
  f->cmdAuswahl[1]->click();
  EXPECT_EQ(f->txtVonDatum->text(), u"01.01.25");
  EXPECT_EQ(f->txtBisDatum->text(), u"31.12.27");
  EXPECT_EQ(f->msgFlexGrid->raster().TextMatrix(3, 1), u"5  ") << "June 2025 counted too";
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(SummenTest, EingabeEinesVollstaendigenZeitraumsZeigtNeu) {
  const auto f = öffnen();
  f->txtVonDatum->setFocus();
  f->txtVonDatum->selectAll();
  QTest::keyClicks(f->txtVonDatum, QStringLiteral("01,06,25"));
  EXPECT_EQ(f->txtVonDatum->text(), u"01.06.25") << "a comma is the date separator";
  EXPECT_EQ(f->msgFlexGrid->raster().TextMatrix(3, 1), u"5  ");
  QTest::keyClicks(f->txtBisDatum, QStringLiteral("x"));
  EXPECT_EQ(f->txtBisDatum->text(), u"31.12.26") << "letters are dropped";
}

TEST_F(SummenTest, KopfklicksSortierenUndEntfernenSummeUndUeberschriften) {
  const auto f = öffnen();
  const Raster& g = f->msgFlexGrid->raster();
  kopfKlick(*f, 0);
  EXPECT_EQ(zeilen(g), (QStringList{"Alt Dieter|0|0|0|0|0|0", "Frei Vera|3|1|0|0|1|0", "Kurz Carla|0|0|0|1|0|0",
                                    "Meier Anna|3|0|1|0|1|0", "Schulz Bernd|0|1|0|0|1|0"}));
  const auto spalte = [&](int) {
    QStringList r;
    for (int z = 1; z < g.Rows(); ++z) r << g.TextMatrix(z, 0);
    return r;
  };
  kopfKlick(*f, 3);  // Z: Anna has 1
  EXPECT_EQ(spalte(3).first(), u"Meier Anna");
  EXPECT_EQ(f->letzteSortierung(), 4);
  kopfKlick(*f, 3);
  EXPECT_EQ(spalte(3).last(), u"Meier Anna") << "ascending the second time";
  EXPECT_EQ(f->letzteSortierung(), 0);
  kopfKlick(*f, 3);
  EXPECT_EQ(spalte(3).first(), u"Meier Anna") << "descending again";
  // A redisplay brings the total and the headings back.
  QTest::keyClick(f.get(), Qt::Key_F5);
  EXPECT_EQ(g.Rows(), 9);
  EXPECT_EQ(g.TextMatrix(8, 0), u"Gesamtsumme");
}

TEST_F(SummenTest, SummeBreiterAlsIhreSpalteZeigtRauten) {
  const auto f = öffnen();
  EXPECT_EQ(f->msgFlexGrid->raster().TextMatrix(8, 1), u"6  ");
  QFont gross = f->msgFlexGrid->font();
  gross.setPointSize(40);
  f->msgFlexGrid->setFont(gross);
  f->cmdAuswahl[1]->click();
  EXPECT_EQ(f->msgFlexGrid->raster().TextMatrix(8, 1), u"####  ");
}

TEST_F(SummenTest, F12MitHalbGetipptemDatumMeldetEsStattDasProgrammZuBeenden) {
  QStringList exporte;
  gAnsichtshaken.csv_export = [&](QWidget*, const QString& titel) { exporte << titel; };
  const auto f = öffnen();
  QTest::keyClick(f.get(), Qt::Key_F12);
  EXPECT_EQ(exporte, QStringList{"Summenübersicht vom 01.01.26 bis 31.12.26"});
  datum(*f, QStringLiteral("12"), QStringLiteral("31.12.26"));
  QTest::keyClick(f.get(), Qt::Key_F12);
  EXPECT_EQ(exporte.size(), 1);
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_EQ(skript->texte()[0], u"Das eingegebene Datum ist zu kurz");
  // Also the group choice and F5.
  QTest::keyClick(f.get(), Qt::Key_F5);
  EXPECT_EQ(skript->texte().size(), 2u);
}

TEST_F(SummenTest, DrucktastenGebenDenAuftragAnDenDruckdialog) {
  int drucke = 0;
  QStringList tags;
  gAnsichtshaken.druckdialog = [&](QWidget*) { ++drucke; };
  gAnsichtshaken.hauptfenster_tag = [&](const QString& t) { tags << t; };
  const auto f = öffnen();
  QTest::keyClick(f.get(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(drucke, 1);
  EXPECT_EQ(gDruckauftrag, u"S");
  EXPECT_TRUE(tags.isEmpty());
  QTest::keyClick(f.get(), Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(drucke, 2);
  EXPECT_EQ(tags, QStringList{"S"});
  QTest::keyClick(f.get(), Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(drucke, 2) << "Ctrl+Alt+P does nothing";
  f->cmdAuswahl[2]->click();
  EXPECT_EQ(drucke, 3);
}

TEST_F(SummenTest, F4FindetDieEigeneZeile) {
  const auto f = öffnen();
  QTest::keyClick(f.get(), Qt::Key_F4);
  EXPECT_EQ(f->msgFlexGrid->raster().Row(), 4);
  EXPECT_EQ(f->msgFlexGrid->raster().HighLight(), 1);
}

TEST_F(SummenTest, F5LiestDieMonateNeu) {
  const auto f = öffnen();
  monatSchreiben(QStringLiteral("2603 260311 Data.dat"), {QStringLiteral("A:carla:") + Codes({{24, '4'}, {25, '4'}})});
  QTest::keyClick(f.get(), Qt::Key_F5);
  EXPECT_EQ(f->msgFlexGrid->raster().TextMatrix(6, 4), u"2  ");
}

TEST_F(SummenTest, PlatzierungWirdJeBenutzerGemerkt) {
  const QRect schirm = QGuiApplication::primaryScreen()->geometry();
  // Left near the right edge: centred.
  gBenutzerwerte[11] = 0;
  gBenutzerwerte[12] = static_cast<int>(bildschirm::pixelZuTwips(schirm.width())) - 3000;
  gBenutzerwerte[13] = 300;
  gBenutzerwerte[14] = 9000;
  gBenutzerwerte[15] = 7000;
  auto f = öffnen();
  EXPECT_NEAR(f->x() + f->width() / 2, schirm.center().x(), 2);
  f->close();
  EXPECT_EQ(gBenutzerwerte[14], static_cast<int>(std::lround(bildschirm::pixelZuTwips(f->width()))));
  f.reset();
  // Stored normally: taken as it is; smaller than the minimum: held at the minimum.
  gBenutzerwerte[12] = 600;
  gBenutzerwerte[13] = 450;
  gBenutzerwerte[14] = 1500;
  gBenutzerwerte[15] = 1500;
  f = öffnen();
  EXPECT_EQ(f->pos(), QPoint(40, 30));
  EXPECT_GE(f->width(), bildschirm::twipsZuPixel(std::max(5970, 6 * 540 + 3270)));
  EXPECT_GE(f->height(), bildschirm::twipsZuPixel(6690));
  f->resize(50, 50);
  QApplication::processEvents();
  EXPECT_GE(f->height(), bildschirm::twipsZuPixel(6690));
  f.reset();
  // Stored maximised.
  gBenutzerwerte[11] = 2;
  f = öffnen();
  EXPECT_TRUE(f->isMaximized());
  bild(*f, QStringLiteral("Summenuebersicht_gross"));
  f->close();
  EXPECT_EQ(gBenutzerwerte[11], 2);
}

}  // namespace

namespace {
using namespace ansichten;

// 1,000 employees under ten headings, for the look of a full window.
class SummenGrossTest : public AnsichtTest {};

TEST_F(SummenGrossTest, TausendMitarbeiterInKleinsterUndGrosserGroesse) {
  Mitarbeitertabelle_dimensionieren(1010);
  int i = 0;
  for (int gruppe = 0; gruppe < 10; ++gruppe) {
    ++i;
    gMitarbeiterNamen[i] = QStringLiteral("Abteilung %1").arg(gruppe + 1);
    gBenutzerIDs[i].clear();
    for (int m = 0; m < 100; ++m) {
      ++i;
      gMitarbeiterNamen[i] = QStringLiteral("Mitarbeiter-Langname %1").arg(gruppe * 100 + m);
      gBenutzerIDs[i] = QStringLiteral("benutzer%1").arg(gruppe * 100 + m);
      gEintrittsdaten[i] = QStringLiteral("000000");
      gAustrittsdaten[i] = QStringLiteral("999999");
    }
  }
  gAnzeigegruppen =
      QStringList{QString(), QStringLiteral("Alle|Abteilung 1:Abteilung 2:"), QStringLiteral("Zweite|Abteilung 2:")};
  frmSummenuebersicht f;
  f.Form_Load();
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  EXPECT_EQ(f.msgFlexGrid->raster().Rows(), 1 + 2 + 200 + 1);
  EXPECT_EQ(f.msgFlexGrid->raster().TextMatrix(1, 1), QString()) << "a heading has no numbers";
  f.resize(f.minimumSize());
  QApplication::processEvents();
  EXPECT_EQ(f.size(), f.minimumSize());
  // Nothing overlaps: the action button lies right of the date boxes, the buttons
  // below the grid, the combo above it.
  EXPECT_GT(f.cmdAuswahl[1]->x(), f.txtBisDatum->mapTo(&f, QPoint(f.txtBisDatum->width(), 0)).x());
  EXPECT_GE(f.cmdAuswahl[2]->y(), f.msgFlexGrid->geometry().bottom());
  EXPECT_LE(f.cmbMitarbeitergruppen->geometry().bottom(), f.msgFlexGrid->y());
  EXPECT_GT(f.cmdAuswahl[3]->x(), f.cmdAuswahl[2]->geometry().right());
  bild(f, QStringLiteral("Summenuebersicht_1000_klein"));
  f.resize(1400, 900);
  QApplication::processEvents();
  bild(f, QStringLiteral("Summenuebersicht_1000_gross"));
}

}  // namespace
