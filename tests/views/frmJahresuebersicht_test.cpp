#include "views/frmJahresuebersicht.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <random>

#include "common/Ansichtsdaten.h"
#include "common/Testnamen.h"
#include "printing/Jahresdruck.h"
#include "store/Feiertage.h"

namespace {
using namespace ansichten;

class JahrTest : public AnsichtTest {
 protected:
  void SetUp() override {
    AnsichtTest::SetUp();
    gAnsichtshaken.hauptfenster_tag_lesen = [this] { return haupttag; };
    gAnsichtshaken.hauptfenster_tag = [this](const QString& t) { haupttag = t; };
  }
  std::unique_ptr<frmJahresuebersicht> öffnen(const QString& parameter) {
    haupttag = parameter;
    auto f = std::make_unique<frmJahresuebersicht>();
    f->Form_Load();
    f->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    return f;
  }
  static QStringList namen(const QComboBox* c) {
    QStringList r;
    for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
    return r;
  }
  static Farbwert farbe(const Raster& g, int m, int d) { return g.CellBackColor(m, d).value_or(g.BackColor()); }
  QString haupttag;
};

struct Namensfall {
  QStringList vorher;
  QStringList nachher;
};
class NamenTest : public ::testing::TestWithParam<Namensfall> {};

TEST_P(NamenTest, GleicheNamenWerdenNummeriert) {
  QStringList n = GetParam().vorher;
  Gleiche_Namen_nummerieren(n);
  EXPECT_EQ(n, GetParam().nachher);
}

INSTANTIATE_TEST_SUITE_P(
    Namen, NamenTest,
    ::testing::Values(Namensfall{{"Nowak Ina", "Berg Udo", "Nowak Ina", "Nowak Ina"},
                                 {"Nowak Ina I", "Berg Udo", "Nowak Ina II", "Nowak Ina III"}},
                      Namensfall{{"Karl II", "Karl II", "Karl II"}, {"Karl II", "Karl III", "Karl IIII"}},
                      Namensfall{{"Ada", "Bea"}, {"Ada", "Bea"}}, Namensfall{{"AI", "A", "A"}, {"AI", "A I", "A II"}},
                      Namensfall{{"A I", "A", "A", "A I"}, {"A I", "A II", "A III", "A IIII"}}),
    [](const auto& info) { return testname(info.param.vorher.join(u' ')); });

// The numbering as it was first written, pair by pair: the numbering through hashes
// must give the same names for any list, however the repetitions interleave.
QStringList Paarweise_nummeriert(QStringList n) {
  const qsizetype z = n.size();
  for (qsizetype i = 0; i < z; ++i)
    for (qsizetype j = i + 1; j < z; ++j)
      if (n[j] == n[i] && !n[i].endsWith(u'I')) n[j] += QStringLiteral(" I");
  for (qsizetype i = 0; i < z; ++i)
    for (qsizetype j = i + 1; j < z; ++j)
      if (n[j] == n[i] + QStringLiteral(" I")) {
        n[i] = n[j];
        break;
      }
  for (qsizetype i = 0; i < z; ++i)
    for (qsizetype j = i + 1; j < z; ++j)
      if (n[j] == n[i]) n[j] += u'I';
  return n;
}

TEST(Namen, NummerierungGleichtDerPaarweisenFuerZufaelligeListen) {
  const QStringList bausteine{"A", "A I", "AI", "A II", "A I I", "B", "B I", "", " I", "I"};
  std::mt19937 zufall(57);
  for (int runde = 0; runde < 3000; ++runde) {
    QStringList n;
    const int länge = static_cast<int>(zufall() % 9);
    for (int k = 0; k < länge; ++k) n << bausteine[static_cast<qsizetype>(zufall() % bausteine.size())];
    QStringList ist = n;
    Gleiche_Namen_nummerieren(ist);
    ASSERT_EQ(ist, Paarweise_nummeriert(n)) << n.join(u'|').toStdString();
  }
}

TEST_F(JahrTest, MenueWaehltNiemandenUndListetDieTabelleOhneGrossKleinSortiert) {
  gBenutzerstufe = 2;
  Mitarbeiter_setzen({{u"meier Anna", u"anna", u"000000", u"999999"},
                      {u"Gruppe", u"", u"", u""},
                      {u"Meier Anna", u"amei", u"000000", u"999999"},
                      {u"Abel Tom", u"tom", u"000000", u"999999"}});
  const auto f = öffnen(QStringLiteral("G"));
  EXPECT_EQ(f->windowTitle(), u"Velkora - Jahresübersicht");
  EXPECT_EQ(namen(f->cmbName), (QStringList{"Abel Tom", "Meier Anna", "meier Anna"}))
      << "by name ignoring case, then by user name";
  EXPECT_EQ(f->BenutzerIDListe, (QStringList{"", "tom", "amei", "anna"}));
  EXPECT_EQ(f->cmbName->currentIndex(), -1);
  EXPECT_EQ(namen(f->cmbJahr), (QStringList{"2025", "2026", "2027"}));
  EXPECT_EQ(f->cmbJahr->currentText(), u"2026");
  EXPECT_TRUE(f->cmdAuswahl[2]->isHidden());
  EXPECT_EQ(f->msgFlexGrid->raster().TextMatrix(1, 0), u"Januar");
  EXPECT_EQ(f->msgFlexGrid->raster().TextMatrix(0, 31), u"31");
  bild(*f, QStringLiteral("Jahresuebersicht_leer"));
}

TEST_F(JahrTest, MitarbeiterMitEigenerZeileSiehtAuchUnterTNurSich) {
  gBenutzerstufe = 0;
  gAnsichtshaken.hauptraster_mitarbeiter = [] { return QList<std::pair<QString, QString>>{{"Meier Anna", "anna"}}; };
  const auto f = öffnen(QStringLiteral("T"));
  EXPECT_EQ(namen(f->cmbName), QStringList{"Schulz Bernd"});
  EXPECT_EQ(f->cmbName->currentIndex(), 0);
}

TEST_F(JahrTest, TMitLeeremRasterOeffnetLeerSonstMitDenZeilenDesRasters) {
  gBenutzerstufe = 2;
  auto f = öffnen(QStringLiteral("T"));
  EXPECT_EQ(f->cmbName->count(), 0);
  QTest::keyClick(f.get(), Qt::Key_Escape);
  EXPECT_FALSE(f->isVisible());
  gAnsichtshaken.hauptraster_mitarbeiter = [] {
    return QList<std::pair<QString, QString>>{{"Meier Anna", "anna"}, {"Kurz Carla", "carla"}};
  };
  f = öffnen(QStringLiteral("T"));
  EXPECT_EQ(namen(f->cmbName), (QStringList{"Kurz Carla", "Meier Anna"}));
}

TEST_F(JahrTest, EingeschraenkterBenutzerSiehtSeineGruppeUndDieZeilenUeberDerErstenUeberschrift) {
  gBenutzerstufe = 1;
  SetSetting(1, 2);
  gAnzeigeberechtigung = QStringLiteral("Lager:");
  const auto f = öffnen(QStringLiteral("G"));
  EXPECT_EQ(namen(f->cmbName), (QStringList{"Alt Dieter", "Frei Vera", "Kurz Carla"}));
}

TEST_F(JahrTest, DoppelgeklickterMitarbeiterWirdSofortGezeigt) {
  gBenutzerstufe = 2;
  gSFVerborgen = 5;
  SetSetting(5, 1);
  gFeiertagsTabelle = QStringLiteral("260101|260319|260321|");
  // The later line of the employee wins; K is the hidden code and shows here.
  monatSchreiben(QStringLiteral("2603 260310 Data.dat"),
                 {QStringLiteral("A:anna:") + Codes({{2, '1'}}),
                  QStringLiteral("A:ANNA:") + Codes({{7, '1'}, {9, '5'}, {19, '8'}, {23, '8'}})});
  const auto f = öffnen(QStringLiteral("anna"));
  EXPECT_EQ(f->cmbName->currentText(), u"Meier Anna");
  const Raster& g = f->msgFlexGrid->raster();
  const int März = 3;
  EXPECT_EQ(g.TextMatrix(März, 2), QString()) << "the earlier line does not count";
  EXPECT_EQ(g.TextMatrix(März, 7), u"U") << "a booked Saturday";
  EXPECT_EQ(g.CellBackColor(März, 7), gSFHintergrundfarben[1]);
  EXPECT_EQ(g.TextMatrix(März, 9), u"K");
  EXPECT_EQ(g.CellForeColor(März, 9), gSFTextfarben[5]);
  EXPECT_EQ(farbe(g, März, 14), gGrundfarben[2]) << "an empty Saturday";
  EXPECT_EQ(farbe(g, März, 21), gGrundfarben[3]) << "an empty holiday on a Saturday";
  EXPECT_EQ(g.TextMatrix(März, 19), QString(QChar(160)));
  EXPECT_EQ(farbe(g, März, 19), gGrundfarben[3]) << "a non-working mark on a holiday";
  EXPECT_EQ(farbe(g, März, 23), gGrundfarben[2]) << "a non-working mark";
  EXPECT_EQ(farbe(g, März, 10), gGrundfarben[1]);
  for (int d = 29; d <= 31; ++d) EXPECT_EQ(farbe(g, 2, d), gGrundfarben[2]) << "February " << d;
  EXPECT_EQ(g.CellBackColor(1, 0), gGrundfarben[4]);
  bild(*f, QStringLiteral("Jahresuebersicht"));
}

// The all-employees job reads each month once and looks every employee up in it: each
// page shows what choosing the employee alone shows, user names matched without regard
// to case (also beyond ASCII, "ß" staying one letter) and the later line winning.
TEST_F(JahrTest, SerieZeigtJedenWieEinzelnGewaehlt) {
  gBenutzerstufe = 2;
  Mitarbeiter_setzen({{u"Meier Anna", u"anna", u"000000", u"999999"},
                      {u"Ärger Björn", u"ärger", u"000000", u"999999"},
                      {u"Strauß Uwe", u"strauß", u"000000", u"999999"},
                      {u"Ohne Eintrag", u"niemand", u"000000", u"999999"}});
  monatSchreiben(
      QStringLiteral("2603 260310 Data.dat"),
      {QStringLiteral("A:anna:") + Codes({{2, '1'}}), QStringLiteral("A:ÄRGER:") + Codes({{3, '1'}}),
       QStringLiteral("A:ANNA:") + Codes({{7, '1'}, {9, '5'}}), QStringLiteral("A:STRAUSS:") + Codes({{4, '1'}}),
       QStringLiteral("A:STRAUß:") + Codes({{5, '3'}}), QStringLiteral("A:strauss:") + Codes({{6, '1'}})});
  monatSchreiben(QStringLiteral("2601 260105 Data.dat"),
                 {QStringLiteral("A:Ärger:") + Codes({{5, '1'}}), QStringLiteral("A:ärger:") + Codes({{12, '3'}})});
  const auto f = öffnen(QStringLiteral("G"));
  const Raster& g = f->msgFlexGrid->raster();
  const auto seite = [&] {
    QStringList r = zeilen(g);
    for (int m = 1; m <= 12; ++m)
      for (int d = 1; d <= 31; ++d)
        r << QString::number(farbe(g, m, d)) + u'/' + QString::number(g.CellForeColor(m, d).value_or(-1));
    return r;
  };
  const int n = f->cmbName->count();
  ASSERT_EQ(n, 4);
  std::vector<QStringList> einzeln;
  for (int i = 0; i < n; ++i) {
    f->cmbName->setCurrentIndex(i);
    einzeln.push_back(seite());
  }
  const int März = 3, Januar = 1;
  f->cmbName->setCurrentIndex(f->cmbName->findText(QStringLiteral("Meier Anna")));
  EXPECT_EQ(g.TextMatrix(März, 2), QString()) << "the earlier line does not count";
  EXPECT_EQ(g.TextMatrix(März, 7), u"U");
  f->cmbName->setCurrentIndex(f->cmbName->findText(QStringLiteral("Strauß Uwe")));
  EXPECT_EQ(g.TextMatrix(März, 5), u"Z");
  EXPECT_EQ(g.TextMatrix(März, 4), QString()) << "\"SS\" is not \"ß\"";
  f->cmbName->setCurrentIndex(f->cmbName->findText(QStringLiteral("Ärger Björn")));
  EXPECT_EQ(g.TextMatrix(März, 3), u"U");
  EXPECT_EQ(g.TextMatrix(Januar, 12), u"Z");
  EXPECT_EQ(g.TextMatrix(Januar, 5), QString());

  const Jahresdruckquelle& q = gJahresdruckquelle;
  q.serie(true);
  for (int i = 0; i < n; ++i) {
    q.wählen(i);
    EXPECT_EQ(seite(), einzeln[static_cast<std::size_t>(i)]) << f->cmbName->itemText(i).toStdString();
  }
  q.serie(false);
}

TEST_F(JahrTest, BeschaeftigungWirdNurMitStelleSiebenundvierzigGemalt) {
  gBenutzerstufe = 2;
  gEintrittsdaten[6] = QStringLiteral("260315");  // Kurz Carla
  auto f = öffnen(QStringLiteral("carla"));
  EXPECT_EQ(farbe(f->msgFlexGrid->raster(), 3, 13), gGrundfarben[1]);
  SetSetting(47, 1);
  f = öffnen(QStringLiteral("carla"));
  const Raster& g = f->msgFlexGrid->raster();
  EXPECT_EQ(farbe(g, 1, 5), gGrundfarben[2]);
  EXPECT_EQ(farbe(g, 3, 13), gGrundfarben[2]);
  EXPECT_EQ(farbe(g, 3, 16), gGrundfarben[1]) << "16 March, a Monday after the entry";
  EXPECT_EQ(farbe(g, 12, 31), gGrundfarben[1]);
}

TEST_F(JahrTest, TastenUndUeberstundenknopf) {
  gBenutzerstufe = 0;
  gIstMitarbeiter = false;
  gBenutzername = QStringLiteral("niemand");
  QStringList exporte, drucke;
  gAnsichtshaken.csv_export = [&](QWidget*, const QString& t) { exporte << t; };
  gAnsichtshaken.druckdialog = [&](QWidget*) { drucke << gDruckauftrag; };
  const auto f = öffnen(QStringLiteral("G"));
  QTest::keyClick(f.get(), Qt::Key_F12);
  EXPECT_EQ(exporte, QStringList{"Jahresübersicht 2026"});
  QTest::keyClick(f.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(drucke.isEmpty()) << "not for an employee";
  QTest::keyClick(f.get(), Qt::Key_P, Qt::ControlModifier);
  QTest::keyClick(f.get(), Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(drucke, (QStringList{"JE", "JE"}));
  EXPECT_EQ(haupttag, u"S");
  f->ÜStunden_anzeigen();
  EXPECT_EQ(skript->texte(), std::vector<QString>{"Bitte wählen Sie zuerst einen Namen aus"});
}

}  // namespace

namespace {
using namespace ansichten;

TEST_F(JahrTest, BlockUnterDemRasterOhneAuswahlUndMitAnna) {
  gBenutzerstufe = 2;
  gDezimaltrennzeichen = QStringLiteral(",");
  gUrlaubsdaten[3] = QStringLiteral("005,0:030,0:030,0:028,0:000,0");
  auto f = öffnen(QStringLiteral("G"));
  const int n = Schaltflächen_Anzahl();
  ASSERT_EQ(static_cast<int>(f->lblBeschriftung.size()), 56 + n);
  EXPECT_EQ(f->Beschriftung(7), u"0,0 Tage") << "one decimal: a half-day code exists";
  EXPECT_EQ(f->Beschriftung(29), u"Summen");
  EXPECT_EQ(f->Beschriftung(30), u"0");
  EXPECT_EQ(f->Beschriftung(54), u"Legende");
  EXPECT_EQ(f->Beschriftung(55), u"Urlaub");
  EXPECT_EQ(f->Beschriftung(54 + n), u"Wochenende");
  EXPECT_EQ(f->Beschriftung(55 + n), u"Feiertag");
  EXPECT_FALSE(f->lblBeschriftung[18]->isVisible()) << "no special leave in use";
  EXPECT_TRUE(f->txtVorschau[1]->isVisible());
  EXPECT_FALSE(f->txtVorschau[n]->isVisible()) << "no box for the erase button";
  EXPECT_GT(f->cmdAuswahl[1]->y(), f->txtVorschau[25 + n]->y());
  f = öffnen(QStringLiteral("anna"));
  // Today 12.03.26: 2026 is the account year up to today.
  EXPECT_EQ(f->Beschriftung(4), u"Resturlaub aus 2025");
  EXPECT_EQ(f->Beschriftung(30), u"3") << "three U days in March 2026";
  EXPECT_EQ(f->Beschriftung(34), u"1") << "the hidden code counted too";
  bild(*f, QStringLiteral("Jahresuebersicht_Konto"));
}

TEST_F(JahrTest, VierundzwanzigSchaltflaechenUndEineLangeLegendenbeschriftung) {
  gBenutzerstufe = 2;
  QStringList texte{QString()}, buchstaben{QString()};
  QList<qint32> vorne{0}, hinten{0};
  QList<int> aus{0};
  for (int i = 1; i <= 24; ++i) {
    texte << (i == 3 ? QStringLiteral("Fortbildungsveranstaltung außer Haus") : QStringLiteral("Code %1").arg(i));
    buchstaben << QString(QChar(u'A' + i - 1));
    vorne << 0;
    hinten << 0x80FF80;
    aus << 0;
  }
  texte << QStringLiteral("Löschen");
  buchstaben << QStringLiteral(" ");
  vorne << 0;
  hinten << 0xFFFFFF;
  aus << 0;
  gSFTexte = texte;
  gSFKennbuchstaben = buchstaben;
  gSFTextfarben = vorne;
  gSFHintergrundfarben = hinten;
  gSFVerbergen = aus;
  gSFNurAdmins = aus;
  const auto f = öffnen(QStringLiteral("G"));
  for (int i = 1; i <= 24; ++i) EXPECT_TRUE(f->txtVorschau[i]->isVisible()) << i;
  QLabel* lang = f->lblBeschriftung[54 + 3];
  EXPECT_LT(lang->font().pointSizeF(), f->lblBeschriftung[55]->font().pointSizeF());
  EXPECT_GE(lang->font().pointSize(), 6);
  bild(*f, QStringLiteral("Jahresuebersicht_24"));
}

}  // namespace

namespace {
using namespace ansichten;

TEST_F(JahrTest, UeberstundendateienWerdenNurBeimErstenOeffnenGesucht) {
  auto f = öffnen(QStringLiteral("G"));
  EXPECT_TRUE(gÜStundenGeprüft);
  EXPECT_FALSE(gÜStundenVorhanden);
  schreiben(gDatenordner + QStringLiteral("ÜStunden 2026.dat"), "x");
  f = öffnen(QStringLiteral("G"));
  EXPECT_FALSE(gÜStundenVorhanden) << "a file added later is not noticed in this run";
  EXPECT_TRUE(f->cmdAuswahl[2]->isHidden());
}

}  // namespace
