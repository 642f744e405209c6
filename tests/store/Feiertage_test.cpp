#include "store/Feiertage.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include "common/Testnamen.h"
#include "common/Testumgebung.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Velkoraini.h"

namespace {

// 1-based definitions: 16 templates (the given ones, the rest empty), then further.
QStringList Definitionen(const QStringList& vorlagen, const QStringList& weitere = {}) {
  QStringList d{QString()};
  d << vorlagen;
  while (d.size() <= 16) d << kLeereFeiertagsdefinition;
  d << weitere;
  return d;
}

QStringList Ohne_Null(const QStringList& einsBasiert) { return einsBasiert.mid(1); }

QString MasterdateiPfad() { return QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"); }

}  // namespace

// --- Rules ---------------------------------------------------------------------------

struct Regelfall {
  const char* regel;
  int jahr;
  const char* erwartet;
};

// Printed into the test names, which must not change from run to run.
void PrintTo(const Regelfall& f, std::ostream* os) { *os << f.regel << " " << f.jahr; }

class Feiertagsregel : public ::testing::TestWithParam<Regelfall> {};

TEST_P(Feiertagsregel, GibtDasDatum) {
  const Regelfall& f = GetParam();
  EXPECT_EQ(Feiertagsregel_auswerten(QString::fromUtf8(f.regel), f.jahr), QString::fromUtf8(f.erwartet))
      << f.regel << " " << f.jahr;
}

INSTANTIATE_TEST_SUITE_P(Tabelle, Feiertagsregel,
                         ::testing::Values(Regelfall{"VO0200", 2025, "18.04.25"}, Regelfall{"NO0100", 2025, "21.04.25"},
                                           Regelfall{"NO3900", 2025, "29.05.25"}, Regelfall{"BU0000", 2025, "19.11.25"},
                                           Regelfall{"BU0000", 2023, "22.11.23"},
                                           // 25 December 2022 is a Sunday: the fourth of Advent is the 18th.
                                           Regelfall{"BU0000", 2022, "16.11.22"}, Regelfall{"W44B00", 2025, "27.11.25"},
                                           Regelfall{"L10500", 2025, "26.05.25"}, Regelfall{"W11300", 2025, "03.03.25"},
                                           // The Monday before the last Monday of May (Victoria Day).
                                           Regelfall{"L11500", 2025, "19.05.25"}, Regelfall{"L10C00", 2025, "29.12.25"},
                                           Regelfall{"W51A00", 2025, "03.10.25"}, Regelfall{"W12A00", 2026, "12.10.26"},
                                           Regelfall{"24.12.", 2027, "24.12.27"}, Regelfall{"NO0000", 2026, "05.04.26"},
                                           // Not a rule the format knows, or a count that is no number.
                                           Regelfall{"VOx100", 2025, ""}, Regelfall{"NO 100", 2025, ""},
                                           Regelfall{"W1D100", 2025, ""}, Regelfall{"W1x100", 2025, ""},
                                           Regelfall{"XX0000", 2025, ""}, Regelfall{"000000", 2025, ""},
                                           Regelfall{"ab.cd.", 2025, ""}, Regelfall{"VO", 2025, ""}),
                         [](const auto& info) {
                           return testname(
                               QStringLiteral("%1 %2").arg(QString::fromUtf8(info.param.regel)).arg(info.param.jahr));
                         });

TEST(Feiertage_ermitteln, NamenFlaggenUndReihenfolge) {
  const QStringList d =
      Definitionen({QStringLiteral("1:01.01.:Neujahr"), QStringLiteral("1:06.01.:Heilige Drei Könige (BW, BY, ST)"),
                    QStringLiteral("0:VO0200:Karfreitag"), QStringLiteral("1:BU0000:Buß- und Bettag (SN)")},
                   {QStringLiteral("24.12.")});
  const QStringList r = Feiertage_ermitteln(d, 2025);
  EXPECT_EQ(Ohne_Null(r),
            (QStringList{"250101:Neujahr", "250106:Heilige Drei Könige", "251119:Buß- und Bettag", "251224",
                         "260101:Neujahr", "260106:Heilige Drei Könige", "261118:Buß- und Bettag", "261224",
                         "270101:Neujahr", "270106:Heilige Drei Könige", "271117:Buß- und Bettag", "271224"}));
  EXPECT_EQ(Feiertagstabelle_bilden(r).left(28), QStringLiteral("250101|250106|251119|251224|"));
}

TEST(Feiertage_ermitteln, OhneFeiertageEinEintragNullen) {
  const QStringList r = Feiertage_ermitteln(Definitionen({QStringLiteral("0:01.01.:Neujahr")}), 2025);
  EXPECT_EQ(Ohne_Null(r), QStringList{"000000"});
  EXPECT_EQ(Feiertagstabelle_bilden(r), QStringLiteral("000000|"));
}

TEST(Feiertage_ermitteln, UngueltigeDefinitionenSindLeerePlaetze) {
  // A bad count, a short line and an empty line neither crash nor move the further
  // holidays; more than 16 further holidays are not evaluated.
  QStringList weitere;
  for (int m = 1; m <= 12; ++m) weitere << QStringLiteral("01.%1.").arg(m, 2, 10, QChar(u'0'));
  weitere << "02.01."
          << "03.01."
          << "04.01."
          << "05.01."
          << "06.01.";
  const QStringList d = Definitionen({QStringLiteral("1:NOx100:Kaputt"), QStringLiteral("1"), QString(),
                                      QStringLiteral("1:W4B:Monat fehlt"), QStringLiteral("1:25.12.:Weihnachten")},
                                     weitere);
  const QStringList r = Feiertage_ermitteln(d, 2025);
  // Per year: Christmas and 16 further holidays.
  ASSERT_EQ(r.size() - 1, 3 * 17);
  EXPECT_EQ(r[1], QStringLiteral("251225:Weihnachten"));
  EXPECT_EQ(r[2], QStringLiteral("250101"));
  EXPECT_EQ(r[17], QStringLiteral("250105"));
  EXPECT_EQ(r[18], QStringLiteral("261225:Weihnachten"));
  EXPECT_FALSE(Feiertagstabelle_bilden(r).contains(QStringLiteral("250106|")));
}

TEST(Feiertagsdefinitionen_ordnen, WenigerAls16VorlagenVerschiebenNichts) {
  const QStringList d =
      Feiertagsdefinitionen_ordnen({QStringLiteral("1:01.01.:Neujahr"), QStringLiteral("1:25.12.:Weihnachten"),
                                    QStringLiteral("24.12."), QStringLiteral("31.12.")});
  ASSERT_EQ(d.size(), 19);
  EXPECT_EQ(d[2], QStringLiteral("1:25.12.:Weihnachten"));
  for (int i = 3; i <= 16; ++i) EXPECT_EQ(d[i], kLeereFeiertagsdefinition);
  EXPECT_EQ(d[17], QStringLiteral("24.12."));
  EXPECT_EQ(d[18], QStringLiteral("31.12."));
}

// --- Day tests -----------------------------------------------------------------------

struct Tagfall {
  const char* ausnahmen;
  const char* wochenende;
  int tag;
  bool feiertag;
  bool arbeitsfrei;
};

void PrintTo(const Tagfall& f, std::ostream* os) { *os << f.ausnahmen << " " << f.wochenende << " " << f.tag; }

class Tagestest : public ::testing::TestWithParam<Tagfall> {};

// April 2025: Good Friday the 18th and Easter Monday the 21st computed; the 19th is a
// Saturday, the 20th a Sunday, the 12th a Saturday, the 14th a Monday.
TEST_P(Tagestest, MonatApril2025) {
  const Tagfall& f = GetParam();
  const QString tabelle = QStringLiteral("250101|250418|250421|");
  const QString a = QString::fromUtf8(f.ausnahmen), w = QString::fromUtf8(f.wochenende);
  EXPECT_EQ(Ist_Feiertag(QStringLiteral("2504"), f.tag, a, tabelle), f.feiertag) << f.ausnahmen << " " << f.tag;
  EXPECT_EQ(Ist_Wochenende(QStringLiteral("2504"), f.tag, a, w), f.arbeitsfrei) << f.ausnahmen << " " << f.tag;
}

INSTANTIATE_TEST_SUITE_P(
    Ausnahmezeilen, Tagestest,
    ::testing::Values(
        // Nothing frozen: computed holidays, current weekend.
        Tagfall{"NoEx:NoEx", "SaSo", 18, true, false}, Tagfall{"NoEx:NoEx", "SaSo", 19, false, true},
        Tagfall{"NoEx:NoEx", "So", 19, false, false}, Tagfall{"NoEx:NoEx", "SaSo", 14, false, false},
        // Frozen SaSo with an empty holiday part: no holidays, Saturday stays off after
        // the weekend was changed to Sunday alone.
        Tagfall{"SaSo:", "So", 18, false, false}, Tagfall{"SaSo:", "So", 21, false, false},
        Tagfall{"SaSo:", "So", 19, false, true}, Tagfall{"SaSo:", "So", 20, false, true},
        // An extra non-working day under the current weekend.
        Tagfall{"NoEx14|:NoEx", "SaSo", 14, false, true}, Tagfall{"NoEx14|:NoEx", "SaSo", 15, false, false},
        Tagfall{"NoEx14|:NoEx", "SaSo", 18, true, false},
        // An extra holiday besides the computed ones; a frozen list replaces them.
        Tagfall{"NoEx:NoEx15|", "SaSo", 15, true, false}, Tagfall{"NoEx:NoEx15|", "SaSo", 18, true, false},
        Tagfall{"NoEx:21|", "SaSo", 18, false, false}, Tagfall{"NoEx:21|", "SaSo", 21, true, false},
        // A day past the month's end is neither.
        Tagfall{"NoEx:NoEx", "MoDiMiDoFrSaSo", 31, false, false}),
    [](const auto& info) {
      return testname(QStringLiteral("%1 %2 Tag %3")
                          .arg(QString::fromUtf8(info.param.ausnahmen), QString::fromUtf8(info.param.wochenende))
                          .arg(info.param.tag));
    });

TEST(Ist_Wochenende, JahrAusDemSchluessel2031) {
  // 4 January 2031 is a Saturday (in 1931 it was a Sunday).
  EXPECT_TRUE(Ist_Wochenende(QStringLiteral("3101"), 4, QStringLiteral("NoEx:NoEx"), QStringLiteral("Sa")));
  EXPECT_FALSE(Ist_Wochenende(QStringLiteral("3101"), 5, QStringLiteral("NoEx:NoEx"), QStringLiteral("Sa")));
}

// --- Files ---------------------------------------------------------------------------

class FeiertageTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gPlanungsjahr = 2025;
  }
  QString feiertagsdatei() const { return gDatenordner + QStringLiteral("Feiertage.dat"); }
  void masterBereitstellen() {
    ASSERT_TRUE(QFile::exists(MasterdateiPfad())) << qPrintable(MasterdateiPfad());
    QFile::remove(gBasisordner + QStringLiteral("VelkoraFtg.dat"));
    ASSERT_TRUE(QFile::copy(MasterdateiPfad(), gBasisordner + QStringLiteral("VelkoraFtg.dat")));
  }
};

