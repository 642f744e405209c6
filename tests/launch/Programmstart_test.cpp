#include "launch/Programmstart.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>

#include "common/Testumgebung.h"
#include "platform/Einzelinstanz.h"
#include "platform/Gebietsschema.h"
#include "platform/Umgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"

TEST(Kommandozeile, SchalterUndWerte) {
  struct Fall {
    QStringList argumente;
    const char* schalter;
    bool vorhanden;
    const char* wert;
  };
  const Fall fälle[] = {
      {{"/d:150326"}, "d:", true, "150326"},
      {{"/D:150326"}, "d:", true, "150326"},
      {{"/PATH:/srv/daten"}, "path", true, "/srv/daten"},
      {{"/path: \"/srv/mit blank/\" "}, "path", true, "/srv/mit blank/"},
      {{"/path:\"/srv/x\""}, "path", true, "/srv/x"},
      {{"/setpath:/srv/y"}, "path", true, "/srv/y"},
      {{"/setpath:/srv/y"}, "setpath", true, "/srv/y"},
      {{"/d:010125", "/path:/a/b", "/enforcestart"}, "path", true, "/a/b"},
      {{"/d:010125", "/path:/a/b", "/enforcestart"}, "d:", true, "010125"},
      {{"/d:010125", "/path:/a/b", "/enforcestart"}, "enforcestart", true, ""},
      {{"/nowelcomescreen"}, "nowelcomescreen", true, ""},
      {{"/lookback:/x/260101 1200J.dat"}, "lookback", true, "/x/260101 1200J.dat"},
      {{"/lookback"}, "lookback", true, ""},
      {{"/setting12=1"}, "setting", true, "12=1"},
      {{"/setting:12=1"}, "setting", true, "12=1"},
      {{"/a:lampenholz"}, "a:lampenholz", true, ""},
      {{"/a:falsch"}, "a:lampenholz", false, ""},
      // A blank instead of ":" hands the value over as the next argument, unless that
      // is a switch itself.
      {{"/path", "/srv/velkora"}, "path", true, "/srv/velkora"},
      {{"/setpath", "/srv/velkora", "/nowelcomescreen"}, "setpath", true, "/srv/velkora"},
      {{"/setpath", "/srv/velkora", "/nowelcomescreen"}, "nowelcomescreen", true, ""},
      {{"/path", "/path/zu/daten"}, "path", true, "/path/zu/daten"},
      {{"/path", "/settings/daten"}, "path", true, "/settings/daten"},
      {{"/path", "/nowelcomescreen"}, "path", true, ""},
      {{"/path", "/nowelcomescreen"}, "nowelcomescreen", true, ""},
      {{"/path", "/d:150326"}, "d:", true, "150326"},
      {{"/setting", "18=0"}, "setting", true, "18=0"},
      {{"/d:", "150326"}, "d:", true, "150326"},
      {{"/lookback", "/x/260101 1200J.dat"}, "lookback", true, "/x/260101 1200J.dat"},
      {{"/lookback", "/enforcestart"}, "lookback", true, ""},
      {{"/enforcestart", "/srv/velkora"}, "enforcestart", true, ""},
      {{"/enforcestart", "/srv/velkora"}, "path", false, ""},
      {{"/pathfinder:/x"}, "path", false, ""},
      {{"path:/x", "-d:150326", "/unbekannt"}, "path", false, ""},
      {{"path:/x", "-d:150326", "/unbekannt"}, "d:", false, ""},
      {{}, "d:", false, ""},
  };
  for (const auto& f : fälle) {
    Kommandozeile_setzen(f.argumente);
    const QString s = QString::fromUtf8(f.schalter);
    EXPECT_EQ(Schalter_vorhanden(s), f.vorhanden) << qPrintable(f.argumente.join(' ')) << " " << f.schalter;
    EXPECT_EQ(Aufrufparameter(s), QString::fromUtf8(f.wert)) << qPrintable(f.argumente.join(' ')) << " " << f.schalter;
  }
  Kommandozeile_setzen({});
}

