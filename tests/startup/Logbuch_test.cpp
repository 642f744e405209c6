#include "startup/Logbuch.h"

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>

#include "common/Testnamen.h"
#include "common/Testumgebung.h"
#include "platform/Uhr.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"

namespace {

class LogbuchTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();  // 10.03.2026, 09:30:00, user "tester"
  }
  QString logbuch(const QString& schlüssel = QStringLiteral("2603")) const {
    return gLogordner + schlüssel + QStringLiteral(" Velkora.log");
  }
  QString tempLogbuch() const { return gTempOrdner + QStringLiteral("2603 Velkora.log"); }
  static void zweiteKopie(bool an) { gSettings[1] = an ? u'1' : u'0'; }
  // Sets the file's modification time well into the past, so a rewrite shows.
  static void altern(const QString& pfad) {
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2026, 3, 1), QTime(8, 0, 0)), QFileDevice::FileModificationTime));
  }
};

TEST_F(LogbuchTest, AdministratorzeileHatDenFestenKopfDannBenutzerMarkeUndText) {
  gBenutzername = QStringLiteral("mueller");
  gHeute = QDate(2027, 2, 1);
  gHeuteText = QStringLiteral("270201");
  uhr.uhrzeit = QTime(7, 5, 9);
  Logbuch_ergänzen(2, QStringLiteral("X"));
  Logbuch_ergänzen(1, QStringLiteral("Größe 5 €"));

  const QStringList zeilen = dekodierteZeilen(logbuch(QStringLiteral("2702")));
  ASSERT_EQ(zeilen.size(), 2);
  EXPECT_EQ(zeilen[0], QStringLiteral("01.02.27 07:05:09|mueller|VelkoraAdmin|X"));
  // Windows-1252 in the file: "€" is byte 0x80, which the Latin-1 test decoder shows as U+0080.
  EXPECT_EQ(zeilen[1], QStringLiteral("01.02.27 07:05:09|mueller|Größe 5 ") + QChar(0x80));
  EXPECT_TRUE(lesen(logbuch(QStringLiteral("2702"))).endsWith("\r\n"));
  EXPECT_EQ(lesen(logbuch(QStringLiteral("2702"))).count("\r\n"), 2);
}

TEST_F(LogbuchTest, NichtsZuSchreibenLegtKeineDateiAn) {
  Logbuch_ergänzen(1, QString());  // not holding back
  gLogbuchPuffern = true;
  Logbuch_ergänzen(1, QString());  // flush of an empty buffer
  EXPECT_FALSE(QFile::exists(logbuch()));
  EXPECT_EQ(gLogbuchPuffer, QStringList{QStringLiteral("NoData")});

  gLogordner.clear();  // early in the start
  gLogbuchPuffern = false;
  Logbuch_ergänzen(2, QStringLiteral("zu früh"));
  EXPECT_TRUE(QDir(gDatenordner + QStringLiteral("Logs")).entryList(QDir::Files).isEmpty());
}

TEST_F(LogbuchTest, ZurueckgehalteneZeilenWerdenBeimLeerenMitIhrenZeitenGeschrieben) {
  zweiteKopie(true);
  gLogbuchPuffern = true;
  uhr.uhrzeit = QTime(10, 0, 1);
  Logbuch_ergänzen(1, QStringLiteral("A"));
  uhr.uhrzeit = QTime(10, 0, 2);
  Logbuch_ergänzen(2, QStringLiteral("B"));
  uhr.uhrzeit = QTime(10, 0, 3);
  Logbuch_ergänzen(1, QStringLiteral("C"));
  EXPECT_FALSE(QFile::exists(logbuch()));
  EXPECT_EQ(gLogbuchPuffer.size(), 3);

  uhr.uhrzeit = QTime(11, 0, 0);
  Logbuch_ergänzen(1, QString());
  gLogbuchPuffern = false;
  EXPECT_EQ(dekodierteZeilen(logbuch()), (QStringList{QStringLiteral("10.03.26 10:00:01|tester|A"),
                                                      QStringLiteral("10.03.26 10:00:02|tester|VelkoraAdmin|B"),
                                                      QStringLiteral("10.03.26 10:00:03|tester|C")}));
  EXPECT_EQ(gLogbuchPuffer, QStringList{QStringLiteral("NoData")});
  // The held-back lines go to the log folder's logbook only.
  EXPECT_FALSE(QFile::exists(tempLogbuch()));
}

TEST_F(LogbuchTest, Stelle2KopiertJedeZeileInDenTempordner) {
  Logbuch_ergänzen(1, QStringLiteral("ohne Kopie"));
  EXPECT_FALSE(QFile::exists(tempLogbuch()));
  zweiteKopie(true);
  Logbuch_ergänzen(1, QStringLiteral("mit Kopie"));
  EXPECT_EQ(dekodierteZeilen(logbuch()), (QStringList{QStringLiteral("10.03.26 09:30:00|tester|ohne Kopie"),
                                                      QStringLiteral("10.03.26 09:30:00|tester|mit Kopie")}));
  EXPECT_EQ(dekodierteZeilen(tempLogbuch()), QStringList{QStringLiteral("10.03.26 09:30:00|tester|mit Kopie")});
}

