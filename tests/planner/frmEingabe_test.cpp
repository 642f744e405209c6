#include "planner/frmEingabe.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "common/Modaldialog.h"
#include "planner/Eingabe.h"
#include "planner/Markierung.h"
#include "planner/Planerdaten.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace planer;

QStringList einträge(const QComboBox* c) {
  QStringList r;
  for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
  return r;
}

// March 2026 with entries by keyboard allowed; "tester" is Schulz Bernd (row 4).
class EingabedialogTest : public PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    gDatumstrennzeichen = QStringLiteral(".");
    gDatumsreihenfolge = 1;
    SetSetting(4, 1);
    fensterLaden();
    fenster->resize(1100, 700);
    fenster->show();
    QApplication::setActiveWindow(fenster.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    Markierung_aufheben();
  }
  Raster& g() { return fenster->msgFlexGrid->raster(); }
  std::unique_ptr<frmEingabe> dialog(int knopf = 1) {
    fenster->Tag = QString::number(knopf);
    return std::make_unique<frmEingabe>(*fenster);
  }
};

TEST_F(EingabedialogTest, GefuelltAusSchaltflaecheUndMitarbeiterzeilenDesRasters) {
  gBenutzerstufe = 2;
  const auto d = dialog(3);
  EXPECT_EQ(d->windowTitle(), u"Velkora - Eingabe");
  EXPECT_EQ(d->cmdButton->text(), u"Zeitausgleich");
  EXPECT_EQ(d->cmdButton->palette().color(QPalette::Button), zuQColor(kZeitausgleich));
  EXPECT_EQ(d->lblBeschriftung[1]->text(), u"Eintrag");
  EXPECT_EQ(d->lblBeschriftung[2]->text(), u"Name");
  EXPECT_EQ(einträge(d->cmbName), (QStringList{"Frei Vera", "Meier Anna", "Schulz Bernd", "Kurz Carla"}))
      << "no heading rows";
  EXPECT_EQ(d->cmbName->currentText(), u"Schulz Bernd") << "the user's own row";
  EXPECT_TRUE(d->cmbName->isEnabled());
  EXPECT_EQ(d->txtVonDatum2->text(), u".03.26");
  EXPECT_EQ(d->txtBisDatum2->text(), u".03.26");
  EXPECT_EQ(fenster->Tag, QString()) << "closing without OK is a cancel";

  // The second name marks the second employee row of the grid.
  d->cmbName->setCurrentIndex(1);
  d->txtVonDatum->setText(QStringLiteral("16"));
  d->txtBisDatum->setText(QStringLiteral("18"));
  d->cmdAuswahl[1]->click();
  EXPECT_EQ(d->result(), QDialog::Accepted);
  EXPECT_EQ(fenster->Tag, u"OK");
  EXPECT_EQ(g().Row(), 3);
  EXPECT_EQ(g().RowSel(), 3);
  EXPECT_EQ(g().Col(), 16);
  EXPECT_EQ(g().ColSel(), 18);
}

TEST_F(EingabedialogTest, MitarbeiterMitEigenerZeileKannKeinenAnderenNamenWaehlen) {
  gBenutzerstufe = 0;
  const auto d = dialog();
  EXPECT_FALSE(d->cmbName->isEnabled());
  EXPECT_EQ(d->cmbName->currentText(), u"Schulz Bernd");
  gBenutzername = QStringLiteral("niemand");
  const auto ohne = dialog();
  EXPECT_TRUE(ohne->cmbName->isEnabled());
  EXPECT_EQ(ohne->cmbName->currentIndex(), 0) << "the first name without an own row";
}