TEST_F(FeiertageTest, LesenBerechnetDieFeiertageDesFensters) {
  schreiben(feiertagsdatei(), kodiert({"[Feiertage]", "KZ", "Deutschland", "1:01.01.:Neujahr",
                                       "0:06.01.:Heilige Drei Könige (BW, BY, ST)", "1:VO0200:Karfreitag", "24.12."}));
  Feiertage_lesen();
  EXPECT_EQ(gLand, QStringLiteral("Deutschland"));
  EXPECT_EQ(gKennzeile, QStringLiteral("KZ"));
  ASSERT_EQ(gFeiertagsdefinitionen.size(), 18);
  EXPECT_EQ(gFeiertagsdefinitionen[17], QStringLiteral("24.12."));
  EXPECT_EQ(Ohne_Null(gFeiertagsdaten).mid(0, 3), (QStringList{"250101:Neujahr", "250418:Karfreitag", "251224"}));
  EXPECT_EQ(gFeiertagsdaten.size() - 1, 9);
  EXPECT_TRUE(gFeiertagsTabelle.contains(QStringLiteral("270326|")));  // Good Friday 2027
}

TEST_F(FeiertageTest, FehlendeDateiUndFalscherKopfBeendenDenStart) {
  ERWARTE_PROGRAMMENDE(Feiertage_lesen());
  // The start repair asks with the problem named.
  EXPECT_TRUE(skript->texte().front().contains(QStringLiteral("wurde nicht gefunden")));
  skript = &dialoge::skript();
  schreiben(feiertagsdatei(), kodiert({"[Feiertag]", "KZ", "Deutschland"}));
  ERWARTE_PROGRAMMENDE(Feiertage_lesen());
  EXPECT_TRUE(skript->texte().front().contains(QStringLiteral("[Feiertage]")));
}

