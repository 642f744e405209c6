#include "store/Ueberstunden.h"

#include <QFile>
#include <limits>

#include "common/Testnamen.h"
#include "common/Testumgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"

namespace {

const QString kMeldung =
    QStringLiteral("Die Überstundendaten können nicht angezeigt werden, da folgendes Problem aufgetreten ist:\r\r");

QStringList Kopf(const QString& jahr = QStringLiteral("2026")) {
  return {QStringLiteral("[UStunden]"),
          QStringLiteral("Programm"),
          QStringLiteral("x"),
          QString(),
          QStringLiteral("y"),
          QStringLiteral("[UStdDaten]"),
          jahr};
}

class UeberstundenTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gDatumstrennzeichen = QStringLiteral(".");
  }
  QString pfad() const { return gDatenordner + QStringLiteral("ÜStunden 2026.dat"); }
  void datei(const QStringList& zeilen) const { schreiben(pfad(), kodierteDatei(zeilen)); }
  QString meldung(const QString& problemzeile) const {
    return kMeldung + problemzeile + QStringLiteral("\r\rBetroffene Datei: ") + ShowPfad(pfad(), 100);
  }
};

struct Kopffall {
  const char* name;
  QStringList zeilen;
  const char16_t* problemzeile;  // nullptr: no message
};
class UeberstundenKopfTest : public UeberstundenTest, public ::testing::WithParamInterface<Kopffall> {};

