#include "startup/Dateizugriff.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <csignal>

#include "common/Testumgebung.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Umgebung.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Velkoraini.h"

class Dateizugriff : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
  }
  QString meldung(size_t i = 0) const { return i < skript->protokoll.size() ? skript->protokoll[i].text : QString(); }
};

TEST_F(Dateizugriff, FehlendeDateiMitIgnoreErrorsScheitertStill) {
  EXPECT_FALSE(FOpen(ordner() + QStringLiteral("fehlt.dat"), QStringLiteral("Input"), QStringLiteral("IgnoreErrors")));
  EXPECT_TRUE(skript->protokoll.empty());
  EXPECT_TRUE(gOffeneDatei.isEmpty());
  // The channel is free again.
  EXPECT_TRUE(FOpen(ordner() + QStringLiteral("neu.dat"), QStringLiteral("Output")));
  FClose();
}

TEST_F(Dateizugriff, OeffnungsfehlerBeendenDasProgrammMitDerZugriffsmeldung) {
  struct Fall {
    QString pfad;
    const char* modus;
    bool mitSchreibschutzText;
  };
  std::vector<Fall> fälle = {
      {ordner() + QStringLiteral("fehlt.dat"), "Input", false},
      {ordner() + QStringLiteral("kein/Ordner.dat"), "Output", true},
      {ordner() + QStringLiteral("kein/Ordner.log"), "Append", true},
  };
  // A read-only file stops a writer; an administrator account writes it anyway.
  const QString ro = ordner() + QStringLiteral("ro.dat");
  schreiben(ro, "x");
  QFile::setPermissions(ro, QFileDevice::ReadOwner);
  const bool schreibschutzWirkt = !QFileInfo(ro).isWritable();
  if (schreibschutzWirkt) {
    fälle.push_back({ro, "Output", true});
    fälle.push_back({ro, "Append", true});
  }
  for (const auto& f : fälle) {
    skript->protokoll.clear();
    ERWARTE_PROGRAMMENDE(FOpen(f.pfad, QString::fromLatin1(f.modus)));
    ASSERT_EQ(skript->protokoll.size(), 1u) << f.modus;
    const QString m = meldung();
    EXPECT_TRUE(m.startsWith(QStringLiteral("Die Datei '") + f.pfad +
                             QStringLiteral("' konnte nicht geöffnet werden.\r\rVermutlich haben Sie keine "
                                            "ausreichenden Zugriffsberechtigungen für den Ordner '") +
                             QFileInfo(f.pfad).absolutePath() + u'\''))
        << qPrintable(m);
    EXPECT_EQ(m.contains(QStringLiteral(", ist die Datei schreibgeschützt oder die Datei ist nicht vorhanden.")),
              f.mitSchreibschutzText)
        << f.modus;
    EXPECT_TRUE(m.endsWith(QStringLiteral("nicht vorhanden.\r\rDas Programm wird beendet."))) << qPrintable(m);
    EXPECT_TRUE(gOffeneDatei.isEmpty());
  }
  EXPECT_EQ(lesen(ro), QByteArray("x"));
}

TEST_F(Dateizugriff, AppendLegtAnUndHaengtAn) {
  const QString pfad = ordner() + QStringLiteral("2603 Velkora.log");
  for (const char* t : {"eins", "zwei"}) {
    ASSERT_TRUE(FOpen(pfad, QStringLiteral("Append")));
    LineOut(QString::fromLatin1(t));
    FClose();
  }
  EXPECT_EQ(dekodierteZeilen(pfad), (QStringList{QStringLiteral("eins"), QStringLiteral("zwei")}));
  EXPECT_TRUE(gDateiGeschrieben);
}