TEST_F(EingabedialogTest, TageWerdenGeprueft) {
  const struct {
    QString monat;
    const char* von;
    const char* bis;
    const char16_t* meldung;
  } fälle[] = {
      {QStringLiteral("2603"), "", "05", u"Bitte Datum eingeben"},
      {QStringLiteral("2603"), "05", "", u"Bitte Datum eingeben"},
      {QStringLiteral("2603"), "0", "05", u"Datumseingabe nicht plausibel"},
      {QStringLiteral("2603"), "05", "32", u"Datumseingabe nicht plausibel"},
      {QStringLiteral("2604"), "05", "31", u"Datumseingabe nicht plausibel"},
      {QStringLiteral("2603"), "15", "03", u"'Von-Datum' ist größer als 'Bis-Datum'"},
      {QStringLiteral("2603"), "31", "31", nullptr},
  };
  for (const auto& fall : fälle) {
    gMonatsschlüssel = fall.monat;
    const auto d = dialog();
    d->txtVonDatum->setText(QString::fromLatin1(fall.von));
    d->txtBisDatum->setText(QString::fromLatin1(fall.bis));
    skript->protokoll.clear();
    d->cmdAuswahl[1]->click();
    if (fall.meldung) {
      EXPECT_EQ(skript->texte(), std::vector<QString>{QString::fromUtf16(fall.meldung)}) << fall.von << "-" << fall.bis;
      EXPECT_EQ(d->result(), 0) << "the dialog stays open";
      EXPECT_EQ(fenster->Tag, QString());
    } else {
      EXPECT_TRUE(skript->texte().empty());
      EXPECT_EQ(fenster->Tag, u"OK");
    }
  }
}

TEST_F(EingabedialogTest, TagesfelderNehmenNurZiffernUndZeigenZwei) {
  const auto d = dialog();
  d->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
  d->activateWindow();
  d->txtVonDatum->setFocus();
  QTest::keyClicks(d->txtVonDatum, QStringLiteral("a7-"));
  EXPECT_EQ(d->txtVonDatum->text(), u"7");
  d->txtBisDatum->setFocus();
  EXPECT_EQ(d->txtVonDatum->text(), u"07") << "two digits on leaving";
  QGuiApplication::clipboard()->setText(QStringLiteral("1x"));
  d->txtBisDatum->clear();
  QTest::keySequence(d->txtBisDatum, QKeySequence::Paste);
  EXPECT_EQ(d->txtBisDatum->text(), QString()) << "pasted text with a letter is refused";
  QGuiApplication::clipboard()->setText(QStringLiteral("12"));
  QTest::keySequence(d->txtBisDatum, QKeySequence::Paste);
  EXPECT_EQ(d->txtBisDatum->text(), u"12");
  // Enter moves on instead of closing the dialog.
  QTest::keyClick(d->txtBisDatum, Qt::Key_Return);
  EXPECT_TRUE(d->isVisible());
  EXPECT_FALSE(d->txtBisDatum->hasFocus());
}

TEST_F(EingabedialogTest, KuerzelschaltflaecheOhneMarkierungTraegtDenZeitraumEinOderBeimAbbrechenNichts) {
  gBenutzerstufe = 0;
  beimDialog<frmEingabe>([](frmEingabe& d) { d.cmdAuswahl[2]->click(); });
  fenster->cmdAuswahl[1]->click();
  EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("2603 260312 Data.dat")));

  beimDialog<frmEingabe>([](frmEingabe& d) {
    d.txtVonDatum->setText(QStringLiteral("16"));
    d.txtBisDatum->setText(QStringLiteral("17"));
    d.cmdAuswahl[1]->click();
  });
  fenster->cmdAuswahl[1]->click();
  EXPECT_EQ(g().TextMatrix(4, 16), u"U");
  EXPECT_EQ(g().TextMatrix(4, 17), u"U");
  const QStringList heute = dekodierteZeilen(gDatenordner + QStringLiteral("2603 260312 Data.dat"));
  ASSERT_FALSE(heute.isEmpty());
  EXPECT_EQ(heute.last(), QStringLiteral("A:tester:") + Codes({{4, '5'}, {6, '6'}, {16, '1'}, {17, '1'}}));
}

}  // namespace