TEST_F(FeiertageTest, SchreibenUndWiederLesen) {
  gKennzeile = QStringLiteral("KZ");
  gLand = QStringLiteral("France");
  gFeiertagsdefinitionen = Definitionen({QStringLiteral("1:14.07.:Fête nationale")}, {QStringLiteral("02.01.")});
  Feiertage_schreiben();
  const QStringList z = dekodierteZeilen(feiertagsdatei());
  ASSERT_EQ(z.size(), 3 + 17);
  EXPECT_EQ(z.mid(0, 4), (QStringList{"[Feiertage]", "KZ", "France", "1:14.07.:Fête nationale"}));
  EXPECT_EQ(z.last(), QStringLiteral("02.01."));
  gFeiertagsdefinitionen.clear();
  Feiertage_lesen();
  EXPECT_EQ(gFeiertagsdefinitionen.size(), 18);
  EXPECT_EQ(gFeiertagsdaten[1], QStringLiteral("250714:Fête nationale"));
  EXPECT_EQ(gFeiertagsdaten[2], QStringLiteral("250102"));
}

TEST_F(FeiertageTest, AltesFormatNimmtDeutschlandAusDerMasterdatei) {
  masterBereitstellen();
  QStringList alt{"[Feiertage]", "KZ"};
  for (int i = 0; i < 16; ++i) alt << QStringLiteral("1:01.01.:Alt");
  alt << "31.12.";
  schreiben(feiertagsdatei(), kodiert(alt));
  Feiertage_lesen();
  EXPECT_EQ(gLand, QStringLiteral("Deutschland"));
  ASSERT_EQ(gFeiertagsdefinitionen.size(), 18);
  EXPECT_EQ(gFeiertagsdefinitionen[1], QStringLiteral("1:01.01.:Neujahr"));
  EXPECT_EQ(gFeiertagsdefinitionen[17], QStringLiteral("31.12."));
  EXPECT_TRUE(gFeiertagsTabelle.contains(QStringLiteral("251231|")));
  EXPECT_TRUE(gFeiertagsTabelle.contains(QStringLiteral("260403|")));  // Karfreitag 2026
  // The file stays in the old format until it is written.
  EXPECT_EQ(dekodierteZeilen(feiertagsdatei()).value(2), QStringLiteral("1:01.01.:Alt"));
}

