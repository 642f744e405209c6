#include "startup/Umrechnungen.h"

#include "common/Gebietsschema.h"
#include "common/Testumgebung.h"
#include "platform/Textfeld.h"
#include "startup/Start.h"

namespace {

// A text box that records what the date check does with it.
struct Testfeld : Textfeld {
  QString inhalt;
  int länge = 8;
  int fokus = 0;
  int markiert = 0;
  QString text() const override { return inhalt; }
  void setText(const QString& t) override { inhalt = t; }
  int maxLength() const override { return länge; }
  void setFocus() override { ++fokus; }
  void selectAll() override { ++markiert; }
};

class UmrechnungenTest : public VelkoraTest {
 protected:
  void reihenfolge(int r, const QString& trenner) {
    gDatumsreihenfolge = r;
    gDatumstrennzeichen = trenner;
  }
};

// ---- stored and displayed dates ---------------------------------------------------

TEST_F(UmrechnungenTest, AngezeigtesDatumInAllenReihenfolgen) {
  struct Fall {
    int reihenfolge;
    QString trenner, angezeigt;
  };
  const Fall fälle[] = {{1, ".", "15.03.27"}, {0, "/", "03/15/27"}, {2, "-", "27-03-15"}, {1, "x", "15x03x27"}};
  const QDate datum(2027, 3, 15);
  for (const Fall& f : fälle) {
    SCOPED_TRACE(qPrintable(f.angezeigt));
    reihenfolge(f.reihenfolge, f.trenner);
    EXPECT_EQ(FormatDatumDS(datum), u"270315");
    EXPECT_EQ(FormatDatumSA(QStringLiteral("270315")), f.angezeigt);
    EXPECT_EQ(FormatDatumAS(f.angezeigt), u"270315");
    EXPECT_EQ(FormatDatumDA(datum), f.angezeigt);
    EXPECT_EQ(FormatDatumAD(f.angezeigt), datum);
  }
}

TEST_F(UmrechnungenTest, LangesDatumMitVierstelligemJahrInAllenReihenfolgen) {
  struct Fall {
    int reihenfolge;
    QString trenner, lang, mitStrich;
  };
  const Fall fälle[] = {{1, ".", "05.03.2027", "05-03-2027"},
                        {0, "/", "03/05/2027", "03-05-2027"},
                        {2, " ", "2027 03 05", "2027-03-05"},
                        {7, ".", "05.03.2027", "05-03-2027"}};
  for (const Fall& f : fälle) {
    SCOPED_TRACE(qPrintable(f.lang));
    reihenfolge(f.reihenfolge, f.trenner);
    EXPECT_EQ(Datum_lang(QDate(2027, 3, 5)), f.lang);
    EXPECT_EQ(Datum_lang(QDate(2027, 3, 5), QStringLiteral("-")), f.mitStrich);
  }
}

TEST_F(UmrechnungenTest, DatumsumwandlungenSindUmkehrbar) {
  for (int r = 0; r <= 2; ++r) {
    reihenfolge(r, r == 0 ? QStringLiteral("/") : r == 1 ? QStringLiteral(".") : QStringLiteral("-"));
    for (QDate d(2000, 1, 1); d.year() < 2100; d = d.addDays(13)) {
      const QString gespeichert = FormatDatumDS(d);
      ASSERT_EQ(gespeichert.size(), 6);
      ASSERT_EQ(FormatDatumSD(gespeichert), d);
      ASSERT_EQ(FormatDatumAD(FormatDatumDA(d)), d) << r;
      ASSERT_EQ(FormatDatumAS(FormatDatumSA(gespeichert)), gespeichert) << r;
    }
  }
}

TEST_F(UmrechnungenTest, GespeichertesDatumRolltUeberWieEinDatumAusTeilen) {
  EXPECT_EQ(FormatDatumSD(QStringLiteral("270229")), QDate(2027, 3, 1));
  EXPECT_EQ(FormatDatumSD(QStringLiteral("271301")), QDate(2028, 1, 1));
}

TEST_F(UmrechnungenTest, NichtNumerischesGespeichertesDatumGehtAnDieFehlerbehandlung) {
  for (const char* s : {"27a315", "", "2703"}) {
    SCOPED_TRACE(s);
    ERWARTE_PROGRAMMENDE(FormatDatumSD(QString::fromLatin1(s)));
    ASSERT_FALSE(skript->protokoll.empty());
    EXPECT_TRUE(skript->protokoll.back().text.contains(u"modVelkora - FormatDatumSD"));
    EXPECT_TRUE(skript->protokoll.back().text.contains(u"Fehler Nr. 13"));
  }
}

// ---- CheckDatum -------------------------------------------------------------------

const QString kKurz = QStringLiteral("Das eingegebene Datum ist zu kurz");
const QString kUnplausibel = QStringLiteral("Datumseingabe nicht plausibel");

TEST_F(UmrechnungenTest, CheckDatumPrueftUndVervollstaendigt) {
  struct Fall {
    int reihenfolge;
    const char* trenner;
    const char* eingabe;
    int länge;
    bool ok;
    QString ergebnis;  // the box afterwards when accepted
    QString meldung;   // the message when refused
  };
  const Fall fälle[] = {
      // day-month-year with "."
      {1, ".", "1505", 8, true, "15.05.27", {}},
      {1, ".", "150528", 8, true, "15.05.28", {}},
      {1, ".", "1.5", 8, true, "01.05.27", {}},
      {1, ".", "15.5", 8, true, "15.05.27", {}},
      {1, ".", "31.4", 8, true, "30.04.27", {}},
      {1, ".", "31.02.27", 8, true, "28.02.27", {}},
      {1, ".", "29.2.2028", 8, true, "29.02.28", {}},
      {1, ".", "  15.05.2027 ", 8, true, "15.05.27", {}},
      {1, ".", "1.4.98", 8, true, "01.04.98", {}},
      {1, ".", "1.4.5", 8, true, "01.04.05", {}},
      {1, ".", "15.5", 6, true, "15.05.", {}},
      {1, ".", "15.05.28", 6, true, "15.05.", {}},
      {1, ".", "15a5", 8, false, {}, "Unzulässiges Zeichen 'a' im Datum enthalten"},
      {1, ".", "15/5", 8, false, {}, "Unzulässiges Zeichen '/' im Datum enthalten"},
      {1, ".", "15", 8, false, {}, kKurz},
      {1, ".", "1.", 8, false, {}, kKurz},
      {1, ".", "15052027", 8, false, {}, "Kein Datumstrennzeichen '.' gefunden"},
      {1, ".", "15052", 8, false, {}, "Kein Datumstrennzeichen '.' gefunden"},
      {1, ".", "32.01", 8, false, {}, kUnplausibel},
      {1, ".", "0.01", 8, false, {}, kUnplausibel},
      {1, ".", "15.13", 8, false, {}, kUnplausibel},
      {1, ".", "15..27", 8, false, {}, kUnplausibel},
      // Years that stored dates (yymmdd, read back as 20yy) cannot hold.
      {1, ".", "15.05.1999", 8, false, {}, kUnplausibel},
      {1, ".", "15.05.2100", 8, false, {}, kUnplausibel},
      {1, ".", "15.05.199", 8, false, {}, kUnplausibel},
      {1, ".", "15.05.99999999999999999999", 8, false, {}, kUnplausibel},
      {1, ".", "99999999999999999999.5", 8, false, {}, kUnplausibel},
      // A fourth part would otherwise be dropped silently.
      {1, ".", "1.2.27.4", 8, false, {}, kUnplausibel},
      // month-day-year with "/"
      {0, "/", "5/15", 8, true, "05/15/27", {}},
      {0, "/", "0515", 8, true, "05/15/27", {}},
      {0, "/", "051528", 8, true, "05/15/28", {}},
      {0, "/", "1/5", 8, true, "01/05/27", {}},
      {0, "/", "2/31/2028", 8, true, "02/29/28", {}},
      {0, "/", "5/15", 6, true, "05/15/", {}},
      {0, "/", "15/5", 8, false, {}, kUnplausibel},
      {0, "/", "5.15", 8, false, {}, "Unzulässiges Zeichen '.' im Datum enthalten"},
      // year-month-day with "-"
      {2, "-", "270515", 8, true, "27-05-15", {}},
      {2, "-", "0515", 8, true, "27-05-15", {}},
      {2, "-", "5-15", 8, true, "27-05-15", {}},
      {2, "-", "1-5", 8, true, "27-01-05", {}},
      {2, "-", "2028-2-30", 8, true, "28-02-29", {}},
      {2, "-", "28-05-15", 6, true, "05-15-", {}},
      {2, "-", "5-15", 6, true, "05-15-", {}},
      {2, "-", "1999-05-15", 8, false, {}, kUnplausibel},
      {2, "-", "27-15-05", 8, false, {}, kUnplausibel},
  };
  gHeute = QDate(2027, 6, 10);
  for (const Fall& f : fälle) {
    SCOPED_TRACE(
        QStringLiteral("%1 '%2' %3").arg(f.reihenfolge).arg(QString::fromUtf8(f.eingabe)).arg(f.länge).toStdString());
    reihenfolge(f.reihenfolge, QString::fromLatin1(f.trenner));
    for (const bool meldungen : {true, false}) {
      skript = &dialoge::skript();
      gDatumsprüfungOffen = false;
      Testfeld feld;
      feld.inhalt = QString::fromUtf8(f.eingabe);
      feld.länge = f.länge;
      EXPECT_EQ(CheckDatum(feld, meldungen), f.ok);
      EXPECT_EQ(gDatumsprüfungOffen, !f.ok);
      if (f.ok) {
        EXPECT_EQ(feld.inhalt, f.ergebnis);
        EXPECT_TRUE(skript->protokoll.empty());
        EXPECT_EQ(feld.fokus, 0);
      } else if (meldungen) {
        ASSERT_EQ(skript->texte().size(), 1u);
        EXPECT_EQ(skript->texte()[0], f.meldung);
        // The user corrects the date in place.
        EXPECT_EQ(feld.fokus, 1);
        EXPECT_EQ(feld.markiert, 1);
      } else {
        EXPECT_TRUE(skript->protokoll.empty());
        EXPECT_EQ(feld.fokus, 0);
      }
    }
  }
}

TEST_F(UmrechnungenTest, CheckDatumLaesstLeeresFeldUndDieMarkeInRuhe) {
  for (const bool offen : {false, true}) {
    for (const char* eingabe : {"", "   "}) {
      gDatumsprüfungOffen = offen;
      Testfeld feld;
      feld.inhalt = QString::fromLatin1(eingabe);
      EXPECT_TRUE(CheckDatum(feld, true));
      EXPECT_EQ(feld.inhalt, u"");
      EXPECT_EQ(gDatumsprüfungOffen, offen);
    }
  }
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(UmrechnungenTest, ZweistelligesJahrWirdGespeichertWieEingegeben) {
  // An employment start typed as 01.04.98 must come back as the same year from the file.
  gHeute = QDate(2027, 6, 10);
  Testfeld feld;
  feld.inhalt = QStringLiteral("1.4.98");
  ASSERT_TRUE(CheckDatum(feld, true));
  EXPECT_EQ(FormatDatumAD(feld.inhalt), QDate(2098, 4, 1));
  feld.inhalt = QStringLiteral("1.4.2030");
  ASSERT_TRUE(CheckDatum(feld, true));
  EXPECT_EQ(FormatDatumSD(FormatDatumAS(feld.inhalt)), QDate(2030, 4, 1));
}

TEST_F(UmrechnungenTest, CheckDatumOhneJahrNimmtDasJahrVonHeute) {
  gHeute = QDate(2049, 12, 31);
  Testfeld feld;
  feld.inhalt = QStringLiteral("29.2");
  ASSERT_TRUE(CheckDatum(feld, false));
  EXPECT_EQ(feld.inhalt, u"28.02.49");
}

// ---- calendar -----------------------------------------------------------------------

TEST_F(UmrechnungenTest, AnzahlMonatstage) {
  EXPECT_EQ(Anzahl_Monatstage(QStringLiteral("2802"), 0), 29);
  EXPECT_EQ(Anzahl_Monatstage(QStringLiteral("2702"), 0), 28);
  EXPECT_EQ(Anzahl_Monatstage(QStringLiteral("2712"), 0), 31);
  EXPECT_EQ(Anzahl_Monatstage(2027, 2), 28);
  EXPECT_EQ(Anzahl_Monatstage(2028, 2), 29);
  EXPECT_EQ(Anzahl_Monatstage(2100, 2), 28);
  EXPECT_EQ(Anzahl_Monatstage(QStringLiteral("2027"), 4), 30);
  EXPECT_EQ(Anzahl_Monatstage(0, 2), 29);  // 2000
  EXPECT_EQ(Anzahl_Monatstage(2802, 0), 29);
  EXPECT_EQ(Anzahl_Monatstage(2027, 13), 0);
}

// Easter by the anonymous Gregorian algorithm, independent of the rule the program uses.
QDate OsternNachMeeus(int j) {
  const int a = j % 19, b = j / 100, c = j % 100, d = b / 4, e = b % 4;
  const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
  const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
  const int m = (a + 11 * h + 22 * l) / 451;
  const int n = h + l - 7 * m + 114;
  return QDate(j, n / 31, n % 31 + 1);
}

TEST_F(UmrechnungenTest, Osterdatum) {
  EXPECT_EQ(Osterdatum(2025), QDate(2025, 4, 20));
  EXPECT_EQ(Osterdatum(2026), QDate(2026, 4, 5));
  EXPECT_EQ(Osterdatum(2027), QDate(2027, 3, 28));
  EXPECT_EQ(Osterdatum(2049), QDate(2049, 4, 18));
  for (int j = 1900; j <= 2099; ++j) EXPECT_EQ(Osterdatum(j), OsternNachMeeus(j)) << j;
}

TEST_F(UmrechnungenTest, Monatsname) {
  const QStringList namen = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                             "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(Monatsname(m), namen[m - 1]);
  EXPECT_EQ(Monatsname(13), u"Januar");
  EXPECT_EQ(Monatsname(0), u"Dezember");
}

// ---- codes, colours, numbers, texts ----------------------------------------------

TEST_F(UmrechnungenTest, DecHexUndHexDec) {
  const QString codes = QStringLiteral("123456789ABCDEFGHIJKLMNOPQ");
  for (int w = 1; w <= 26; ++w) {
    EXPECT_EQ(DecHex(w), codes.mid(w - 1, 1));
    EXPECT_EQ(HexDec(DecHex(w)), w);
  }
  for (int w : {0, 27, -1, 100}) EXPECT_EQ(DecHex(w), u"") << w;
  for (const char* z : {"0", "q", "#", "R", "", "AB", " "}) EXPECT_EQ(HexDec(QString::fromLatin1(z)), 0) << z;
}

TEST_F(UmrechnungenTest, HexFarbe) {
  EXPECT_EQ(HexFarbe(0x0080FF), u"&H0080FF");  // red 255, green 128, blue 0
  EXPECT_EQ(HexFarbe(0x0000FF), u"&H0000FF");  // red
  EXPECT_EQ(HexFarbe(0xFF0000), u"&HFF0000");  // blue
  EXPECT_EQ(HexFarbe(0), u"&H000000");
  EXPECT_EQ(HexFarbe(0xFFFFFF), u"&HFFFFFF");
  EXPECT_EQ(HexFarbe(0x0A0B0C), u"&H0A0B0C");
  EXPECT_EQ(HexFarbe(static_cast<qint32>(0x80000005)), u"&H000005");  // only the colour bytes
}

TEST_F(UmrechnungenTest, BenFormat) {
  const std::pair<const char*, const char*> fälle[] = {
      {"12,5", "012,5"},  {"-3", "-03,0"},    {"-150,5", "-99,5"}, {"1234,5", "999,5"},    {"", "000,0"},
      {"   ", "000,0"},   {" 7 ", "007,0"},   {"0", "000,0"},      {"999", "999,0"},       {"-99", "-99,0"},
      {"-99,5", "-99,5"}, {"0,05", "000,1"},  {"0,25", "000,3"},   {"1,05", "001,1"},      {"2,45", "002,5"},
      {"-0,25", "-00,3"}, {"-2,45", "-02,5"}, {"9,95", "010,0"},   {"99,96", "100,0"},     {"0,04", "000,0"},
      {"12.5", "012,5"},  {"+4,5", "004,5"},  {",5", "000,5"},     {"123456789", "999,0"},
  };
  for (const auto& [ein, aus] : fälle) EXPECT_EQ(BenFormat(QString::fromLatin1(ein)), QString::fromLatin1(aus)) << ein;
  gDezimaltrennzeichen = QStringLiteral(".");
  EXPECT_EQ(BenFormat(QStringLiteral("12.5")), u"012.5");
  EXPECT_EQ(BenFormat(QStringLiteral("-150.5")), u"-99.5");
}

// Day counts and dates come out the same whatever the process locale: a half day is
// not cut off where the C library reads a decimal comma.
class UmrechnungenImGebietsschema : public UnterGebietsschema<UmrechnungenTest> {};

TEST_P(UmrechnungenImGebietsschema, TageszahlenUndDatenFolgenNichtDemProzessgebietsschema) {
  const std::pair<const char*, const char*> fälle[] = {
      {"3,5", "003,5"},   {"61,5", "061,5"},   {"-3,5", "-03,5"},  {"2.5", "002,5"},
      {"0,5", "000,5"},   {"1,05", "001,1"},   {"+4,5", "004,5"},  {",5", "000,5"},
      {"999,5", "999,5"}, {"-150,5", "-99,5"}, {"61.25", "061,3"}, {"30", "030,0"},
  };
  for (const auto& [ein, aus] : fälle) EXPECT_EQ(BenFormat(QString::fromLatin1(ein)), QString::fromLatin1(aus)) << ein;
  gDezimaltrennzeichen = QStringLiteral(".");
  EXPECT_EQ(BenFormat(QStringLiteral("3.5")), u"003.5");

  // Dates: typed -> completed box -> stored, and the year the check read.
  struct Datumsfall {
    const char* getippt;
    bool ok;
    const char* angezeigt;
    const char* gespeichert;
    QDate gelesen;
  };
  const Datumsfall daten[] = {
      {"31.12.2026", true, "31.12.26", "261231", QDate(2026, 12, 31)},
      {"1.3.2099", true, "01.03.99", "990301", QDate(2099, 3, 1)},
      {"31.12.35", true, "31.12.35", "351231", QDate(2035, 12, 31)},
      {"31.12.99", true, "31.12.99", "991231", QDate(1999, 12, 31)},
      {"1.1.50", true, "01.01.50", "500101", QDate(1950, 1, 1)},
      {"31.12.49", true, "31.12.49", "491231", QDate(2049, 12, 31)},
      {"31.12.1999", false, "31.12.1999", "", QDate(1999, 12, 31)},
      {"1.1.2100", false, "1.1.2100", "", QDate(2100, 1, 1)},
      {"32.1.2026", false, "32.1.2026", "", QDate()},
  };
  gHeute = QDate(2027, 6, 10);
  reihenfolge(1, QStringLiteral("."));
  for (const Datumsfall& d : daten) {
    SCOPED_TRACE(d.getippt);
    Testfeld feld;
    feld.inhalt = QString::fromLatin1(d.getippt);
    QDate gelesen(2001, 1, 1);
    EXPECT_EQ(CheckDatum(feld, false, &gelesen), d.ok);
    EXPECT_EQ(feld.inhalt, QString::fromLatin1(d.angezeigt));
    EXPECT_EQ(gelesen, d.gelesen);
    if (d.ok) {
      EXPECT_EQ(FormatDatumAS(feld.inhalt), QString::fromLatin1(d.gespeichert));
    }
  }
}

INSTANTIATE_GEBIETSSCHEMATA(UmrechnungenImGebietsschema);

TEST_F(UmrechnungenTest, BenFormatOhneZahlGehtAnDieFehlerbehandlung) {
  for (const char* s : {"abc", "1,2,3", "-", "1e5"}) {
    SCOPED_TRACE(s);
    skript = &dialoge::skript();
    ERWARTE_PROGRAMMENDE(BenFormat(QString::fromLatin1(s)));
    ASSERT_EQ(skript->texte().size(), 1u);
    EXPECT_TRUE(skript->texte()[0].contains(u"modVelkora - BenFormat"));
  }
}

TEST_F(UmrechnungenTest, Ersetzen) {
  struct Fall {
    QString text, suche, ersatz, ergebnis;
  };
  const Fall fälle[] = {
      {"a|b||c", "|", "\r", "a\rb\r\rc"}, {"A&B", "&", "&&", "A&&B"},
      {"&&", "&", "&&", "&&&&"},          {"12,5", ",", ".", "12.5"},
      {"01/05/27", "/", "-", "01-05-27"}, {"abcABC", "B", "x", "abcAxC"},
      {"aaaa", "aa", "a", "aa"},          {"abb", "ab", "ba", "bab"},
      {"text", "", "x", "text"},          {"", "a", "b", ""},
  };
  for (const Fall& f : fälle) EXPECT_EQ(Ersetzen(f.text, f.suche, f.ersatz), f.ergebnis) << qPrintable(f.text);
}

TEST_F(UmrechnungenTest, ExtrahiereKonsonanten) {
  EXPECT_EQ(Extrahiere_Konsonanten(QStringLiteral("Ländereinstellungen")), u"Lndrnstllngn");
  EXPECT_EQ(Extrahiere_Konsonanten(QStringLiteral("Größe & Maße 12!")), u"GrM");
  EXPECT_EQ(Extrahiere_Konsonanten(QStringLiteral("aeiouÄÖÜ")), u"");
}

}  // namespace