TEST_P(UeberstundenKopfTest, EinFehlerhafterKopfWirdEinmalGemeldetUndLiefertKeineDaten) {
  datei(GetParam().zeilen);
  EXPECT_EQ(ÜStunden_lesen(2026), std::nullopt);
  const auto texte = skript->texte();
  if (GetParam().problemzeile)
    EXPECT_EQ(texte, std::vector<QString>{meldung(QString::fromUtf16(GetParam().problemzeile))});
  else
    EXPECT_TRUE(texte.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Koepfe, UeberstundenKopfTest,
    ::testing::Values(Kopffall{"SechsZeilen", Kopf().mid(0, 6), u"Dateiheader unvollständig"},
                      Kopffall{"ErsteZeile", QStringList{"[Ustunden]"} + Kopf().mid(1) + QStringList{"[a|anna|b]"},
                               u"Der Dateiheader [UStunden] wurde nicht erkannt"},
                      Kopffall{"SechsteZeile", Kopf().mid(0, 5) + QStringList{"[UStdDat]", "2026", "[a|anna|b]"},
                               u"Der Dateiheader [UStdDaten] wurde nicht erkannt"},
                      Kopffall{"Vorjahr", Kopf(QStringLiteral("2025")) + QStringList{"[a|anna|b]"},
                               u"Dateikorruption entdeckt! Daten für '2026' erwartet, aber Daten für '2025' gefunden"},
                      Kopffall{"JahrMitMehrZeichen", Kopf(QStringLiteral("2026 ")) + QStringList{"[a|anna|b]"},
                               u"Dateikorruption entdeckt! Daten für '2026' erwartet, aber Daten für '2026' gefunden"},
                      Kopffall{"GenauSiebenZeilen", Kopf(), nullptr}),
    NachName{});

TEST_F(UeberstundenTest, DieDatenzeilenBeginnenMitZeileAchtUndLeereZeilenBleibenLeer) {
  datei(Kopf() + QStringList{"[a|anna|b]", QString(), QStringLiteral("0203€45|Auszahlung")});
  // "€" is 128 in Windows-1252: the key 'K' starts the counter at 11, so the fifth
  // character of the last line is stored as 128 + 16.
  const QList<QByteArray> roh = lesen(pfad()).split('\n');
  ASSERT_EQ(roh.size(), 11);
  EXPECT_EQ(roh[8], "\r") << "an empty line of the file";
  EXPECT_EQ(static_cast<unsigned char>(roh[9].at(5)), 144);
  const auto daten = ÜStunden_lesen(2026);
  ASSERT_TRUE(daten.has_value());
  EXPECT_EQ(*daten, (QStringList{QString(), "[a|anna|b]", QString(), "0203€45|Auszahlung"}));
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_TRUE(gOffeneDatei.isEmpty());
  EXPECT_EQ(ÜStunden_lesen(2027), std::nullopt) << "no file, no message";
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(UeberstundenTest, EineLeereDateiIstEinUnvollstaendigerKopfNieDieStartreparatur) {
  schreiben(pfad(), QByteArray());
  EXPECT_EQ(ÜStunden_lesen(2026), std::nullopt);
  const auto texte = skript->texte();
  ASSERT_EQ(texte.size(), 2u);
  EXPECT_TRUE(
      texte[0].endsWith(QStringLiteral(" wird gerade von jemand anderem benutzt. Bitte einige Sekunden "
                                       "warten und dann fortsetzen.")))
      << texte[0].toStdString();
  EXPECT_EQ(texte[1], meldung(QStringLiteral("Dateiheader unvollständig")));
  EXPECT_TRUE(gStörungsmeldung.isEmpty());
  EXPECT_TRUE(QFile::exists(pfad()));
}

TEST_F(UeberstundenTest, EineDateiDieSichNichtOeffnenLaesstWirdGemeldetOhneProgrammende) {
  // The data folder never follows a link: the file is there but does not open.
  const QString ziel = ordner() + QStringLiteral("woanders.dat");
  schreiben(ziel, kodierteDatei(Kopf()));
  ASSERT_TRUE(QFile::link(ziel, pfad()));
  EXPECT_EQ(ÜStunden_lesen(2026), std::nullopt);
  EXPECT_EQ(skript->texte(), std::vector<QString>{meldung(
                                 QStringLiteral("Überstundendaten konnten nicht gelessen werden, Fehler in Zeile0"))});
  EXPECT_TRUE(gOffeneDatei.isEmpty());
}

struct Satzfall {
  const char* name;
  const char16_t* zeile;
  qint64 saldoVorher;
  bool gelesen;
  const char16_t *datum, *art;
  qint64 minuten, saldo;
  const char16_t* bemerkung;
};
class UeberstundenSatzTest : public UeberstundenTest, public ::testing::WithParamInterface<Satzfall> {};

TEST_P(UeberstundenSatzTest, SplitDatensatz) {
  const Satzfall& f = GetParam();
  ÜStd_Satz s;
  s.Saldo = f.saldoVorher;
  s.Bemerkung = QStringLiteral("vorher");
  EXPECT_EQ(SplitDatensatz(QString::fromUtf16(f.zeile), 2026, s), f.gelesen);
  if (!f.gelesen) {
    EXPECT_EQ(s.Saldo, f.saldoVorher) << "a line that does not read leaves the balance";
    EXPECT_EQ(s.Bemerkung, u"vorher");
    return;
  }
  EXPECT_EQ(s.Datum, QString::fromUtf16(f.datum));
  EXPECT_EQ(s.Art, QString::fromUtf16(f.art));
  EXPECT_EQ(s.Minuten, f.minuten);
  EXPECT_EQ(s.Saldo, f.saldo);
  EXPECT_EQ(s.Bemerkung, QString::fromUtf16(f.bemerkung));
}

constexpr qint64 kMax = std::numeric_limits<qint32>::max();

INSTANTIATE_TEST_SUITE_P(
    Saetze, UeberstundenSatzTest,
    ::testing::Values(
        Satzfall{"NegativerUebertrag", u"U-90", 500, true, u"01.01.26", u"-", 90, -90, u"Übertrag aus Vorjahr"},
        Satzfall{"PositiverUebertrag", u"U90", -7, true, u"01.01.26", u"+", 90, 90, u"Übertrag aus Vorjahr"},
        Satzfall{"NullUebertrag", u"U0", 12, true, u"01.01.26", u"+", 0, 0, u"Übertrag aus Vorjahr"},
        Satzfall{"Plus", u"0115+30|Gleitzeit", -90, true, u"15.01.26", u"+", 30, -60, u"Gleitzeit"},
        Satzfall{"Euro", u"0203€30|Auszahlung", 100, true, u"03.02.26", u"€", 30, 70, u"Auszahlung"},
        Satzfall{"LeereBemerkung", u"1231-15|", 0, true, u"31.12.26", u"-", 15, -15, u""},
        Satzfall{"BemerkungMitTrenner", u"0301+5|a|b|", 0, true, u"01.03.26", u"+", 5, 5, u"a|b|"},
        Satzfall{"AndereArt", u"0301x5|", 10, true, u"01.03.26", u"x", 5, 5, u""},
        Satzfall{"GroessteMinuten", u"0301+2147483647|", kMax, true, u"01.03.26", u"+", kMax, 2 * kMax, u""},
        Satzfall{"Leer", u"", 1, false, u"", u"", 0, 0, u""},
        Satzfall{"OhneTrenner", u"0115+30", 1, false, u"", u"", 0, 0, u""},
        Satzfall{"OhneZiffern", u"0115+|x", 1, false, u"", u"", 0, 0, u""},
        Satzfall{"TrennerZuFrueh", u"01|5+30", 1, false, u"", u"", 0, 0, u""},
        Satzfall{"KeineZahl", u"0115+3a|x", 1, false, u"", u"", 0, 0, u""},
        Satzfall{"Vorzeichen", u"0115+-3|x", 1, false, u"", u"", 0, 0, u""},
        Satzfall{"UeberDreissigBit", u"0115+2147483648|x", 1, false, u"", u"", 0, 0, u""},
        Satzfall{"UebertragOhneZahl", u"U", 1, false, u"", u"", 0, 0, u""},
        Satzfall{"UebertragNurMinus", u"U-", 1, false, u"", u"", 0, 0, u""},
        Satzfall{"UebertragZuGross", u"U-2147483648", 1, false, u"", u"", 0, 0, u""}),
    NachName{});

TEST_F(UeberstundenTest, DasKontoNimmtDenErstenAbschnittDesBenutzersOhneRuecksichtAufGrossschreibung) {
  const QStringList daten{QString(), "vor dem ersten Abschnitt", "[a|AnNa|b]", "U-90", "0115+30|x", "[a|anna|b]",
                          "U999",    "[x|bkraft|y|z]",           "U120"};
  ÜStd_Konto k = ÜStunden_Konto(daten, QStringLiteral("ANNA"), 2026);
  EXPECT_TRUE(k.abschnitt);
  EXPECT_EQ(k.datenzeilen, 2);
  ASSERT_EQ(k.sätze.size(), 2);
  EXPECT_EQ(k.sätze[1].Saldo, -60);
  EXPECT_TRUE(k.übersprungen.isEmpty());
  k = ÜStunden_Konto(daten, QStringLiteral("bkraft"), 2026);
  ASSERT_EQ(k.sätze.size(), 1);
  EXPECT_EQ(k.sätze[0].Saldo, 120);
  EXPECT_FALSE(ÜStunden_Konto(daten, QStringLiteral("niemand"), 2026).abschnitt);
  EXPECT_FALSE(ÜStunden_Konto(QStringList{QString(), "NoData"}, QStringLiteral("anna"), 2026).abschnitt);
}

TEST_F(UeberstundenTest, ZeilenDieNichtLesbarSindWerdenMitIhrerNummerInDerDateiUebersprungen) {
  // Data line i is line i + 7 of the file.
  const QStringList daten{QString(), "[a]", "[a|anna|b]", "U-90", QString(), "0115+30", "0116+30|ok", "[b]", "U5"};
  const ÜStd_Konto k = ÜStunden_Konto(daten, QStringLiteral("anna"), 2026);
  EXPECT_EQ(k.übersprungen, (QList<int>{8, 11, 12})) << "the header passed over, the empty line, the line without |";
  EXPECT_EQ(k.datenzeilen, 4) << "a header without a user still ends the section";
  ASSERT_EQ(k.sätze.size(), 2);
  EXPECT_EQ(k.sätze[1].Saldo, -60);
  Übersprungene_Zeilen_melden(k.übersprungen, pfad());
  EXPECT_EQ(skript->texte(),
            std::vector<QString>{QStringLiteral("Die Überstundendaten enthalten Zeilen, die nicht gelesen werden "
                                                "konnten:\r\rZeilen 8, 11, 12\r\rDiese Zeilen wurden übersprungen, der "
                                                "angezeigte Saldo enthält sie nicht.\r\rBetroffene Datei: ") +
                                 ShowPfad(pfad(), 100)});
}

struct Kopfzeilenfall {
  const char16_t* zeile;
  bool kopf, lesbar;
  const char16_t* benutzer;
  const char16_t* umbenannt;  // with field 2 "neu"
};
class UeberstundenKopfzeileTest : public ::testing::TestWithParam<Kopfzeilenfall> {};

TEST_P(UeberstundenKopfzeileTest, EineLesartFuerUebersichtUndUmbenennung) {
  const QString zeile = QString::fromUtf16(GetParam().zeile);
  const ÜStd_Kopf k = ÜStd_Kopfzeile(zeile);
  EXPECT_EQ(k.kopf, GetParam().kopf);
  EXPECT_EQ(k.lesbar, GetParam().lesbar);
  EXPECT_EQ(k.benutzer, QString::fromUtf16(GetParam().benutzer));
  EXPECT_EQ(ÜStd_Kopf_umbenannt(zeile, k, QStringLiteral("neu")), QString::fromUtf16(GetParam().umbenannt));
}

INSTANTIATE_TEST_SUITE_P(Kopfzeilen, UeberstundenKopfzeileTest,
                         ::testing::Values(Kopfzeilenfall{u"[a|anna|b]", true, true, u"anna", u"[a|neu|b]"},
                                           Kopfzeilenfall{u"[|Anna||]", true, true, u"Anna", u"[|neu||]"},
                                           Kopfzeilenfall{u"[a|anna]", true, false, u"", u"[a|anna]"},
                                           Kopfzeilenfall{u"[a]", true, false, u"", u"[a]"},
                                           Kopfzeilenfall{u"[a|anna|b", false, false, u"", u"[a|anna|b"},
                                           Kopfzeilenfall{u"x[a|anna|b]", false, false, u"", u"x[a|anna|b]"}),
                         [](const auto& info) {
                           const Kopfzeilenfall& f = info.param;
                           return testname(QString::fromUtf16(f.zeile) + QString::fromUtf16(!f.kopf    ? u" kein Kopf"
                                                                                            : f.lesbar ? u""
                                                                                                       : u" unlesbar"));
                         });

struct Minutenfall {
  qint64 minuten;
  const char* text;
};
class FormatMinStdTest : public ::testing::TestWithParam<Minutenfall> {};

TEST_P(FormatMinStdTest, StundenUndZweistelligeMinutenDesBetrags) {
  EXPECT_EQ(FormatMinStd(GetParam().minuten), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Minuten, FormatMinStdTest,
                         ::testing::Values(Minutenfall{0, "0:00"}, Minutenfall{5, "0:05"}, Minutenfall{-90, "1:30"},
                                           Minutenfall{600, "10:00"}, Minutenfall{32768LL * 60, "32768:00"},
                                           Minutenfall{-4294967294LL, "71582788:14"},
                                           Minutenfall{std::numeric_limits<qint64>::min(), "153722867280912930:08"}),
                         [](const auto& info) {
                           return testname(QStringLiteral("%1 Minuten").arg(info.param.minuten));
                         });

}  // namespace