class Startablauf : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    programm = unterordner(QStringLiteral("Programm"));
    schreiben(programm + QStringLiteral("VelkoraFtg.dat"), kodiert({QStringLiteral("[VelkoraFeiertageDat]")}));
    unterordner(QStringLiteral("Ablage"));
  }
  void starten(const QStringList& argumente) {
    Kommandozeile_setzen(argumente);
    Main();
  }
  QString programm;
};

TEST_F(Startablauf, Datumspruefung) {
  const struct {
    const char* d;
    bool startet;
    const char* text;
  } fälle[] = {
      {"/d:311224", false, "31.12.2024"}, {"/d:010125", true, ""}, {"/d:311250", true, ""},
      {"/d:010151", false, "01.01.2051"}, {"/d:320125", true, ""},  // rolls over to 1 February 2025
  };
  int n = 0;
  for (const auto& f : fälle) {
    skript->protokoll.clear();
    // A folder of its own for each start: a later date on a folder set up earlier
    // would be a year change.
    const QStringList argumente{QString::fromLatin1(f.d),
                                QStringLiteral("/path:") + unterordner(QStringLiteral("Ablage%1").arg(++n))};
    if (f.startet) {
      starten(argumente);
      EXPECT_TRUE(skript->protokoll.empty()) << f.d;
      EXPECT_GE(gHeute.year(), 2025);
    } else {
      ERWARTE_PROGRAMMENDE(starten(argumente));
      ASSERT_EQ(skript->protokoll.size(), 1u) << f.d;
      EXPECT_EQ(skript->protokoll[0].text, QStringLiteral("Systemdatum ") + QString::fromLatin1(f.text) +
                                               QStringLiteral(" liegt außerhalb des zulässigen Bereichs.\r\rDas "
                                                              "Programm wird beendet."));
    }
  }
}

TEST_F(Startablauf, StartetInEinemLeerenOrdner) {
  int geladen = 0, gezeigt = 0;
  gFensterhaken.hauptfenster_laden = [&] { ++geladen; };
  gFensterhaken.hauptfenster_zeigen = [&] { ++gezeigt; };
  starten({QStringLiteral("/d:150326"), QStringLiteral("/path:") + ordner() + QStringLiteral("Ablage"),
           QStringLiteral("/nowelcomescreen")});
  gFensterhaken = {};
  EXPECT_TRUE(skript->protokoll.empty());
  EXPECT_EQ(gHeute, QDate(2026, 3, 15));
  EXPECT_EQ(gHeuteText, QStringLiteral("260315"));
  const QString daten = ordner() + QStringLiteral("Ablage/Data/");
  EXPECT_EQ(gDatenordner, daten);
  EXPECT_EQ(gLogordner, daten + QStringLiteral("Logs/"));
  EXPECT_EQ(gSicherungsordner, daten + QStringLiteral("Backups/"));
  EXPECT_EQ(gIniOrdner, daten + QStringLiteral("IniFiles/"));
  EXPECT_EQ(gTempOrdner, ordner() + QStringLiteral("Temp/"));
  EXPECT_EQ(gBenutzername, QStringLiteral("tester"));
  EXPECT_EQ(gIniDateiname, QStringLiteral("Velkora_tester.ini"));
  EXPECT_TRUE(gPfadVorgegeben);
  EXPECT_TRUE(gDatenordnerAngelegt);
  for (const QString& o : {gLogordner, gSicherungsordner, gIniOrdner})
    EXPECT_TRUE(QFileInfo(o).isDir()) << qPrintable(o);
  EXPECT_EQ(dekodierteZeilen(programm + QStringLiteral("Velkora.dat")),
            (QStringList{QStringLiteral("[Velkora]"), QStringLiteral("data_pfad=") + daten,
                         QStringLiteral("log_pfad=") + daten + QStringLiteral("Logs/")}));
  EXPECT_EQ(geladen, 1);
  EXPECT_EQ(gezeigt, 1);
}

