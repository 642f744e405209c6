#include "views/Logbuchdaten.h"

#include <QDir>
#include <QFile>

#include "common/Testnamen.h"
#include "common/Testumgebung.h"
#include "startup/Start.h"

namespace {

// Two monthly logbooks, May and June 2026, read together.
class LogbuchdatenTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
  }
  void logbuch(const QString& name, const QStringList& zeilen) { schreiben(gLogordner + name, kodiert(zeilen)); }
  static QStringList ohneNull(const QStringList& z) { return z.mid(1); }
};

const QString kAnna = QStringLiteral("tester|anna|Urlaub|010626|050626");

TEST_F(LogbuchdatenTest, StornoImFolgemonatNimmtZeileUndSichSelbstWeg) {
  logbuch(QStringLiteral("2605 Velkora.log"),
          {QStringLiteral("30.05.26 10:00:00|") + kAnna,
           QStringLiteral("30.05.26 10:01:00|tester|VelkoraAdmin|Feiertage neu: x")});
  logbuch(QStringLiteral("2606 Velkora.log"),
          {QStringLiteral("02.06.26 08:00:00|") + kAnna + QStringLiteral(":Storno"),
           QStringLiteral("02.06.26 08:05:00|") + kAnna + QStringLiteral(":Storno")});
  const QStringList z = Logbuch_lesen();
  EXPECT_EQ(ohneNull(z), (QStringList{QStringLiteral("30.05.26 10:01:00|tester|VelkoraAdmin|Feiertage neu: x"),
                                      QStringLiteral("02.06.26 08:05:00|") + kAnna + QStringLiteral(":Storno")}))
      << "the second cancelling line finds nothing more and stays";
  EXPECT_TRUE(skript->protokoll.empty());
}

// The cancellation over one list of lines read in order.
struct Stornofall {
  const char* name;
  QStringList gelesen;
  QStringList bleiben;
};
void PrintTo(const Stornofall& f, std::ostream* os) { *os << f.name; }
class StornoTabelle : public ::testing::TestWithParam<Stornofall> {};

const QString k1 = QStringLiteral("01.06.26 08:00:00|");
const QString k2 = QStringLiteral("01.06.26 09:00:00|");
const QString k3 = QStringLiteral("01.06.26 10:00:00|");

TEST_P(StornoTabelle, Bereinigt) { EXPECT_EQ(Logbuchzeilen_bereinigen(GetParam().gelesen).mid(1), GetParam().bleiben); }

INSTANTIATE_TEST_SUITE_P(
    Logbuch, StornoTabelle,
    ::testing::Values(
        Stornofall{"VonZweiGleichenNurDieSpaetere", {k1 + kAnna, k2 + kAnna, k3 + kAnna + ":Storno"}, {k1 + kAnna}},
        Stornofall{"AndereSchreibweiseIstKeinPartner",
                   {k1 + "tester|Anna|Urlaub|010626|050626", k3 + kAnna + ":Storno"},
                   {k1 + "tester|Anna|Urlaub|010626|050626", k3 + kAnna + ":Storno"}},
        Stornofall{"KurzeStornozeileHatKeinenSchluessel",
                   {"01.06.26 08:00:00|", "x:Storno"},
                   {"01.06.26 08:00:00|", "x:Storno"}},
        Stornofall{"StornozeileMit25ZeichenHatLeerenSchluessel",
                   {"01.06.26 08:00:00|", "01.06.26 08:00:00|:Storno"},
                   {"NoLog"}},
        Stornofall{"LeereZeilenFallenWeg", {"", k1 + kAnna, ""}, {k1 + kAnna}},
        Stornofall{"NichtsBleibtIstKeinLogbuch", {k1 + kAnna, k2 + kAnna + ":Storno"}, {"NoLog"}},
        Stornofall{"NachEinemStornoIstDerFruerePartnerDran",
                   {k1 + kAnna, k2 + kAnna, k3 + kAnna + ":Storno", k1 + "a|b|c", k3 + kAnna + ":Storno", k2 + kAnna},
                   {k1 + "a|b|c", k2 + kAnna}},
        Stornofall{"StornoOhnePartnerWirdSelbstStorniert",
                   {k1 + kAnna + ":Storno", k2 + kAnna, k3 + kAnna + ":Storno:Storno"},
                   {k2 + kAnna}}),
    NachName{});