TEST_F(LogbuchTest, UeberstundenlogbuchHatEigenesFormatUndUtf8Dateinamen) {
  zweiteKopie(true);
  uhr.uhrzeit = QTime(8, 7, 6);
  Logbuch_ÜStd_ergänzen(2, QStringLiteral("Umbenannt"));
  Logbuch_ÜStd_ergänzen(1, QStringLiteral("Y"));
  const QString name = QStringLiteral("2603 ÜStunden.log");
  const QStringList erwartet{QStringLiteral("260310|080706|tester|UStdAdmin|Umbenannt"),
                             QStringLiteral("260310|080706|tester|Y")};
  EXPECT_EQ(dekodierteZeilen(gLogordner + name), erwartet);
  EXPECT_EQ(dekodierteZeilen(gTempOrdner + name), erwartet);
  // The name on disk is UTF-8, whatever the process locale.
  const QByteArray roh = QByteArray("2603 \xC3\x9CStunden.log");
  bool gefunden = false;
  for (const QString& n : QDir(gLogordner).entryList(QDir::Files)) gefunden |= n.toUtf8() == roh;
  EXPECT_TRUE(gefunden);
}

TEST_F(LogbuchTest, NichtOeffnbaresLogbuchWirdStillUebergangen) {
  gLogordner = ordner() + QStringLiteral("fehlt/");
  Logbuch_ergänzen(2, QStringLiteral("X"));
  Logbuch_ÜStd_ergänzen(2, QStringLiteral("X"));
  EXPECT_TRUE(skript->protokoll.empty());
  EXPECT_TRUE(gOffeneDatei.isEmpty());
}

// A logbook that accepts the opening but not the write (a full disk): the error
// handler reports it once and ends the program, instead of reporting the failure of
// its own logbook line again and again.
TEST_F(LogbuchTest, MisslungenesSchreibenBeendetDasProgrammEinmalOhneRekursion) {
  // The file size limit stands in for the full disk (a link to /dev/full would be
  // refused: appends never follow a link).
  schreiben(logbuch(), kodiert({QStringLiteral("alt")}));
  rlimit alt{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &alt), 0);
  rlimit knapp = alt;
  knapp.rlim_cur = static_cast<rlim_t>(QFileInfo(logbuch()).size());
  const auto alterHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &knapp), 0);
  bool beendet = false;
  try {
    Logbuch_ergänzen(1, QStringLiteral("X"));
  } catch (const ProgrammBeendet&) {
    beendet = true;
  }
  ::setrlimit(RLIMIT_FSIZE, &alt);
  std::signal(SIGXFSZ, alterHandler);
  EXPECT_TRUE(beendet);
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_TRUE(skript->protokoll[0].text.startsWith(QStringLiteral("Es ist ein Fehler beim Dateizugriff aufgetreten.")));
}

struct Bereinigungsfall {
  const char* name;
  QStringList vorher;
  QStringList nachher;  // empty: the file is deleted
  bool unverändert;     // the file keeps its bytes and its time
};

void PrintTo(const Bereinigungsfall& f, std::ostream* os) { *os << f.name; }

const QString k1 = QStringLiteral("10.03.26 08:00:00|");
const QString k2 = QStringLiteral("10.03.26 08:05:00|");
const QString k3 = QStringLiteral("10.03.26 08:10:00|");
const QString k4 = QStringLiteral("10.03.26 08:15:00|");

class BereinigungsTabelle : public LogbuchTest, public ::testing::WithParamInterface<Bereinigungsfall> {};