// 40 killed rewrites must not leave 40 files in the shared folder for good.
TEST_F(Startablauf, DerStartEntferntZwischendateienAbgebrochenerSchreibvorgaenge) {
  const QString daten = unterordner(QStringLiteral("Ablage/Data"));
  const QString sicherungen = unterordner(QStringLiteral("Ablage/Data/Backups"));
  const QDateTime jetzt = QDateTime::currentDateTime();
  const struct {
    QString pfad;
    int alterMinuten;
    bool bleibt;
  } fälle[] = {
      {daten + QStringLiteral("~Konfigdaten.dat.4711.k1.vktmp"), 120, false},
      {daten + QStringLiteral("~2603 260314 Data.dat.4711.k2.vktmp"), 61, false},
      {sicherungen + QStringLiteral("~260314 080000 T.dat.4711.k3.vktmp"), 300, false},
      {daten + QStringLiteral("~Mitarbeiterdaten.dat.4712.k4.vktmp"), 10, true},
  };
  for (const auto& f : fälle) {
    schreiben(f.pfad, "halb");
    QFile d(f.pfad);
    ASSERT_TRUE(d.open(QIODevice::ReadWrite));
    ASSERT_TRUE(d.setFileTime(jetzt.addSecs(-60LL * f.alterMinuten), QFileDevice::FileModificationTime));
  }
  starten({QStringLiteral("/d:150326"), QStringLiteral("/path:") + ordner() + QStringLiteral("Ablage")});
  for (const auto& f : fälle) EXPECT_EQ(QFile::exists(f.pfad), f.bleibt) << qPrintable(f.pfad);
}

TEST_F(Startablauf, DatenordnerAusDerKommandozeile) {
  const struct {
    QString wert;
    QString ordner;
  } fälle[] = {
      {ordner() + QStringLiteral("Ablage"), ordner() + QStringLiteral("Ablage/Data/")},
      {ordner() + QStringLiteral("Ablage/"), ordner() + QStringLiteral("Ablage/Data/")},
      {ordner() + QStringLiteral("Ablage/DATA/"), ordner() + QStringLiteral("Ablage/DATA/")},
  };
  for (const auto& f : fälle) {
    starten({QStringLiteral("/d:150326"), QStringLiteral("/PATH:") + f.wert});
    EXPECT_EQ(gDatenordner, f.ordner);
  }
}

TEST_F(Startablauf, OrdnerNachEinemBlankIstDerDatenordner) {
  const QString arbeit = unterordner(QStringLiteral("Arbeit"));
  QDir::setCurrent(arbeit);
  starten({QStringLiteral("/d:150326"), QStringLiteral("/setpath"), ordner() + QStringLiteral("Ablage")});
  EXPECT_EQ(gDatenordner, ordner() + QStringLiteral("Ablage/Data/"));
  EXPECT_TRUE(dekodierteZeilen(programm + QStringLiteral("Velkora.dat"))
                  .contains(QStringLiteral("data_pfad=") + ordner() + QStringLiteral("Ablage/Data/")));
  EXPECT_TRUE(QDir(arbeit).isEmpty());
}

TEST_F(Startablauf, PathOhneOrdnerWirdAbgewiesenNieDerAktuelleOrdner) {
  const QString arbeit = unterordner(QStringLiteral("Arbeit"));
  for (const QStringList& argumente :
       {QStringList{QStringLiteral("/path")}, QStringList{QStringLiteral("/setpath")},
        QStringList{QStringLiteral("/setpath:")}, QStringList{QStringLiteral("/path"), QStringLiteral("/enforcestart")},
        QStringList{QStringLiteral("/setpath: \"\"")}}) {
    SCOPED_TRACE(argumente.join(u' ').toStdString());
    skript->protokoll.clear();
    QDir::setCurrent(arbeit);
    const QString schalter =
        argumente[0].startsWith(QStringLiteral("/setpath")) ? QStringLiteral("/setpath") : QStringLiteral("/path");
    ERWARTE_PROGRAMMENDE(starten(QStringList{QStringLiteral("/d:150326")} + argumente));
    ASSERT_EQ(skript->protokoll.size(), 1u);
    EXPECT_EQ(skript->protokoll[0].text, QStringLiteral("Beim Aufrufparameter ") + schalter +
                                             QStringLiteral(" fehlt der Ordner. Geben Sie den Datenordner an, z. B. ") +
                                             schalter + QStringLiteral(":/srv/velkora.\r\rDas Programm wird beendet."));
    EXPECT_TRUE(QDir(arbeit).isEmpty()) << "no data folder in the current folder";
    EXPECT_FALSE(QFile::exists(programm + QStringLiteral("Velkora.dat"))) << "no pointer file";
  }
}