TEST_F(FeiertageTest, TagestestsNehmenDenGeladenenMonat) {
  gFeiertagsTabelle = QStringLiteral("250418|");
  gWochenende = QStringLiteral("SaSo");
  gMonatsschlüssel = QStringLiteral("2504");
  EXPECT_TRUE(CheckFeiertag(18));
  EXPECT_TRUE(CheckWochenende(19));
  EXPECT_FALSE(CheckWochenende(18));
  gMonatsAusnahmen = QStringLiteral("Fr:");
  EXPECT_FALSE(CheckFeiertag(18));
  EXPECT_TRUE(CheckWochenende(18));
  EXPECT_FALSE(CheckWochenende(19));
}

// --- School holidays -----------------------------------------------------------------

class FerientageTest : public FeiertageTest {
 protected:
  QString datei() const { return gDatenordner + QStringLiteral("Ferientage.dat"); }
  static QString zeile(const QString& key, int ab, int bis) {
    QString flags(31, u'0');
    for (int d = ab; d <= bis; ++d) flags[d - 1] = u'1';
    return key + u':' + flags;
  }
  QStringList gut() const {
    return {"[Ferientage]", "x", "12632256", "", "", zeile("2503", 3, 7), zeile("2504", 14, 25), zeile("2504", 22, 25)};
  }
};