// Many lines over a few events, cancelled and cancelled again: each ":Storno" line takes
// out the nearest line before it of its event that is still there, as searching back
// from it line by line finds it.
TEST(Storno, WieDieSucheRueckwaertsUeberVieleZeilen) {
  const QString ereignisse[] = {kAnna, QStringLiteral("tester|bea|Urlaub|010626|050626"),
                                kAnna + QStringLiteral(":Storno"), QStringLiteral("x")};
  quint32 zufall = 12345;
  const auto nächste = [&zufall](quint32 n) {
    zufall = zufall * 1103515245u + 12345u;
    return (zufall >> 16) % n;
  };
  QStringList gelesen;
  for (int i = 0; i < 2000; ++i)
    gelesen << k1 + ereignisse[nächste(4)] + (nächste(3) == 0 ? QStringLiteral(":Storno") : QString());
  std::vector<bool> weg(static_cast<size_t>(gelesen.size()), false);
  for (qsizetype i = 0; i < gelesen.size(); ++i) {
    const QString& z = gelesen[i];
    if (z.size() < 25 || !z.endsWith(QStringLiteral(":Storno"))) continue;
    const QString gesucht = z.mid(18, z.size() - 25);
    for (qsizetype j = i - 1; j >= 0; --j)
      if (!weg[static_cast<size_t>(j)] && gelesen[j].mid(18) == gesucht) {
        weg[static_cast<size_t>(j)] = weg[static_cast<size_t>(i)] = true;
        break;
      }
  }
  QStringList bleiben;
  for (qsizetype i = 0; i < gelesen.size(); ++i)
    if (!weg[static_cast<size_t>(i)]) bleiben << gelesen[i];
  ASSERT_GT(bleiben.size(), 100);
  ASSERT_LT(bleiben.size(), 1900);
  EXPECT_EQ(Logbuchzeilen_bereinigen(gelesen).mid(1), bleiben);
}

TEST_F(LogbuchdatenTest, LeereUndVerschwundeneDateienWerdenMitEinerMeldungUebersprungen) {
  logbuch(QStringLiteral("2604 Velkora.log"), {k1 + kAnna});
  schreiben(gLogordner + QStringLiteral("2605 Velkora.log"), QByteArray());
  // An empty physical line between two lines: dropped, not a decoding error.
  schreiben(gLogordner + QStringLiteral("2606 Velkora.log"), kodiert({k2 + kAnna}) + "\r\n" + kodiert({k3 + kAnna}));
  // A logbook that cannot be opened any more after the listing.
  logbuch(QStringLiteral("2607 Velkora.log"), {k3 + "tester|VelkoraAdmin|B"});
  QFile::setPermissions(gLogordner + QStringLiteral("2607 Velkora.log"), QFileDevice::Permissions());
  const bool unlesbar = !QFile(gLogordner + QStringLiteral("2607 Velkora.log")).open(QIODevice::ReadOnly);

  const QStringList z = Logbuch_lesen();
  QFile::setPermissions(gLogordner + QStringLiteral("2607 Velkora.log"),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner);

  QStringList erwartet{k1 + kAnna, k2 + kAnna, k3 + kAnna};
  if (!unlesbar) erwartet << k3 + "tester|VelkoraAdmin|B";  // run as root: every file opens
  EXPECT_EQ(ohneNull(z), erwartet);
  ASSERT_EQ(skript->protokoll.size(), 1u);
  const QString text = skript->texte()[0];
  EXPECT_TRUE(text.contains(QStringLiteral("2605 Velkora.log")));
  EXPECT_EQ(text.contains(QStringLiteral("2607 Velkora.log")), unlesbar);
  EXPECT_FALSE(text.contains(QStringLiteral("2604")));
}