TEST_F(Startablauf, SettingMitBlankAendertDieStelle) {
  starten({QStringLiteral("/d:150326"), QStringLiteral("/path:") + ordner() + QStringLiteral("Ablage"),
           QStringLiteral("/nowelcomescreen")});
  ASSERT_EQ(Setting(18), 1);
  ERWARTE_PROGRAMMENDE(
      starten({QStringLiteral("/d:150326"), QStringLiteral("/path:") + ordner() + QStringLiteral("Ablage"),
               QStringLiteral("/setting"), QStringLiteral("18=0")}));
  gSettings.clear();
  Konfigdaten_lesen();
  EXPECT_EQ(Setting(18), 0);
}

TEST_F(Startablauf, GebietsschemaBestimmtDieDatumsform) {
  gebietsschema::setze(gebietsschema::Werte{QStringLiteral("1"), QStringLiteral("USA"), QStringLiteral(","),
                                            QStringLiteral("/"), QStringLiteral("0"), QStringLiteral(".")});
  ERWARTE_PROGRAMMENDE(starten({QStringLiteral("/d:311224")}));
  EXPECT_EQ(gDatumstrennzeichen, QStringLiteral("/"));
  EXPECT_EQ(gDatumsreihenfolge, 0);
  EXPECT_EQ(gDezimaltrennzeichen, QStringLiteral("."));
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_TRUE(skript->protokoll[0].text.startsWith(QStringLiteral("Systemdatum 12/31/2024 ")));

  gebietsschema::setze(gebietsschema::Werte{{}, {}, {}, {}, QStringLiteral("7"), {}});
  Datumsformat_ermitteln();
  EXPECT_EQ(gDatumstrennzeichen, QStringLiteral("/"));
  EXPECT_EQ(gDatumsreihenfolge, 0);
}

TEST_F(Startablauf, FehlendeMasterdateiBeendetDenErstenStart) {
  QFile::remove(programm + QStringLiteral("VelkoraFtg.dat"));
  ERWARTE_PROGRAMMENDE(
      starten({QStringLiteral("/d:150326"), QStringLiteral("/path:") + ordner() + QStringLiteral("Ablage")}));
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_EQ(skript->protokoll[0].text,
            QStringLiteral("Die Datei '") + programm + QStringLiteral("VelkoraFtg.dat'") +
                QStringLiteral(" wurde nicht gefunden. Installieren Sie das Programm erneut, um dieses Problem zu "
                               "beheben.\r\rDas Programm wird beendet."));
}

TEST_F(Startablauf, FehlenderTempordnerWirdGenanntNichtAlsLaufendeKopieGenommen) {
  einzelinstanz::freigeben();
  const QString fehlt = ordner() + QStringLiteral("gibt es nicht");
  qputenv("TEMP", QFile::encodeName(fehlt));
  ERWARTE_PROGRAMMENDE(starten({QStringLiteral("/d:150326")}));
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_EQ(skript->protokoll[0].text,
            QStringLiteral("Der Ordner für temporäre Dateien '") + fehlt +
                QStringLiteral("' (Umgebungsvariable TEMP) ist nicht vorhanden.\r\rDas Programm wird beendet."));
}

TEST_F(Startablauf, DatenordnerUnterFehlendemOrdnerNenntDenFehlenden) {
  const QString fehlt = ordner() + QStringLiteral("fehlt");
  ERWARTE_PROGRAMMENDE(
      starten({QStringLiteral("/d:150326"), QStringLiteral("/path:") + fehlt + QStringLiteral("/Ablage")}));
  ASSERT_EQ(skript->protokoll.size(), 1u);
  const QString& text = skript->protokoll[0].text;
  EXPECT_TRUE(
      text.contains(QStringLiteral("weil der Ordner '") + fehlt + QStringLiteral("/Ablage' nicht vorhanden ist")))
      << qPrintable(text);
  EXPECT_FALSE(text.contains(QStringLiteral("Zugriffsberechtigungen")));
}