// A full disk (here: the file size limit) lets an append through only in part: the
// file must keep no piece of a line, which the next append would run into.
TEST_F(Dateizugriff, MisslungenesAnhaengenHinterlaesstKeinenZeilenteil) {
  const QString pfad = ordner() + QStringLiteral("2612 261209 Data.dat");
  const QByteArray vorher = kodiert({QStringLiteral("[2612]"), QStringLiteral("Kennung"), QStringLiteral("NoEx:NoEx")});
  schreiben(pfad, vorher);
  ASSERT_TRUE(FOpen(pfad, QStringLiteral("Append")));
  LineOut(QStringLiteral("A:tester:") + QString(31, u'1'));
  LineOut(QStringLiteral("A:zweiter:") + QString(31, u'2'));
  rlimit alt{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &alt), 0);
  rlimit knapp = alt;
  knapp.rlim_cur = static_cast<rlim_t>(vorher.size() + 20);
  const auto alterHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &knapp), 0);
  bool fehler = false;
  try {
    FClose();
  } catch (const Laufzeitfehler&) {
    fehler = true;
  }
  ::setrlimit(RLIMIT_FSIZE, &alt);
  std::signal(SIGXFSZ, alterHandler);
  EXPECT_TRUE(fehler);
  EXPECT_EQ(lesen(pfad), vorher);
}

TEST_F(Dateizugriff, OutputErsetztDieDateiErstBeimSchliessen) {
  const QString pfad = ordner() + QStringLiteral("Konfigdaten.dat");
  schreiben(pfad, kodiert({QStringLiteral("alt")}));
  ASSERT_TRUE(FOpen(pfad, QStringLiteral("Output")));
  LineOut(QStringLiteral("neu"));
  // Another workstation reading now still sees the whole old file.
  EXPECT_EQ(dekodierteZeilen(pfad), QStringList{QStringLiteral("alt")});
  FClose();
  EXPECT_EQ(dekodierteZeilen(pfad), QStringList{QStringLiteral("neu")});
  EXPECT_EQ(QDir(ordner()).entryList(QDir::Files), (QStringList{QStringLiteral("Konfigdaten.dat")}));
}

TEST_F(Dateizugriff, VerworfenesSchreibenLaesstDieAlteDatei) {
  const QString pfad = ordner() + QStringLiteral("Konfigdaten.dat");
  schreiben(pfad, kodiert({QStringLiteral("alt")}));
  ASSERT_TRUE(FOpen(pfad, QStringLiteral("Output")));
  LineOut(QStringLiteral("halb"));
  FVerwerfen();
  EXPECT_EQ(dekodierteZeilen(pfad), QStringList{QStringLiteral("alt")});
  EXPECT_EQ(QDir(ordner()).entryList(QDir::Files), (QStringList{QStringLiteral("Konfigdaten.dat")}));
}

TEST_F(Dateizugriff, ZweitesOeffnenScheitertUndSchliesstDasErste) {
  ASSERT_TRUE(FOpen(ordner() + QStringLiteral("a.dat"), QStringLiteral("Output")));
  EXPECT_FALSE(FOpen(ordner() + QStringLiteral("b.dat"), QStringLiteral("Output"), QStringLiteral("IgnoreErrors")));
  EXPECT_TRUE(gOffeneDatei.isEmpty());
  EXPECT_FALSE(QFile::exists(ordner() + QStringLiteral("a.dat")));
}

TEST_F(Dateizugriff, AufLeereDateiWirdZweimalGewartet) {
  const QString pfad = gDatenordner + QStringLiteral("Mitarbeiterdaten.dat");
  schreiben(pfad, {});
  // The other workstation finishes its write while we wait.
  uhr::Quellen q;
  q.schlafen = [&](double s) {
    uhr.schlafprotokoll.push_back(s);
    if (uhr.schlafprotokoll.size() == 2) schreiben(pfad, kodiert({QStringLiteral("[Mitarbeiterdaten]")}));
  };
  uhr::setze(q);
  ASSERT_TRUE(FOpen(pfad, QStringLiteral("Input")));
  EXPECT_EQ(LineIn(), QStringLiteral("[Mitarbeiterdaten]"));
  FClose();
  EXPECT_EQ(uhr.schlafprotokoll, (std::vector<double>{1.5, 1.5}));
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_EQ(meldung(), QStringLiteral("Die Datei '") + pfad +
                           QStringLiteral("' wird gerade von jemand anderem benutzt. Bitte einige Sekunden warten und "
                                          "dann fortsetzen."));
}

