#include "views/Urlaubskonto.h"

#include <QFile>

#include "common/Ansichtsdaten.h"
#include "common/Testnamen.h"
#include "views/Jahresbeschriftung.h"

namespace {
using namespace ansichten;

// P = 2025; vacation 03.-07.02.25, 04.-08.08.25, 12.-14.01.26, 01.-02.07.26, a half day
// on 03.08.26; carry-over 5, entitlements 30, 30, 28.
class KontoTest : public AnsichtTest {
 protected:
  void SetUp() override {
    AnsichtTest::SetUp();
    gDezimaltrennzeichen = QStringLiteral(",");
    Mitarbeiter_setzen({{u"Meier Anna", u"anna", u"000000", u"999999"}});
    gUrlaubsdaten[1] = QStringLiteral("005,0:030,0:030,0:028,0:000,0");
    gSonderurlaubsanspruch[1] = QStringLiteral("000,0");
    monatSchreiben(QStringLiteral("2502 250201 Data.dat"),
                   {QStringLiteral("A:anna:") + Codes({{3, '1'}, {4, '1'}, {5, '1'}, {6, '1'}, {7, '1'}})});
    monatSchreiben(QStringLiteral("2508 250801 Data.dat"),
                   {QStringLiteral("A:anna:") + Codes({{4, '1'}, {5, '1'}, {6, '1'}, {7, '1'}, {8, '1'}})});
    monatSchreiben(QStringLiteral("2601 260101 Data.dat"),
                   {QStringLiteral("A:anna:") + Codes({{12, '1'}, {13, '1'}, {14, '1'}})});
    monatSchreiben(QStringLiteral("2607 260701 Data.dat"), {QStringLiteral("A:anna:") + Codes({{1, '1'}, {2, '1'}})});
    monatSchreiben(QStringLiteral("2608 260801 Data.dat"), {QStringLiteral("A:anna:") + Codes({{3, '2'}})});
    // Only these months.
    QFile::remove(gDatenordner + QStringLiteral("2603 260310 Data.dat"));
    QFile::remove(gDatenordner + QStringLiteral("2603 260301 Data.dat"));
    QFile::remove(gDatenordner + QStringLiteral("2601 260105 Data.dat"));
    QFile::remove(gDatenordner + QStringLiteral("2506 250601 Data.dat"));
    Alle_Erfassungsdaten_einlesen(false);
  }
  std::map<int, QString> beschriftung(int Y, int S, int E, const QDate& heute) {
    Kontoeinstellungen k;
    k.P = 2025;
    k.S = S;
    k.E = E;
    k.heute = heute;
    const Kontowerte w = Kontowerte_lesen(1);
    return Kontobeschriftung(Y, k, &w, Urlaubstage(1), Sonderurlaubstage(1), Tage_mit_Zehnteln());
  }
};

struct Kontofall {
  int Y, S, E;
  const char16_t* e4;
  const char16_t *e7, *e12, *e13, *e16, *e17;
};
class KontoTabelleTest : public KontoTest, public ::testing::WithParamInterface<Kontofall> {};

TEST_P(KontoTabelleTest, Zahlen) {
  const Kontofall& f = GetParam();
  auto b = beschriftung(f.Y, f.S, f.E, QDate(2026, 5, 10));
  const auto tage = [](const char16_t* t) {
    const QString s = QString::fromUtf16(t);
    return s.isEmpty() ? s : s + QStringLiteral(" Tage");
  };
  EXPECT_TRUE(b[4].endsWith(QString::fromUtf16(f.e4))) << b[4].toStdString();
  EXPECT_EQ(b[7], tage(f.e7));
  EXPECT_EQ(b[12], tage(f.e12));
  EXPECT_EQ(b[13], tage(f.e13));
  EXPECT_EQ(b[16], tage(f.e16));
  EXPECT_EQ(b[17], tage(f.e17));
}

INSTANTIATE_TEST_SUITE_P(
    Konten, KontoTabelleTest,
    ::testing::Values(Kontofall{2025, 1, 0, u"aus 2024", u"5,0", u"10,0", u"25,0", u"", u""},
                      Kontofall{2026, 1, 0, u"aus 2025", u"25,0", u"3,0", u"52,0", u"2,5", u"49,5"},
                      Kontofall{2027, 1, 0, u"aus 2026", u"49,5", u"0,0", u"77,5", u"", u""},
                      Kontofall{2026, 1, 4, u"verfallen", u"22,0", u"0,0", u"30,0", u"2,5", u"27,5"},
                      Kontofall{2027, 1, 1, u"verfallen", u"20,0", u"3,0", u"27,0", u"2,5", u"24,5"},
                      Kontofall{2025, 4, 0, u"am 01.04.25", u"5,0", u"8,0", u"27,0", u"", u""}),
    [](const auto& info) {
      return testname(
          QStringLiteral("Jahr %1 Beginn %2 Verfall %3").arg(info.param.Y).arg(info.param.S).arg(info.param.E));
    });

// The stored figures as the employee editor writes them and as older or hand-edited
// files may hold them: the direct reading of "ddd,d" gives what the general
// conversion gives, and anything else still goes the general way.
struct Zahlenfall {
  const char16_t* trenner;
  const char16_t* feld;
  double wert;
};
class ZahlenTest : public KontoTest, public ::testing::WithParamInterface<Zahlenfall> {};

TEST_P(ZahlenTest, GespeicherteZahl) {
  const Zahlenfall& z = GetParam();
  gDezimaltrennzeichen = QString::fromUtf16(z.trenner);
  // Every field five characters wide, as the employee table stores it.
  const QString feld = QString::fromUtf16(z.feld).leftJustified(5, u' ');
  gUrlaubsdaten[1] = feld + u':' + feld + u':' + feld + u':' + feld;
  gSonderurlaubsanspruch[1] = feld;
  const Kontowerte w = Kontowerte_lesen(1);
  for (const double x : {w.R, w.A1, w.A2, w.A3, w.SA}) EXPECT_EQ(x, z.wert) << feld.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Felder, ZahlenTest,
    ::testing::Values(Zahlenfall{u",", u"030,0", 30}, Zahlenfall{u",", u"005,5", 5.5}, Zahlenfall{u",", u"012,3", 12.3},
                      Zahlenfall{u",", u" 12,7", 12.7}, Zahlenfall{u",", u"1.5  ", 1.5},
                      Zahlenfall{u".", u"002,5", 2.5}, Zahlenfall{u"", u"007,1", 7.1}, Zahlenfall{u"", u"00030", 30},
                      Zahlenfall{u",", u"5,", 5}, Zahlenfall{u",", u",25", 0.25}, Zahlenfall{u",", u"-02,5", -2.5},
                      Zahlenfall{u",", u"+3,0", 3}, Zahlenfall{u",", u"1,2,3", 0}, Zahlenfall{u",", u"abc", 0},
                      Zahlenfall{u",", u"", 0}, Zahlenfall{u",", u"1e2", 100}, Zahlenfall{u"#", u"04#5", 4.5}));

TEST_F(KontoTest, UrlaubsjahrAbAprilZaehltVorSeinemBeginnDasPlanungsjahr) {
  auto b = beschriftung(2026, 4, 0, QDate(2026, 2, 10));
  EXPECT_EQ(b[3], u"Urlaubsübersicht  01.04.25 - 31.03.26");
  EXPECT_EQ(b[5], u"Urlaubsanspruch 2025/26");
  EXPECT_EQ(b[11], u"Resturlaub 2025/26");
  EXPECT_EQ(b[12], u"8,0 Tage");
}

TEST_F(KontoTest, KeinMitarbeiterGibtNullUndSonderurlaubNurFuerDasJahrNachDemPlanungsjahr) {
  Kontoeinstellungen k;
  k.P = 2025;
  k.heute = QDate(2026, 5, 10);
  k.sonderurlaub = true;
  auto b = Kontobeschriftung(2026, k, nullptr, Urlaubstage(0), Sonderurlaubstage(0), true);
  EXPECT_EQ(b[7], u"0,0 Tage");
  EXPECT_EQ(b[13], u"0,0 Tage");
  EXPECT_EQ(b[18], u"Sonderurlaub 2026");
  EXPECT_EQ(b[20], u"0,0 Tage");
  b = Kontobeschriftung(2025, k, nullptr, Urlaubstage(0), Sonderurlaubstage(0), true);
  EXPECT_EQ(b[18], QString());
  EXPECT_EQ(b[28], QString());
}

TEST_F(KontoTest, AuchNurEinZweiterHalbtagescodeGibtEineDezimale) {
  gSFUrlaubHalb = 0;
  gSFSonderurlaubHalb = 0;
  SetSetting(30, 0);
  gSFUrlaubHalb2 = 0;
  EXPECT_FALSE(Tage_mit_Zehnteln());
  EXPECT_EQ(Tageszahl(2.5, false), u"3") << "rounded half away from zero";
  EXPECT_EQ(Tageszahl(-2.5, false), u"-3");
  gSFUrlaubHalb2 = 2;
  EXPECT_TRUE(Tage_mit_Zehnteln());
  EXPECT_EQ(Tageszahl(2.5, Tage_mit_Zehnteln()), u"2,5");
}

}  // namespace