TEST_F(Startablauf, Titelzeile) {
  Titelzeile();
  EXPECT_EQ(gHauptfensterTitel, QStringLiteral("Velkora - "));
}

// The guard lies in the login's runtime folder only when no other account can put a
// file there (which would bar every start or lead it elsewhere); never in TEMP while
// there is such a folder.
TEST(Einzelinstanz, LiegtNurImEigenenLaufzeitordner) {
  QTemporaryDir tmp;
  const QString basis = tmp.path() + u'/';
  const QByteArray vorher = qgetenv("XDG_RUNTIME_DIR");
  qputenv("TEMP", QFile::encodeName(basis));
  struct Fall {
    const char* name;
    QFile::Permissions rechte;
    bool verweis;
    bool genommen;
  };
  const QFile::Permissions eigen = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
  const Fall fälle[] = {
      {"eigen", eigen, false, true},
      {"lesbar", eigen | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther, false, true},
      {"gruppe", eigen | QFile::WriteGroup, false, false},
      {"alle", eigen | QFile::WriteOther, false, false},
      {"verweis", eigen, true, false},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.name);
    const QString ordner = basis + QString::fromLatin1(f.name);
    if (f.verweis) {
      QDir().mkpath(ordner + QStringLiteral("-ziel"));
      QFile::setPermissions(ordner + QStringLiteral("-ziel"), f.rechte);
      ASSERT_TRUE(QFile::link(ordner + QStringLiteral("-ziel"), ordner));
    } else {
      QDir().mkpath(ordner);
      ASSERT_TRUE(QFile::setPermissions(ordner, f.rechte));
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(ordner));
    const QString gewählt = einzelinstanz::ordner();
    EXPECT_FALSE(gewählt.isEmpty());
    EXPECT_EQ(gewählt == ordner + u'/', f.genommen) << gewählt.toStdString();
    EXPECT_NE(gewählt, basis);
  }
  qputenv("XDG_RUNTIME_DIR", vorher);
}

// The real program, installed into a temporary folder beside the folders "Ablage" and
// "Temp", started offscreen from the folder "Arbeit".
void Programm_starten(QProcess& p, const QTemporaryDir& tmp, const QStringList& argumente) {
  const QString inst = tmp.path() + QStringLiteral("/Programm/");
  for (const char* o : {"/Programm", "/Ablage", "/Temp", "/Arbeit"}) QDir().mkpath(tmp.path() + QString::fromLatin1(o));
  const QString bin = QStringLiteral(VELKORA_BIN_DIR);
  ASSERT_TRUE(QFile::copy(bin + QStringLiteral("/velkora"), inst + QStringLiteral("velkora")));
  ASSERT_TRUE(QFile::copy(bin + QStringLiteral("/VelkoraFtg.dat"), inst + QStringLiteral("VelkoraFtg.dat")));
  QFile::setPermissions(inst + QStringLiteral("velkora"), QFile::permissions(bin + QStringLiteral("/velkora")));
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("TEMP"), tmp.path() + QStringLiteral("/Temp"));
  env.insert(QStringLiteral("USERNAME"), QStringLiteral("prozess"));
  env.remove(QStringLiteral("ProgramFiles"));
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(tmp.path() + QStringLiteral("/Arbeit"));
  p.start(inst + QStringLiteral("velkora"), argumente);
  ASSERT_TRUE(p.waitForStarted());
}

// Waits until the started program has set up its data folder and runs, then ends it as
// a logout ends it.
void Bis_zum_Hauptfenster_und_Sigterm(QProcess& p, const QString& datenordner) {
  const QString ini = datenordner + QStringLiteral("IniFiles");
  for (int i = 0; i < 100 && !QFileInfo(ini).isDir(); ++i) QThread::msleep(50);
  ASSERT_TRUE(QFileInfo(ini).isDir()) << p.readAllStandardError().constData();
  QThread::msleep(300);
  ASSERT_EQ(p.state(), QProcess::Running) << p.readAllStandardError().constData();
  ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(p.exitCode(), 0);
}