TEST_F(Dateizugriff, LeereDateiVonAnderemProzessInzwischenGefuellt) {
  uhr::zurücksetzen();  // real waits: the other process runs on its own clock
  const QString pfad = gDatenordner + QStringLiteral("Feiertage.dat");
  schreiben(pfad, {});
  QProcess anderer;
  anderer.start(QStringLiteral("sh"),
                {QStringLiteral("-c"), QStringLiteral("sleep 1; printf 'Ax\\r\\n' > '%1'").arg(pfad)});
  ASSERT_TRUE(anderer.waitForStarted());
  ASSERT_TRUE(FOpen(pfad, QStringLiteral("Input")));
  EXPECT_FALSE(FEOF());
  FClose();
  anderer.waitForFinished();
}

// A read that fails after the opening (here on a folder) gives no content at all, so
// that no caller takes the bytes before the failure for the whole file.
TEST_F(Dateizugriff, GanzLesenMeldetEinenLesefehler) {
  const QString pfad = ordner() + QStringLiteral("zum_lesen.dat");
  schreiben(pfad, "A:anna\r\n");
  struct Fall {
    QString pfad;
    bool gelingt;
    QByteArray inhalt;
  };
  const Fall fälle[] = {{pfad, true, "A:anna\r\n"}, {ordner(), false, {}}};
  for (const Fall& f : fälle) {
    const int fd = ::open(QFile::encodeName(f.pfad).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << qPrintable(f.pfad);
    QByteArray inhalt = "vorher";
    EXPECT_EQ(Ganz_lesen(fd, 0, inhalt), f.gelingt) << qPrintable(f.pfad);
    EXPECT_EQ(inhalt, f.inhalt) << qPrintable(f.pfad);
    ::close(fd);
  }
}

TEST_F(Dateizugriff, NurLeerBleibendeDatendateienSindSchaeden) {
  struct Fall {
    QString pfad;
    bool schaden;
  };
  const Fall fälle[] = {
      {gIniOrdner + QStringLiteral("Velkora_tester.ini"), false},
      {gLogordner + QStringLiteral("2603 Velkora.log"), false},
      {gDatenordner + QStringLiteral("Lockfile.txt"), false},
      {gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"), true},
  };
  for (const auto& f : fälle) {
    skript->protokoll.clear();
    schreiben(f.pfad, {});
    if (f.schaden) {
      ERWARTE_PROGRAMMENDE(FOpen(f.pfad, QStringLiteral("Input")));
      ASSERT_GE(skript->protokoll.size(), 2u);
      EXPECT_TRUE(
          skript->protokoll[1].text.contains(QStringLiteral("Die Datei '") + f.pfad + QStringLiteral("' ist leer.")));
      EXPECT_EQ(lesen(f.pfad), QByteArray()) << "nothing is changed before the repair is accepted";
    } else {
      ASSERT_TRUE(FOpen(f.pfad, QStringLiteral("Input"))) << qPrintable(f.pfad);
      EXPECT_TRUE(FEOF());
      FClose();
      EXPECT_EQ(skript->protokoll.size(), 1u) << "only the wait message";
    }
  }
}

TEST_F(Dateizugriff, LangsamesSchliessenMarkiertDieFreigabeAlsLangsam) {
  for (const auto& [dauer, langsam] : std::vector<std::pair<double, bool>>{{0.2, false}, {0.25, true}}) {
    gLangsamesNetz = false;
    gBenutzerwerte[31] = 0;
    double t = 0;
    uhr::Quellen q;
    q.monoton = [&t, schritt = dauer] {
      const double r = t;
      t += schritt;
      return r;
    };
    uhr::setze(q);
    ASSERT_TRUE(FOpen(ordner() + QStringLiteral("x.dat"), QStringLiteral("Output")));
    FClose();
    EXPECT_EQ(gLangsamesNetz, langsam) << dauer;
    EXPECT_EQ(gBenutzerwerte[31], langsam ? 1 : 0) << dauer;
  }
}

TEST(Pfade, ShowPfadParentDirShowDatei) {
  const QString lang120 = QStringLiteral("/") + QString(119, u'a');
  EXPECT_EQ(ShowPfad(lang120, 100), u'\'' + lang120.left(45) + QStringLiteral(" ... ") + lang120.right(45) + u'\'');
  EXPECT_EQ(ShowPfad(lang120, 100).size(), 95 + 2);
  const QString lang100 = QStringLiteral("/") + QString(99, u'b');
  EXPECT_EQ(ShowPfad(lang100, 100), u'\'' + lang100 + u'\'');
  EXPECT_EQ(ShowPfad(lang100 + u'/', 100), u'\'' + lang100 + u'\'');
  EXPECT_EQ(ShowPfad(QStringLiteral("/srv/Daten/"), 100), QStringLiteral("'/srv/Daten'"));

  const struct {
    const char* pfad;
    const char* parent;
    const char* datei;
  } fälle[] = {
      {"/srv/Daten/Logs/", "/srv/Daten/", "Logs"},
      {"/srv/Daten/Logs", "/srv/Daten/", "Logs"},
      {"/srv/Daten/", "/srv/", "Daten"},
      {"Datei.dat", "", "Datei.dat"},
      {"", "", ""},
  };
  for (const auto& f : fälle) {
    EXPECT_EQ(ParentDir(QString::fromUtf8(f.pfad)), QString::fromUtf8(f.parent)) << f.pfad;
    EXPECT_EQ(ShowDatei(QString::fromUtf8(f.pfad)), QString::fromUtf8(f.datei)) << f.pfad;
  }
}

TEST_F(Dateizugriff, DateienUndOrdnerLoeschen) {
  const QString o = unterordner(QStringLiteral("weg"));
  EXPECT_TRUE(Dateien_löschen(o, QStringLiteral("*.dat")));
  schreiben(o + QStringLiteral("a.dat"), "1");
  schreiben(o + QStringLiteral("B.DAT"), "2");
  schreiben(o + QStringLiteral("c.log"), "3");
  QFile::setPermissions(o + QStringLiteral("a.dat"), QFileDevice::ReadOwner);
  EXPECT_TRUE(Dateien_löschen(o, QStringLiteral("*.dat")));
  EXPECT_EQ(QDir(o).entryList(QDir::Files), QStringList{QStringLiteral("c.log")});
  Löschen(o + QStringLiteral("c.log"));
  QDir::setCurrent(o);
  Löschen(o);
  EXPECT_FALSE(QFileInfo::exists(o));
  EXPECT_EQ(umgebung::mitSchrägstrich(QDir::currentPath()), QDir(gTempOrdner).canonicalPath() + u'/');
}

TEST_F(Dateizugriff, OrdnerWerdenEbeneFuerEbeneAngelegt) {
  Verzeichnis_anlegen(ordner() + QStringLiteral("neu/"));
  EXPECT_TRUE(Verzeichnis_vorhanden(ordner() + QStringLiteral("neu/")));
  // A folder under a missing one is not made; the message names the missing folder
  // rather than blaming the rights.
  ERWARTE_PROGRAMMENDE(Verzeichnis_anlegen(ordner() + QStringLiteral("a/b/c/")));
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_EQ(meldung(), QStringLiteral("Der Ordner '") + ordner() +
                           QStringLiteral("a/b/c' konnte nicht angelegt werden, weil der Ordner '") + ordner() +
                           QStringLiteral("a/b' nicht vorhanden ist.\r\rDas Programm wird beendet."));
  EXPECT_FALSE(Verzeichnis_vorhanden(ordner() + QStringLiteral("a")));
}

TEST_F(Dateizugriff, OrdnerDerInEinemVorhandenenNichtAnlegbarIstNenntDieRechte) {
  const QString vorhanden = unterordner(QStringLiteral("vorhanden"));
  // The file system refuses the folder as a write-protected parent would; root
  // would get past the folder's permissions.
  gOrdnerAnlegen = [](const QString&) { return false; };
  ERWARTE_PROGRAMMENDE(Verzeichnis_anlegen(vorhanden + QStringLiteral("neu/")));
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_EQ(meldung(), QStringLiteral("Der Ordner '") + vorhanden +
                           QStringLiteral("neu' konnte nicht angelegt werden.\r\rVermutlich haben Sie keine "
                                          "ausreichenden Zugriffsberechtigungen.\r\rDas Programm wird beendet."));
  EXPECT_FALSE(Verzeichnis_vorhanden(vorhanden + QStringLiteral("neu")));
}

TEST_F(Dateizugriff, ListeIgnoriertGrossKleinschreibungUndZwischendateien) {
  const QString o = unterordner(QStringLiteral("liste"));
  schreiben(o + QStringLiteral("2501 260305 Data.dat"), "x");
  schreiben(o + QStringLiteral("2502 260305 DATA.DAT"), "x");
  schreiben(o + QStringLiteral("~2503 260305 Data.dat.1.abc.vktmp"), "x");
  EXPECT_EQ(Dateiliste(o, QStringLiteral("*Data.dat")),
            (QStringList{QStringLiteral("2501 260305 Data.dat"), QStringLiteral("2502 260305 DATA.DAT")}));
}

// An append to a month file never makes the file: one another workstation replaced
// meanwhile would come back as a month of one line without its header.
TEST_F(Dateizugriff, AnhaengenOhneAnlegenMachtKeineDatei) {
  const QString pfad = ordner() + QStringLiteral("2603 260310 Data.dat");
  EXPECT_FALSE(FOpen_anhängen_ohne_Anlegen(pfad));
  EXPECT_FALSE(QFileInfo::exists(pfad));
  EXPECT_TRUE(gOffeneDatei.isEmpty());
  EXPECT_TRUE(skript->protokoll.empty());

  ASSERT_TRUE(FOpen(pfad, QStringLiteral("Output")));
  LineOut(QStringLiteral("[2603]"));
  FClose();
  ASSERT_TRUE(FOpen_anhängen_ohne_Anlegen(pfad));
  LineOut(QStringLiteral("A:x:1"));
  FClose();
  EXPECT_EQ(dekodierteZeilen(pfad), (QStringList{QStringLiteral("[2603]"), QStringLiteral("A:x:1")}));

  // Nor through a link, which is no month version: as a file that is not there.
  const QString ziel = ordner() + QStringLiteral("ziel.txt");
  schreiben(ziel, "x\r\n");
  const QString verweis = ordner() + QStringLiteral("2603 260311 Data.dat");
  ASSERT_TRUE(QFile::link(ziel, verweis));
  EXPECT_FALSE(FOpen_anhängen_ohne_Anlegen(verweis));
  EXPECT_EQ(lesen(ziel), QByteArray("x\r\n"));
  EXPECT_TRUE(skript->protokoll.empty());
}

// Plain files only: what may be read as a month version.
TEST_F(Dateizugriff, ListeNurDateienLaesstVerweiseAus) {
  schreiben(ordner() + QStringLiteral("a.dat"), "x");
  ASSERT_TRUE(QFile::link(ordner() + QStringLiteral("a.dat"), ordner() + QStringLiteral("b.dat")));
  ASSERT_TRUE(QDir(ordner()).mkdir(QStringLiteral("c.dat")));
  ASSERT_TRUE(QFile::link(ordner() + QStringLiteral("c.dat"), ordner() + QStringLiteral("d.dat")));
  EXPECT_EQ(Dateiliste(ordner(), QStringLiteral("*.dat")), (QStringList{u"a.dat"_qs, u"b.dat"_qs}));
  QStringList übrige;
  EXPECT_EQ(Dateiliste(ordner(), QStringLiteral("*.dat"), Listenart::NurDateien, &übrige), QStringList{u"a.dat"_qs});
  EXPECT_EQ(übrige, QStringList{u"b.dat"_qs});
}