TEST_P(BereinigungsTabelle, BereinigtDenLaufendenMonat) {
  const Bereinigungsfall& f = GetParam();
  schreiben(logbuch(), kodiert(f.vorher));
  altern(logbuch());
  const QByteArray roh = lesen(logbuch());
  const QDateTime zeit = QFileInfo(logbuch()).lastModified();

  Logbuch_bereinigen(QStringLiteral("T"));

  EXPECT_TRUE(skript->protokoll.empty());
  if (f.unverändert) {
    EXPECT_EQ(lesen(logbuch()), roh);
    EXPECT_EQ(QFileInfo(logbuch()).lastModified(), zeit);
  } else if (f.nachher.isEmpty()) {
    EXPECT_FALSE(QFile::exists(logbuch()));
  } else {
    EXPECT_EQ(dekodierteZeilen(logbuch()), f.nachher);
  }
  // No temporary file of the rewrite is left behind.
  EXPECT_EQ(QDir(gLogordner).entryList(QDir::Files).size(), f.nachher.isEmpty() && !f.unverändert ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Logbuch, BereinigungsTabelle,
    ::testing::Values(
        Bereinigungsfall{"ZeileUndIhrStornoGehenBeide",
                         {k1 + "tester|A", k2 + "tester|B", k3 + "tester|A:Storno"},
                         {k2 + "tester|B"},
                         false},
        Bereinigungsfall{"NurDieNaechsteFruehereZeile",
                         {k1 + "tester|A", k2 + "tester|A", k3 + "tester|A:Storno"},
                         {k1 + "tester|A"},
                         false},
        Bereinigungsfall{"ZweitesStornoOhnePartnerBleibt",
                         {k1 + "tester|A", k2 + "tester|A:Storno", k3 + "tester|A:Storno"},
                         {k3 + "tester|A:Storno"},
                         false},
        Bereinigungsfall{"ZweiStornosNehmenDieZweiNaechsten",
                         {k1 + "tester|A", k2 + "tester|A", k3 + "tester|A:Storno", k4 + "tester|A:Storno"},
                         {},
                         false},
        Bereinigungsfall{"StornoVorSeinerZeilePasstNichtZurSpaeterenZeile",
                         {k1 + "tester|B", k2 + "tester|A:Storno", k3 + "tester|A", k4 + "tester|B:Storno"},
                         {k2 + "tester|A:Storno", k3 + "tester|A"},
                         false},
        Bereinigungsfall{"StornoEinesAnderenBenutzersLaesstDieDatei",
                         {k1 + "mueller|A", k2 + "meier|A:Storno"},
                         {k1 + "mueller|A", k2 + "meier|A:Storno"},
                         true},
        Bereinigungsfall{"AdministratormarkeGehoertZumEreignis",
                         {k1 + "tester|VelkoraAdmin|A", k2 + "tester|A:Storno"},
                         {k1 + "tester|VelkoraAdmin|A", k2 + "tester|A:Storno"},
                         true},
        Bereinigungsfall{"OhneStornoBleibenDateiUndZeit",
                         {k1 + "tester|A", k2 + "tester|B"},
                         {k1 + "tester|A", k2 + "tester|B"},
                         true},
        Bereinigungsfall{"AlleZeilenStorniertLoeschtDasLogbuch",
                         {k1 + "tester|A", k2 + "tester|VelkoraAdmin|B", k3 + "tester|VelkoraAdmin|B:Storno",
                          k4 + "tester|A:Storno"},
                         {},
                         false}),
    NachName{});

TEST_F(LogbuchTest, MonatsbereinigungAmErstenJanuarNimmtDenDezemberDesVorjahres) {
  struct Fall {
    QDate heute;
    QString welches;
    QString schlüssel;
  };
  for (const Fall& f : {Fall{QDate(2027, 1, 1), QStringLiteral("M"), QStringLiteral("2612")},
                        Fall{QDate(2027, 3, 1), QStringLiteral("M"), QStringLiteral("2702")},
                        Fall{QDate(2027, 1, 1), QStringLiteral("T"), QStringLiteral("2701")}}) {
    SCOPED_TRACE(f.schlüssel.toStdString());
    gHeute = f.heute;
    gHeuteText = f.heute.toString(QStringLiteral("yyMMdd"));
    for (const QString& s : {QStringLiteral("2612"), QStringLiteral("2701"), QStringLiteral("2702")})
      schreiben(logbuch(s), kodiert({k1 + "tester|A", k2 + "tester|A:Storno", k3 + "tester|B"}));
    Logbuch_bereinigen(f.welches);
    for (const QString& s : {QStringLiteral("2612"), QStringLiteral("2701"), QStringLiteral("2702")})
      EXPECT_EQ(dekodierteZeilen(logbuch(s)).size(), s == f.schlüssel ? 1 : 3) << s.toStdString();
  }
}

// Another workstation appends a line while the clean-up writes its new version: the
// clean-up gives way, and the appended line is kept.
TEST_F(LogbuchTest, BereinigungLaesstEinWaehrendDerArbeitGeaendertesLogbuch) {
  schreiben(logbuch(), kodiert({k1 + "tester|A", k2 + "tester|A:Storno", k3 + "tester|B"}));
  bool angehängt = false;
  uhr::Quellen q;
  q.zufall = [&] {
    if (!angehängt) {
      angehängt = true;
      QFile f(logbuch());
      if (f.open(QIODevice::Append)) f.write(kodiert({k4 + "mueller|C"}));
    }
    return 0.5;
  };
  uhr::setze(q);

  Logbuch_bereinigen(QStringLiteral("T"));

  ASSERT_TRUE(angehängt);
  EXPECT_EQ(dekodierteZeilen(logbuch()),
            (QStringList{k1 + "tester|A", k2 + "tester|A:Storno", k3 + "tester|B", k4 + "mueller|C"}));
  EXPECT_EQ(QDir(gLogordner).entryList(QDir::Files).size(), 1);
  EXPECT_TRUE(gOffeneDatei.isEmpty());

  // The next clean-up does the work.
  Logbuch_bereinigen(QStringLiteral("T"));
  EXPECT_EQ(dekodierteZeilen(logbuch()), (QStringList{k3 + "tester|B", k4 + "mueller|C"}));
}

TEST_F(LogbuchTest, BeschaedigtesOderLeeresLogbuchBleibtOhneMeldung) {
  QByteArray beschädigt = kodiert({k1 + "tester|A"}) + "\r\n" + kodiert({k2 + "tester|A:Storno"});
  schreiben(logbuch(), beschädigt);
  Logbuch_bereinigen(QStringLiteral("T"));
  EXPECT_EQ(lesen(logbuch()), beschädigt);

  schreiben(logbuch(), QByteArray());
  Logbuch_bereinigen(QStringLiteral("T"));
  EXPECT_TRUE(QFile::exists(logbuch()));
  EXPECT_TRUE(skript->protokoll.empty());
  EXPECT_TRUE(uhr.schlafprotokoll.empty());  // no wait for a writer that is not there
  EXPECT_TRUE(gOffeneDatei.isEmpty());
}

TEST_F(LogbuchTest, GeschriebeneUndStornierteZeilenWerdenZusammenBereinigt) {
  uhr.uhrzeit = QTime(9, 0, 0);
  Logbuch_ergänzen(1, QStringLiteral("Eintrag Maier 03.03."));
  uhr.uhrzeit = QTime(9, 1, 0);
  Logbuch_ergänzen(2, QStringLiteral("Einstellungen geändert"));
  uhr.uhrzeit = QTime(9, 2, 0);
  Logbuch_ergänzen(1, QStringLiteral("Eintrag Maier 03.03.:Storno"));
  Logbuch_bereinigen(QStringLiteral("T"));
  EXPECT_EQ(dekodierteZeilen(logbuch()),
            QStringList{QStringLiteral("10.03.26 09:01:00|tester|VelkoraAdmin|Einstellungen geändert")});
}

// --- appends of another program while the logbook is cleaned up -------------------

const char* const kLogbuchKind = "VELKORA_LOGBUCH_KIND";
constexpr int kKindZeilen = 150;

// Run as a separate process by AppendsDuringTheCleanUpAreKept: appends lines to the
// logbook of the given log folder, each followed by a cancelled pair.
TEST_F(LogbuchTest, KindprozessSchreibtLogbuch) {
  const QString ordner = qEnvironmentVariable(kLogbuchKind);
  if (ordner.isEmpty()) GTEST_SKIP() << "runs only as the helper process of the two-process test";
  uhr::zurücksetzen();  // real waits between real processes
  gLogordner = ordner;
  for (int i = 1; i <= kKindZeilen; ++i) {
    Logbuch_ergänzen(1, QStringLiteral("Zeile %1").arg(i));
    Logbuch_ergänzen(1, QStringLiteral("Weg %1").arg(i));
    Logbuch_ergänzen(1, QStringLiteral("Weg %1:Storno").arg(i));
  }
}

TEST_F(LogbuchTest, AnhaengeWaehrendDerBereinigungBleibenErhalten) {
  uhr::zurücksetzen();
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromLatin1(kLogbuchKind), gLogordner);
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(QCoreApplication::applicationFilePath(),
          {QStringLiteral("--gtest_filter=LogbuchTest.KindprozessSchreibtLogbuch")});
  ASSERT_TRUE(p.waitForStarted(10000));
  int bereinigt = 0;
  while (!p.waitForFinished(0)) {
    Logbuch_bereinigen(QStringLiteral("T"));
    ++bereinigt;
  }
  const QString ausgabe = QString::fromLocal8Bit(p.readAll());
  EXPECT_EQ(p.exitCode(), 0) << qPrintable(ausgabe);
  EXPECT_TRUE(ausgabe.contains(QStringLiteral("[  PASSED  ] 1 test"))) << qPrintable(ausgabe);
  Logbuch_bereinigen(QStringLiteral("T"));

  QStringList erwartet;
  for (int i = 1; i <= kKindZeilen; ++i) erwartet << QStringLiteral("tester|Zeile %1").arg(i);
  QStringList gelesen;
  for (const QString& z : dekodierteZeilen(logbuch())) gelesen << z.mid(18);
  EXPECT_EQ(gelesen, erwartet) << bereinigt << " clean-ups";
  EXPECT_EQ(QDir(gLogordner).entryList(QDir::Files), QStringList{QStringLiteral("2603 Velkora.log")});
}

}  // namespace