TEST_F(FerientageTest, LiestEintraegeUndFindetDenMonat) {
  gMonatsschlüssel = QStringLiteral("2504");
  schreiben(datei(), kodiert(gut()));
  Ferientage_lesen();
  ASSERT_EQ(gFerientage.size(), 4);
  EXPECT_EQ(gFerienfarbe, 12632256);
  EXPECT_EQ(gFerienIndex, 3);  // the last entry of the month
  gMonatsschlüssel = QStringLiteral("2503");
  Ferientage_suchen();
  EXPECT_EQ(gFerienIndex, 1);
  gMonatsschlüssel = QStringLiteral("2505");
  Ferientage_suchen();
  EXPECT_EQ(gFerienIndex, 0);
  gBenutzerwerte[27] = 1;  // school holidays not marked
  gMonatsschlüssel = QStringLiteral("2503");
  Ferientage_suchen();
  EXPECT_EQ(gFerienIndex, 0);
}

TEST_F(FerientageTest, EineFehlerhafteZeileVerwirftAlles) {
  gMonatsschlüssel = QStringLiteral("2503");
  QStringList z = gut();
  z << zeile("2505", 1, 1).left(35);
  schreiben(datei(), kodiert(z));
  Ferientage_lesen();
  EXPECT_EQ(Ohne_Null(gFerientage), QStringList{"NoData"});
  EXPECT_EQ(gFerienIndex, 0);
  z = gut();
  z[6] = QStringLiteral("25040") + z[6].mid(5);  // no ":" as 5th character
  schreiben(datei(), kodiert(z));
  Ferientage_lesen();
  EXPECT_EQ(Ohne_Null(gFerientage), QStringList{"NoData"});
}

TEST_F(FerientageTest, FehlendeLeereOderFremdeDateiOhneMeldung) {
  gMonatsschlüssel = QStringLiteral("2503");
  Ferientage_lesen();
  EXPECT_EQ(Ohne_Null(gFerientage), QStringList{"NoData"});
  schreiben(datei(), QByteArray());
  Ferientage_lesen();
  EXPECT_EQ(Ohne_Null(gFerientage), QStringList{"NoData"});
  QStringList z = gut();
  z[0] = QStringLiteral("[Feiertage]");
  schreiben(datei(), kodiert(z));
  Ferientage_lesen();
  EXPECT_EQ(Ohne_Null(gFerientage), QStringList{"NoData"});
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(FerientageTest, NichtNumerischeFarbeGehtZurFehlerbehandlung) {
  QStringList z = gut();
  z[2] = QStringLiteral("blau");
  schreiben(datei(), kodiert(z));
  ERWARTE_PROGRAMMENDE(Ferientage_lesen());
}

TEST_F(FerientageTest, MitgelieferteDateiKommtInEinenOrdnerOhneEine) {
  gMonatsschlüssel = QStringLiteral("2503");
  schreiben(gProgrammordner + QStringLiteral("Ferientage.dat"), kodiert(gut()));
  Ferientage_lesen();
  EXPECT_EQ(lesen(datei()), kodiert(gut()));
  EXPECT_EQ(gFerienIndex, 1);
  // A data folder that has its own file keeps it.
  QStringList eigen = gut();
  eigen.removeLast();
  schreiben(datei(), kodiert(eigen));
  Ferientage_lesen();
  EXPECT_EQ(lesen(datei()), kodiert(eigen));
  // No copy in look-back mode.
  QFile::remove(datei());
  gRückblick = true;
  Ferientage_lesen();
  EXPECT_FALSE(QFile::exists(datei()));
}

// --- Exception markers ----------------------------------------------------------------

class AusnahmenTest : public FeiertageTest {
 protected:
  void SetUp() override {
    FeiertageTest::SetUp();  // today: 10 March 2026
    gFeiertagsdaten = QStringList{QString(),           "260101:Neujahr",          "260106:Heilige Drei Könige",
                                  "260403:Karfreitag", "251225:1. Weihnachtstag", "251226:2. Weihnachtstag"};
  }
  QString monat(const QString& name, const QString& ausnahmen, const QStringList& rest = {"A:max:U"}) {
    const QString pfad = gDatenordner + name;
    QStringList z{u'[' + name.left(4) + u']', "KZ", ausnahmen};
    z << rest;
    schreiben(pfad, kodiert(z));
    return pfad;
  }
  static QString zeile3(const QString& pfad) { return dekodierteZeilen(pfad).value(2); }
};

TEST_F(AusnahmenTest, FeiertageEinfrierenNurVorDemLaufendenMonat) {
  const QString dez = monat("2512 251201 Data.dat", "NoEx:NoEx");
  const QString jan = monat("2601 260105 Data.dat", "NoEx:NoEx15|");
  const QString feb = monat("2602 260201 Data.dat", "NoEx:NoEx");
  const QString febAlt = monat("2602 260115 Data.dat", "NoEx:NoEx");
  const QString mär = monat("2603 260301 Data.dat", "NoEx:NoEx");
  const QString apr = monat("2604 260301 Data.dat", "NoEx:NoEx");
  const QByteArray märVorher = lesen(mär), aprVorher = lesen(apr);
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("F"), QString());
  EXPECT_EQ(zeile3(dez), QStringLiteral("NoEx:25|26|"));
  EXPECT_EQ(zeile3(jan), QStringLiteral("NoEx:01|06|15|"));  // the month's own holiday stays
  EXPECT_EQ(zeile3(feb), QStringLiteral("NoEx:"));           // frozen: no holiday
  // An older version is never read (the newest wins) and goes at the next start check.
  EXPECT_EQ(zeile3(febAlt), QStringLiteral("NoEx:NoEx"));
  EXPECT_EQ(lesen(mär), märVorher);
  EXPECT_EQ(lesen(apr), aprVorher);
  // Every other line is kept.
  EXPECT_EQ(dekodierteZeilen(jan), (QStringList{"[2601]", "KZ", "NoEx:01|06|15|", "A:max:U"}));
  // The frozen months then have those holidays whatever is computed later.
  EXPECT_TRUE(Ist_Feiertag("2601", 6, zeile3(jan), QStringLiteral("000000|")));
  EXPECT_FALSE(Ist_Feiertag("2602", 2, zeile3(feb), QStringLiteral("260202|")));
}