// Started on an empty data folder and ended as a logout ends it.
TEST(Programm, StartetInEinemLeerenOrdnerUndEndetBeiSigterm) {
  QTemporaryDir tmp;
  QProcess p;
  Programm_starten(p, tmp,
                   {QStringLiteral("/d:150326"), QStringLiteral("/path:") + tmp.path() + QStringLiteral("/Ablage"),
                    QStringLiteral("/nowelcomescreen")});
  const QString daten = tmp.path() + QStringLiteral("/Ablage/Data/");
  Bis_zum_Hauptfenster_und_Sigterm(p, daten);
  EXPECT_TRUE(QFile::exists(tmp.path() + QStringLiteral("/Programm/Velkora.dat")));
  // The end went through the main window's unload: the user's settings are saved.
  EXPECT_TRUE(QFile::exists(daten + QStringLiteral("IniFiles/Velkora_prozess.ini")));
  // The first start set up the data folder.
  EXPECT_TRUE(QFile::exists(daten + QStringLiteral("Konfigdaten.dat")));
}

// "velkora /path FOLDER", as a shell passes it: two arguments.
TEST(Programm, OrdnerAlsEigenesArgumentOeffnetDiesenOrdner) {
  QTemporaryDir tmp;
  QProcess p;
  Programm_starten(p, tmp,
                   {QStringLiteral("/d:150326"), QStringLiteral("/path"), tmp.path() + QStringLiteral("/Ablage"),
                    QStringLiteral("/nowelcomescreen")});
  Bis_zum_Hauptfenster_und_Sigterm(p, tmp.path() + QStringLiteral("/Ablage/Data/"));
  EXPECT_TRUE(QFile::exists(tmp.path() + QStringLiteral("/Ablage/Data/Konfigdaten.dat")));
  EXPECT_TRUE(QDir(tmp.path() + QStringLiteral("/Arbeit")).isEmpty()) << "nothing in the current folder";
}

// Starts with or without "/nowelcomescreen"; counts the splash's show and unload and
// tells whether the start waited for the splash's 1.25 s.
struct Splashbilanz {
  int gezeigt = 0, entladen = 0;
  bool gewartet = false;
};
Splashbilanz SplashStart(uhr::Testuhr& uhr, const QString& ordner, bool ohneSplash) {
  Splashbilanz b;
  gFensterhaken.splash_zeigen = [&] { ++b.gezeigt; };
  gFensterhaken.splash_entladen = [&] { ++b.entladen; };
  gFensterhaken.hauptfenster_laden = [] {};
  gFensterhaken.hauptfenster_zeigen = [] {};
  uhr.schlafprotokoll.clear();
  QStringList argumente{QStringLiteral("/d:150326"), QStringLiteral("/path:") + ordner};
  if (ohneSplash) argumente << QStringLiteral("/nowelcomescreen");
  Kommandozeile_setzen(argumente);
  Main();
  gFensterhaken = {};
  b.gewartet = std::any_of(uhr.schlafprotokoll.begin(), uhr.schlafprotokoll.end(),
                           [](double s) { return s > 0.5 && s <= 1.25; });
  return b;
}

TEST_F(Startablauf, NowelcomescreenZeigtKeinenStartbildschirmUndWartetNicht) {
  const Splashbilanz b = SplashStart(uhr, ordner() + QStringLiteral("Ablage"), true);
  EXPECT_EQ(b.gezeigt, 0);
  EXPECT_EQ(b.entladen, 0);
  EXPECT_FALSE(b.gewartet);
}

TEST_F(Startablauf, StartbildschirmBleibtBisEinUndEineViertelSekundeNachDemStart) {
  const Splashbilanz b = SplashStart(uhr, ordner() + QStringLiteral("Ablage"), false);
  EXPECT_EQ(b.gezeigt, 1);
  EXPECT_EQ(b.entladen, 1);
  EXPECT_TRUE(b.gewartet);
}