TEST_F(LogbuchdatenTest, OhneLogbuchNoLog) {
  EXPECT_EQ(Logbuch_lesen(), (QStringList{QString(), QStringLiteral("NoLog")}));
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST(Logbucheintrag, BenutzerzeileMitUndOhneKommentar) {
  const Logbucheintrag e =
      Logbucheintrag_zerlegen(QStringLiteral("01.06.26 08:09:10|bloch|anna|Urlaub|010626|050626"), nullptr);
  EXPECT_EQ(e.Datum, QDate(2026, 6, 1));
  EXPECT_EQ(e.Uhrzeit, u"08:09");
  EXPECT_EQ(e.VonBenutzer, u"bloch");
  EXPECT_EQ(e.FürBenutzer, u"anna");
  EXPECT_EQ(e.Eintrag, u"Urlaub");
  EXPECT_EQ(e.VonDatum, u"010626");
  EXPECT_EQ(e.BisDatum, u"050626");
  EXPECT_TRUE(e.Kommentar.isNull()) << "13 characters: no comment";
  const Logbucheintrag leer =
      Logbucheintrag_zerlegen(QStringLiteral("01.06.26 08:09:10|bloch|anna|Urlaub|010626|050626|"), nullptr);
  EXPECT_FALSE(leer.Kommentar.isNull()) << "14 characters: an empty comment";
  EXPECT_TRUE(leer.Kommentar.isEmpty());
  const Logbucheintrag mit = Logbucheintrag_zerlegen(
      QStringLiteral("01.06.26 08:09:10|bloch|anna|Kommentar|010626|050626|Arzt | 9:00"), nullptr);
  EXPECT_EQ(mit.Kommentar, u"Arzt | 9:00");
}

TEST(Logbucheintrag, AdministrationszeileBehaeltIhrenText) {
  const Logbucheintrag e =
      Logbucheintrag_zerlegen(QStringLiteral("31.12.25 23:59:00|chef|VelkoraAdmin|Wochenende neu: Sa|So"), nullptr);
  EXPECT_EQ(e.Datum, QDate(2025, 12, 31));
  EXPECT_TRUE(e.VonBenutzer.isEmpty());
  EXPECT_EQ(e.Administrator, u"chef");
  EXPECT_EQ(e.FürBenutzer, u"VelkoraAdmin");
  EXPECT_EQ(e.Eintrag, u"Wochenende neu: Sa|So");
}

TEST(Logbucheintrag, FehlerhafteZeileWirdAdministrationseintragMitDemDatumDavor) {
  const QStringList zeilen{QString(), QStringLiteral("ohne Strich an 18"),
                           QStringLiteral("03.06.26 07:00:00|anna|Urlaub"),
                           QStringLiteral("xx.06.26 07:00:00|anna|bea|U|010626|010626"),
                           QStringLiteral("04.06.26 07:00:00|anna|bea|ohne Zeitraum")};
  const std::vector<Logbucheintrag> e = Logbucheinträge_zerlegen(zeilen);
  ASSERT_EQ(e.size(), 5u);
  EXPECT_FALSE(e[1].Datum.isValid()) << "the first line keeps an unset date";
  EXPECT_EQ(e[1].Eintrag, u"Fehlerhafter Logbucheintrag: ohne Strich an 18");
  for (size_t i = 1; i <= 4; ++i) EXPECT_EQ(e[i].FürBenutzer, u"VelkoraAdmin") << i;
  EXPECT_EQ(e[2].Datum, e[1].Datum);
  EXPECT_EQ(e[3].Datum, e[2].Datum);
  EXPECT_EQ(e[4].Datum, e[3].Datum) << "dated like the line before";
  EXPECT_EQ(e[2].Uhrzeit, u"07:00") << "fields taken before the fault stay";
  const Logbucheintrag lang = Logbucheintrag_zerlegen(QString(300, u'x'), &e[4]);
  EXPECT_EQ(lang.Eintrag.size(), 29 + 255);
}

// The split of all lines shares equal fields and takes the date of a line dated like the
// line before: every field comes out as the split of that line alone, null or empty alike,
// also around faulty lines and impossible dates.
TEST(Logbucheintrag, AlleZeilenWieJedeEinzeln) {
  const QStringList zeilen{QString(),
                           QStringLiteral("05.06.26 08:00:00|anna|bea|Urlaub|010626|050626"),
                           QStringLiteral("05.06.26 08:01:00|anna|bea|Urlaub|010626|050626|"),
                           QStringLiteral("05.06.26 x"),
                           QStringLiteral("05.06.26 08:02:00|anna|bea|Krank|020626|050626|Arzt"),
                           QStringLiteral("31.02.26 08:03:00|anna|bea|Urlaub|010626|050626"),
                           QStringLiteral("31.02.26 08:04:00|anna|bea|Urlaub|010626|050626"),
                           QStringLiteral("04.06.26 08:05:00|chef|VelkoraAdmin|Feiertage neu: 1"),
                           QStringLiteral("04.06.26 08:05:00|anna||Urlaub||"),
                           QStringLiteral("05.06.26 08:06:00|anna|bea|ohne Zeitraum"),
                           QStringLiteral("05.06.26 08:07:00|Anna|bea|Urlaub|0106"),
                           QStringLiteral("06.06.26 08:08:00|anna|VelkoraAdmin|")};
  const std::vector<Logbucheintrag> alle = Logbucheinträge_zerlegen(zeilen);
  ASSERT_EQ(alle.size(), static_cast<size_t>(zeilen.size()));
  const auto gleich = [](const QString& a, const QString& b) { return a == b && a.isNull() == b.isNull(); };
  for (qsizetype i = 1; i < zeilen.size(); ++i) {
    const Logbucheintrag e = Logbucheintrag_zerlegen(zeilen[i], i > 1 ? &alle[static_cast<size_t>(i - 1)] : nullptr);
    const Logbucheintrag& a = alle[static_cast<size_t>(i)];
    EXPECT_EQ(a.Datum, e.Datum) << i;
    EXPECT_TRUE(gleich(a.Uhrzeit, e.Uhrzeit)) << i;
    EXPECT_TRUE(gleich(a.VonBenutzer, e.VonBenutzer)) << i;
    EXPECT_TRUE(gleich(a.FürBenutzer, e.FürBenutzer)) << i;
    EXPECT_TRUE(gleich(a.Administrator, e.Administrator)) << i;
    EXPECT_TRUE(gleich(a.Eintrag, e.Eintrag)) << i;
    EXPECT_TRUE(gleich(a.VonDatum, e.VonDatum)) << i;
    EXPECT_TRUE(gleich(a.BisDatum, e.BisDatum)) << i;
    EXPECT_TRUE(gleich(a.Kommentar, e.Kommentar)) << i;
  }
  EXPECT_EQ(alle[3].Datum, QDate(2026, 6, 5));
  EXPECT_EQ(alle[4].Datum, QDate(2026, 6, 5));
  EXPECT_EQ(alle[6].Eintrag.left(28), u"Fehlerhafter Logbucheintrag:") << "an impossible date stays faulty";
  EXPECT_EQ(alle[6].Datum, QDate(2026, 6, 5));
}

TEST(Benutzerliste, GrossUndKleinschreibungZaehltEinmalInDerErstenSchreibweise) {
  std::vector<Logbucheintrag> e(4);
  e[1].VonBenutzer = QStringLiteral("Anna");
  e[1].FürBenutzer = QStringLiteral("zora");
  e[2].VonBenutzer = QStringLiteral("anna");
  e[2].FürBenutzer = QStringLiteral("VelkoraAdmin");
  e[2].Administrator = QStringLiteral("chef");
  e[3].VonBenutzer = QStringLiteral("bloch");
  e[3].FürBenutzer = QStringLiteral("Bea");
  const Benutzerlisten l = Benutzerlisten_füllen(e);
  EXPECT_EQ(l.liste1.liste(), u":Anna:bloch:");
  EXPECT_EQ(l.liste2.liste(), u":zora:Bea:") << "VelkoraAdmin is no employee";
  EXPECT_EQ(l.liste3.liste(), u":chef:");
  EXPECT_EQ(l.liste2.sortiert(), (QStringList{QStringLiteral("Bea"), QStringLiteral("zora")}));
}

TEST(Benutzerliste, EindeutigerAnfangWirdVervollstaendigt) {
  const QString liste = QStringLiteral(":bloch:bkraft:Anna:");
  EXPECT_FALSE(Benutzer_vervollständigen(liste, QStringLiteral("b")));
  EXPECT_EQ(Benutzer_vervollständigen(liste, QStringLiteral("bk")), QStringLiteral("bkraft"));
  EXPECT_EQ(Benutzer_vervollständigen(liste, QStringLiteral("a")), QStringLiteral("Anna"));
  EXPECT_FALSE(Benutzer_vervollständigen(liste, QStringLiteral("x")));
  EXPECT_FALSE(Benutzer_vervollständigen(liste, QStringLiteral("h:b")));
}

TEST(Adminlogbuch, PaareUndMitarbeiterTexte) {
  const QString vorspann(50, u'0');
  const QString neu = QStringLiteral("Mitarbeiter neu: ") + vorspann + QStringLiteral("Erika Muster:emuster");
  EXPECT_EQ(Adminlogbuch_Text(neu, true), u"Mitarbeiter neu - Erika Muster, emuster");
  EXPECT_EQ(Adminlogbuch_Text(neu, false), u"Mitarbeiter neu - Erika Muster");
  const QString gleich = QStringLiteral("Mitarbeiter gelöscht: ") + vorspann + QStringLiteral("bea:bea");
  EXPECT_EQ(Adminlogbuch_Text(gleich, true), u"Mitarbeiter gelöscht - bea");
  EXPECT_EQ(
      Adminlogbuch_Text(QStringLiteral("Mitarbeiter geändert auf: ") + vorspann + QStringLiteral("Bea B:bb"), true),
      u"Mitarbeiter geändert - Bea B, bb");
  EXPECT_EQ(Adminlogbuch_Text(QStringLiteral("Feiertage alt: 1"), true), QString());
  EXPECT_EQ(Adminlogbuch_Text(QStringLiteral("Feiertage neu: 2"), true), u"Feiertage geändert");
  EXPECT_EQ(Adminlogbuch_Text(QStringLiteral("Wochenende neu: SaSo"), true), u"Wochenende geändert - SaSo");
  EXPECT_EQ(Adminlogbuch_Text(QStringLiteral("Programmabbruch durch 'x'"), true), u"Programmabbruch durch 'x'");
}

}  // namespace