TEST_F(AusnahmenTest, EinGefrorenerTeilUeberstehtEineZweiteAenderung) {
  const QString jan = monat("2601 260105 Data.dat", "NoEx:NoEx");
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("F"), QString());
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("W"), QStringLiteral("SaSo"));
  EXPECT_EQ(zeile3(jan), QStringLiteral("SaSo:01|06|"));
  const QByteArray vorher = lesen(jan);
  gFeiertagsdaten = QStringList{QString(), "260115:Neu"};
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("F"), QString());
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("W"), QStringLiteral("So"));
  EXPECT_EQ(lesen(jan), vorher);  // unchanged, not even rewritten
}

TEST_F(AusnahmenTest, WochenendeEinfrierenUndZuruecksetzen) {
  const QString jan = monat("2601 260105 Data.dat", "NoEx12|:NoEx");
  const QString feb = monat("2602 260201 Data.dat", "MoSaSo03|:04|");
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("W"), QStringLiteral("SaSo"));
  EXPECT_EQ(zeile3(jan), QStringLiteral("SaSo12|:NoEx"));
  EXPECT_EQ(zeile3(feb), QStringLiteral("MoSaSo03|:04|"));
  // A reset lets the months follow the current weekend again; their extra days stay.
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("W"), QStringLiteral("NoEx"));
  EXPECT_EQ(zeile3(jan), QStringLiteral("NoEx12|:NoEx"));
  EXPECT_EQ(zeile3(feb), QStringLiteral("NoEx03|:04|"));
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("F"), QStringLiteral("NoEx"));
  EXPECT_EQ(zeile3(feb), QStringLiteral("NoEx03|:NoEx"));
}

TEST_F(AusnahmenTest, EinfrierenWartetAufDieMonatssperreEinesAnderenArbeitsplatzes) {
  const QString jan = monat("2601 260310 Data.dat", "NoEx:NoEx");
  const QByteArray vorher = lesen(jan);
  // Another workstation is writing January right now.
  const QString sperre = Monatssperre_Datei(QStringLiteral("2601"));
  schreiben(sperre, "anderer Arbeitsplatz");
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("F"), QString());
  EXPECT_EQ(lesen(jan), vorher) << "nothing is written past another workstation's lock";
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_EQ(skript->protokoll[0].text,
            QStringLiteral("Die Monatsdatei 01.2026 wird gerade von einem anderen Arbeitsplatz geschrieben. Die "
                           "Eingabe wurde nicht gespeichert.\r\rBitte versuchen Sie es in einigen Sekunden erneut."));
  EXPECT_TRUE(QFile::exists(sperre)) << "another workstation's lock stays";

  QFile::remove(sperre);
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("F"), QString());
  EXPECT_EQ(dekodierteZeilen(jan), (QStringList{"[2601]", "KZ", "NoEx:01|06|", "A:max:U"}));
  const QStringList rest = QDir(gDatenordner).entryList(QDir::Files);
  EXPECT_EQ(rest, QStringList{"2601 260310 Data.dat"});  // no temporary or lock file left behind
}

TEST_F(AusnahmenTest, BeschaedigteUndFremdeDateienBleibenUnberuehrt) {
  const QString kurz = gDatenordner + QStringLiteral("2601 260105 Data.dat");
  schreiben(kurz, kodiert({"[2601]", "KZ"}));
  const QString fremd = monat("2512 251201 Data.dat", "NoEx:NoEx");
  schreiben(fremd, kodiert({"[2511]", "KZ", "NoEx:NoEx"}));  // header of another month
  const QString anders = gDatenordner + QStringLiteral("Sicherung Data.dat");
  schreiben(anders, kodiert({"[x]", "KZ", "NoEx:NoEx"}));
  const QByteArray a = lesen(kurz), b = lesen(fremd), c = lesen(anders);
  Ausnahmedaten_in_Erfassungdateien_übernehmen(QStringLiteral("F"), QString());
  EXPECT_EQ(lesen(kurz), a);
  EXPECT_EQ(lesen(fremd), b);
  EXPECT_EQ(lesen(anders), c);
  EXPECT_TRUE(skript->protokoll.empty());
}

// --- The shipped country holiday master file ------------------------------------------

class Masterdatei : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(MasterdateiPfad())) << qPrintable(MasterdateiPfad());
    zeilen = dekodierteZeilen(MasterdateiPfad());
  }
  QStringList zeilen;
};

TEST_F(Masterdatei, JederBlockHat16AuswertbareDefinitionen) {
  ASSERT_FALSE(zeilen.isEmpty());
  EXPECT_EQ(zeilen[0], QStringLiteral("[VelkoraFeiertageDat]"));
  QStringList köpfe;
  for (qsizetype i = 1; i < zeilen.size(); ++i) {
    if (!zeilen[i].startsWith(u'[')) continue;
    köpfe << zeilen[i];
    qsizetype n = 0;
    for (qsizetype j = i + 1; j < zeilen.size() && !zeilen[j].startsWith(u'['); ++j, ++n) {
      const QString& def = zeilen[j];
      SCOPED_TRACE(qPrintable(zeilen[i] + u' ' + def));
      ASSERT_GE(def.size(), 11);
      EXPECT_TRUE(def[0] == u'0' || def[0] == u'1');
      EXPECT_EQ(def[1], u':');
      EXPECT_EQ(def[8], u':');
      for (int jahr = 2025; jahr <= 2050; ++jahr) {
        const QString d = Feiertagsregel_auswerten(def.mid(2, 6), jahr);
        const QDate datum = QDate::fromString(d.left(6) + QString::number(jahr), QStringLiteral("dd.MM.yyyy"));
        ASSERT_TRUE(datum.isValid()) << jahr;
        ASSERT_EQ(d.mid(6), QStringLiteral("%1").arg(jahr % 100, 2, 10, QChar(u'0'))) << jahr;
      }
    }
    EXPECT_EQ(n, 16) << qPrintable(zeilen[i]);
  }
  EXPECT_EQ(köpfe,
            (QStringList{"[049 Deutschland]", "[001 United States]", "[033 France]", "[034 España]", "[002 Canada]"}));
}

TEST_F(Masterdatei, LaenderblockLiefertNameUnd16Definitionen) {
  const Ländervorlage de = Länderblock(zeilen, QStringLiteral("049"));
  EXPECT_TRUE(de.gefunden);
  EXPECT_EQ(de.land, QStringLiteral("Deutschland"));
  EXPECT_EQ(de.definitionen.size(), 16);
  EXPECT_EQ(Länderblock(zeilen, QStringLiteral("034")).land, QStringLiteral("España"));
  const Ländervorlage keins = Länderblock(zeilen, QStringLiteral("000"));
  EXPECT_FALSE(keins.gefunden);
  EXPECT_TRUE(keins.land.isEmpty());
  EXPECT_EQ(keins.definitionen, QStringList(16, kLeereFeiertagsdefinition));
  // A block cut short by the end of the file is filled with empty entries.
  const Ländervorlage kurz = Länderblock({"[VelkoraFeiertageDat]", "[049 Deutschland]", "1:01.01.:Neujahr",
                                          "[001 United States]", "1:04.07.:Independence Day"},
                                         QStringLiteral("049"));
  EXPECT_EQ(kurz.definitionen.size(), 16);
  EXPECT_EQ(kurz.definitionen[1], kLeereFeiertagsdefinition);
}

TEST_F(Masterdatei, DeutscheFeiertageAnBekanntenDaten) {
  QStringList defs{QString()};
  for (QString d : Länderblock(zeilen, QStringLiteral("049")).definitionen) {
    d[0] = u'1';  // every regional holiday too
    defs << d;
  }
  const QString t2026 = Feiertagstabelle_bilden(Feiertage_ermitteln(defs, 2026));
  for (const char* tag : {"260101", "260106", "260308", "260403", "260406", "260501", "260514", "260525", "260604",
                          "260815", "261003", "261031", "261101", "261118", "261225", "261226"})
    EXPECT_TRUE(t2026.contains(QString::fromUtf8(tag) + u'|')) << tag;
  EXPECT_EQ(t2026.count(u'|'), 3 * 16);
  // Easter on 25 March 2035 and on 25 April 2038.
  const QString t2035 = Feiertagstabelle_bilden(Feiertage_ermitteln(defs, 2035));
  for (const char* tag : {"350323", "350326", "350503", "350514", "350524", "351121"})
    EXPECT_TRUE(t2035.contains(QString::fromUtf8(tag) + u'|')) << tag;
  const QString t2038 = Feiertagstabelle_bilden(Feiertage_ermitteln(defs, 2038));
  for (const char* tag : {"380423", "380426", "380603", "380614", "380624", "381117"})
    EXPECT_TRUE(t2038.contains(QString::fromUtf8(tag) + u'|')) << tag;
  // Only the nationwide holidays are in use by default, regional ones carry their states.
  const Ländervorlage de = Länderblock(zeilen, QStringLiteral("049"));
  for (const QString& d : de.definitionen) EXPECT_EQ(d[0] == u'0', d.endsWith(u')')) << qPrintable(d);
  const QStringList standard = Feiertage_ermitteln(QStringList{QString()} + de.definitionen, 2026);
  EXPECT_EQ(standard.size() - 1, 3 * 9);
  EXPECT_EQ(standard[1], QStringLiteral("260101:Neujahr"));
}

TEST_F(Masterdatei, BeweglicheFeiertageAndererLaender) {
  const auto tabelle = [&](const char* code, int jahr) {
    return Feiertagstabelle_bilden(
        Feiertage_ermitteln(QStringList{QString()} + Länderblock(zeilen, QString::fromUtf8(code)).definitionen, jahr));
  };
  const QString us = tabelle("001", 2026);
  // MLK Day, Washington's Birthday, Memorial Day, Labor Day, Columbus Day, Thanksgiving.
  for (const char* tag : {"260119", "260216", "260525", "260907", "261012", "261126", "271125"})
    EXPECT_TRUE(us.contains(QString::fromUtf8(tag) + u'|')) << tag;
  const QString ca = tabelle("002", 2025);
  // Good Friday, Victoria Day, Labour Day, Thanksgiving.
  for (const char* tag : {"250418", "250519", "250901", "251013", "260518"})
    EXPECT_TRUE(ca.contains(QString::fromUtf8(tag) + u'|')) << tag;
  const QString fr = tabelle("033", 2025);
  for (const char* tag : {"250421", "250529", "250609", "250714"})
    EXPECT_TRUE(fr.contains(QString::fromUtf8(tag) + u'|')) << tag;
  EXPECT_FALSE(fr.contains(QStringLiteral("250418|")));  // Good Friday only in Alsace-Moselle
  const QString es = tabelle("034", 2025);
  EXPECT_TRUE(es.contains(QStringLiteral("250418|")));
  EXPECT_FALSE(es.contains(QStringLiteral("250417|")));  // Maundy Thursday not nationwide
}
