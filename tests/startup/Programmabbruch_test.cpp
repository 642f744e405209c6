#include "startup/Programmabbruch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/Testumgebung.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"

// Readable failure output for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class ProgrammabbruchTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gStartzeit = uhr.sekunden;  // the run started at 09:30:00 of the test clock
    gAbbruchdienste.logbuch = [this](int art, const QString& t) { logbuch << QStringLiteral("%1:%2").arg(art).arg(t); };
    gAbbruchdienste.backup_erstellen = [this](const QString& art) {
      aufrufe << QStringLiteral("backup ") + art;
      return backupGelingt;
    };
    gAbbruchdienste.restore = [this](const QString& s, const QString& f) {
      aufrufe << QStringLiteral("restore ") + QFileInfo(s).fileName() + u'|' + f;
      return true;
    };
    gAbbruchdienste.setup_datenordner = [this] {
      aufrufe << QStringLiteral("setup");
      if (!geschädigt.isEmpty()) schadeBeimSetup = QFile::exists(geschädigt);
    };
    gAbbruchdienste.datenverzeichnis_suchen = [this] { aufrufe << QStringLiteral("suchen"); };
    gAbbruchdienste.konfigdaten_lesen = [this] { aufrufe << QStringLiteral("konfig"); };
  }

  QString datei(const QString& name, const QByteArray& inhalt = "x\r\n") {
    const QString p = gDatenordner + name;
    schreiben(p, inhalt);
    return p;
  }
  // A backup file whose time stamp lies the given seconds before (negative: after)
  // the start of the run.
  void sicherung(const QString& name, int sekundenVorStart) {
    const QString p = gSicherungsordner + name;
    schreiben(p, "[VelkoraBackup]\r\n");
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        f.setFileTime(QDateTime(uhr.datum, uhr.uhrzeit).addSecs(-sekundenVorStart), QFileDevice::FileModificationTime));
  }
  QString letzteMeldung() const { return skript->protokoll.empty() ? QString() : skript->protokoll.back().text; }
  int fragen() const {
    int n = 0;
    for (const auto& a : skript->protokoll) n += a.art == dialoge::Art::JaNein;
    return n;
  }

  QStringList logbuch, aufrufe;
  bool backupGelingt = true;
  QString geschädigt;
  bool schadeBeimSetup = false;
};

const QString kEnde = QStringLiteral("\r\rDas Programm wird beendet.");
// What a stop shows for a text: the text with a full stop, then the end.
QString Stopp(const QString& text) { return text + u'.' + kEnde; }

// --- Programmabbruch -------------------------------------------------------------

TEST_F(ProgrammabbruchTest, StopTextsAndLogbookLines) {
  struct Fall {
    QString text, option, meldung, zeile;
  } fälle[] = {
      {QStringLiteral("Datei fehlt"), QString(), Stopp(QStringLiteral("Datei fehlt")),
       QStringLiteral("2:Programmabbruch durch 'modX - Y' - Datei fehlt")},
      {QStringLiteral("Datei fehlt"), QStringLiteral("NoLog"), Stopp(QStringLiteral("Datei fehlt")), QString()},
      {QString(), QStringLiteral("NoLog"), QStringLiteral("Das Programm wird beendet"), QString()},
      {QStringLiteral("Kaputt"), QStringLiteral("Eigene Zeile"), Stopp(QStringLiteral("Kaputt")),
       QStringLiteral("2:Eigene Zeile")},
  };
  for (const Fall& f : fälle) {
    logbuch.clear();
    gDatenordnerAngelegt = true;
    ERWARTE_PROGRAMMENDE(Programmabbruch(QStringLiteral("modX - Y"), f.text, f.option));
    EXPECT_EQ(letzteMeldung(), f.meldung);
    EXPECT_EQ(skript->protokoll.back().art, dialoge::Art::Meldung);
    EXPECT_EQ(logbuch, f.zeile.isEmpty() ? QStringList() : QStringList{f.zeile}) << qPrintable(f.text + f.option);
    EXPECT_FALSE(gDatenordnerAngelegt) << "the unload must keep the data folder";
  }
}

TEST_F(ProgrammabbruchTest, StopUnloadsMainWindowAndDropsHalfWrittenFile) {
  const QString p = datei(QStringLiteral("Konfigdaten.dat"), "alt\r\n");
  int entladen = 0;
  programmende::setzeEntladen([&] { ++entladen; });
  ASSERT_TRUE(FOpen(p, QStringLiteral("Output")));
  LineOutPlain(QStringLiteral("halb"));
  ERWARTE_PROGRAMMENDE(Programmabbruch(QString(), QStringLiteral("Abbruch"), QStringLiteral("NoLog")));
  programmende::setzeEntladen(nullptr);
  EXPECT_EQ(entladen, 1);
  EXPECT_EQ(lesen(p), QByteArray("alt\r\n"));
  EXPECT_TRUE(gOffeneDatei.isEmpty());
}

TEST_F(ProgrammabbruchTest, FailingLogbookLineInsideStopDoesNotLoop) {
  gAbbruchdienste.logbuch = [](int, const QString&) {
    Prozedur(QStringLiteral("modVelkora - Logbuch_ergänzen"), [] { fehler::auslösen(61); });
  };
  ERWARTE_PROGRAMMENDE(Programmabbruch(QString(), QStringLiteral("Abbruch"), QString()));
  EXPECT_EQ(skript->protokoll.size(), 1u);
}

// --- Pause -------------------------------------------------------------------------

TEST_F(ProgrammabbruchTest, PauseWaitsFromNowOrFromTheStart) {
  struct Fall {
    double s, seitStart;
    std::vector<double> schlaf;
  } fälle[] = {
      {-1.25, 2.0, {}},                                               // past already: returns at once
      {-1.25, 0.5, {0.75}},                                           // the rest up to 1.25 s after the start
      {0.0, 0.0, {0.0}},    {1.5, 9.0, {1.5}}, {0.0004, 0.0, {0.0}},  // whole milliseconds
  };
  for (const Fall& f : fälle) {
    uhr.schlafprotokoll.clear();
    uhr.sekunden = 1000.0 + f.seitStart;
    gStartzeit = 1000.0;
    Pause(f.s);
    EXPECT_EQ(uhr.schlafprotokoll, f.schlaf) << f.s << " after " << f.seitStart;
  }
}

// --- Programmabbruch_Fehler ----------------------------------------------------------

TEST_F(ProgrammabbruchTest, HandlerTellsFileErrorsFromOtherErrors) {
  gFirmenname = QStringLiteral("Muster GmbH");
  const QString offen = gDatenordner + QStringLiteral("Feiertage.dat");
  const QString version = QStringLiteral("modVelkora - Test - v") + Programmversion();
  struct Fall {
    int n;
    bool dateiOffen;
    QString meldung, zeile;
  } fälle[] = {
      {52, true,
       QStringLiteral("Es ist ein Fehler beim Dateizugriff aufgetreten.\r\rZuletzt geöffnete Datei: ") +
           ShowPfad(offen) + QStringLiteral("\r\rUrsache: ") + fehler::text(52) + QStringLiteral(" (Fehler Nr. 52)") +
           kEnde,
       QStringLiteral(" - Datei ") + offen},
      {76, false,
       QStringLiteral("Es ist ein Fehler beim Dateizugriff aufgetreten. Prüfen Sie, ob auf den Ordner ") +
           ShowPfad(ordner()) + QStringLiteral(" zugegriffen werden kann.\r\rUrsache: ") + fehler::text(76) +
           QStringLiteral(" (Fehler Nr. 76)") + kEnde,
       QString()},
      {51, true,
       QStringLiteral("Es ist folgender Fehler aufgetreten in Modul '") + version +
           QStringLiteral("mus':\r\rFehler Nr. 51\r") + fehler::text(51) + kEnde,
       QString()},
      {77, false,
       QStringLiteral("Es ist folgender Fehler aufgetreten in Modul '") + version +
           QStringLiteral("mus':\r\rFehler Nr. 77\r") + fehler::text(77) + kEnde,
       QString()},
  };
  for (const Fall& f : fälle) {
    logbuch.clear();
    if (f.dateiOffen) {
      ASSERT_TRUE(FOpen(offen, QStringLiteral("Output")));
    }
    ERWARTE_PROGRAMMENDE(Prozedur(QStringLiteral("modVelkora - Test"), [&] { fehler::auslösen(f.n); }));
    EXPECT_EQ(letzteMeldung(), f.meldung) << f.n;
    EXPECT_EQ(logbuch, QStringList{QStringLiteral("2:Programmabbruch durch '") + version +
                                   QStringLiteral("' - Fehler Nr. %1 - ").arg(f.n) + fehler::text(f.n) + f.zeile});
    EXPECT_TRUE(gOffeneDatei.isEmpty());
    EXPECT_FALSE(QFile::exists(offen)) << "a half-written file must not replace the target";
  }
}

TEST_F(ProgrammabbruchTest, EnforcestartLetsTheStartGoOn) {
  gStörungAnzeigen = true;
  gStartErzwingen = true;
  bool weiter = false;
  Prozedur(QStringLiteral("modVelkora - Main"), [] { fehler::auslösen(13); });
  weiter = true;
  EXPECT_TRUE(weiter);
  EXPECT_TRUE(letzteMeldung().endsWith(QStringLiteral("Fehler Nr. 13\r") + fehler::text(13)));
  EXPECT_EQ(logbuch.size(), 1);
  // Outside the start the switch changes nothing.
  gStörungAnzeigen = false;
  ERWARTE_PROGRAMMENDE(Prozedur(QStringLiteral("modVelkora - Main"), [] { fehler::auslösen(13); }));
  EXPECT_TRUE(letzteMeldung().endsWith(kEnde));
}

TEST_F(ProgrammabbruchTest, ErrorWithFileOpenDuringStartGoesToRepair) {
  gStörungAnzeigen = true;
  gStartErzwingen = true;  // the repair takes precedence over going on
  const QString p = datei(QStringLiteral("Feiertage.dat"));
  ASSERT_TRUE(FOpen(p, QStringLiteral("Input")));
  ERWARTE_PROGRAMMENDE(Prozedur(QStringLiteral("modVelkora - Feiertage_lesen"), [] { fehler::auslösen(62); }));
  ASSERT_EQ(fragen(), 1);
  const auto& frage = skript->protokoll.front();
  EXPECT_EQ(frage.titel, QStringLiteral("Velkora"));
  EXPECT_EQ(frage.text,
            QStringLiteral("Es ist folgendes Problem aufgetreten:\r\rModul 'modVelkora - Feiertage_lesen - v") +
                Programmversion() + QStringLiteral("' - Fehler Nr. 62 - ") + fehler::text(62) +
                QStringLiteral(" - Zuletzt geöffnete Datei: ") + ShowPfad(p) +
                QStringLiteral("\r\rDas Programm kann jetzt versuchen, eine Standardversion der Datei "
                               "wiederherzustellen.\r\rMöchten Sie mit dem Wiederherstellen der Datei "
                               "beginnen?"));
  // Answered No: nothing changed.
  EXPECT_EQ(letzteMeldung(), QStringLiteral("Das Programm wird beendet"));
  EXPECT_EQ(lesen(p), QByteArray("x\r\n"));
  EXPECT_TRUE(aufrufe.isEmpty());
  EXPECT_TRUE(logbuch.isEmpty());
}

// --- Startfehler ----------------------------------------------------------------------

TEST_F(ProgrammabbruchTest, RepairAnsweredNoChangesNothing) {
  const QString p = datei(QStringLiteral("Mitarbeiterdaten.dat"), "kaputt\r\n");
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Defekt"), p, QString()));
  EXPECT_EQ(lesen(p), QByteArray("kaputt\r\n"));
  EXPECT_TRUE(aufrufe.isEmpty());
  EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Lockfile.txt")));
  EXPECT_TRUE(gStörungsmeldung.isEmpty());
  EXPECT_EQ(letzteMeldung(), QStringLiteral("Das Programm wird beendet"));
}

TEST_F(ProgrammabbruchTest, RepairRestoresFromNewestBackupMadeBeforeThisRun) {
  geschädigt = datei(QStringLiteral("Mitarbeiterdaten.dat"), "kaputt\r\n");
  sicherung(QStringLiteral("260301 080000 M.dat"), 9 * 86400);
  sicherung(QStringLiteral("260309 080000 T.dat"), 3600 * 25);
  sicherung(QStringLiteral("260309 170000 A.dat"), 3600 * 16);  // the newest before the start
  sicherung(QStringLiteral("260310 080000 J.dat"), 3600);       // year change: never
  sicherung(QStringLiteral("260309 230000 F.dat"), 1800);       // an older repair backup: never
  sicherung(QStringLiteral("~260310 092000 T.dat"), 600);       // no backup name
  sicherung(QStringLiteral("260310 093000 T.dat"), -1);         // made by this start: may hold the damage
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Defekt"), geschädigt, QString()));

  EXPECT_EQ(fragen(), 1);
  EXPECT_EQ(aufrufe, (QStringList{QStringLiteral("backup F"), QStringLiteral("setup"),
                                  QStringLiteral("restore 260309 170000 A.dat|Mitarbeiterdaten.dat")}));
  EXPECT_FALSE(schadeBeimSetup) << "the damaged file is deleted before the default files are written";
  EXPECT_EQ(gStörungsmeldung, QStringLiteral("Mitarbeiterdaten.dat"));
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Lockfile.txt")),
            (QStringLiteral("Wegen Wartungsarbeiten Programmaufruf zurzeit nicht möglich|tester\r\n") + geschädigt +
             QStringLiteral("\r\n10.03.26|09:30\r\n"))
                .toLatin1());
  EXPECT_EQ(
      letzteMeldung(),
      QStringLiteral("Wiederherstellen beendet.\r\rStarten Sie das Programm jetzt neu und überprüfen Sie, ob alle "
                     "An-/Abwesenheitsdaten, Mitarbeiterdaten und Einstellungen vollständig und korrekt sind.\r\r"
                     "Möglicherweise ist es notwendig über 'Datei - Datenordner wiederherstellen' oder 'Datei - "
                     "Datenordner importieren' auf einen früheren Sicherungszeitpunkt zurückzusetzen") +
          QStringLiteral(".") + kEnde);
  EXPECT_EQ(logbuch, QStringList{QStringLiteral("2:Startfehler: Defekt")});
}

TEST_F(ProgrammabbruchTest, RepairWithoutEarlierBackupLogsTheFailedRestore) {
  geschädigt = datei(QStringLiteral("Konfigdaten.dat"));
  sicherung(QStringLiteral("260310 093000 M.dat"), -2);  // only this run's backups
  sicherung(QStringLiteral("260310 093001 T.dat"), -3);
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Defekt"), geschädigt, QString()));
  EXPECT_EQ(aufrufe, (QStringList{QStringLiteral("backup F"), QStringLiteral("setup"), QStringLiteral("konfig")}));
  EXPECT_EQ(logbuch,
            (QStringList{QStringLiteral("2:Wiederherstellen der Datei Konfigdaten.dat aus Backup fehlgeschlagen"),
                         QStringLiteral("2:Startfehler: Defekt")}));
}

TEST_F(ProgrammabbruchTest, RepairOfMonthFileOrWithoutFile) {
  // A month file is rebuilt by the month check, not restored; today's repair backup
  // exists already, so none is made.
  sicherung(QStringLiteral("260310 080000 F.dat"), 3600);
  sicherung(QStringLiteral("260309 080000 T.dat"), 86400);
  geschädigt = datei(QStringLiteral("2603 260305 Data.dat"));
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Monat defekt"), geschädigt, QString()));
  EXPECT_EQ(aufrufe, QStringList{QStringLiteral("setup")});
  EXPECT_FALSE(QFile::exists(geschädigt));

  // Without a file: only the set-up and the lock with the log text as notice.
  QFile::remove(gDatenordner + QStringLiteral("Lockfile.txt"));
  aufrufe.clear();
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Ordner leer"), QString(), QStringLiteral("Protokoll")));
  EXPECT_EQ(aufrufe, QStringList{QStringLiteral("setup")});
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Lockfile.txt")).split('\n').value(1),
            QByteArray("NoFile Protokoll\r"));
}

TEST_F(ProgrammabbruchTest, RepairKeepsAnExistingLock) {
  const QByteArray sperre = "Inventur|chef\r\n";
  schreiben(gDatenordner + QStringLiteral("Lockfile.txt"), sperre);
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("x"), QString(), QStringLiteral("p")));
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Lockfile.txt")), sperre);
}

TEST_F(ProgrammabbruchTest, RepairLocksOutUsersWhoAreNoAdministrator) {
  gAdministratoren = QStringList{QStringLiteral("A:Chef:chef")};
  gBenutzerstufe = 0;
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("x"), QString(), QStringLiteral("p")));
  EXPECT_TRUE(letzteMeldung().startsWith(
      QStringLiteral("Wiederherstellen beendet.\r\rDer Programmaufruf wird jetzt gesperrt und kann nur von einem der "
                     "folgenden Administratoren wieder freigegeben werden: ")));
  // An administrator gets the ordinary end.
  gBenutzerstufe = 2;
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("x"), QString(), QStringLiteral("p")));
  EXPECT_TRUE(letzteMeldung().startsWith(QStringLiteral("Wiederherstellen beendet.\r\rStarten Sie")));
}

TEST_F(ProgrammabbruchTest, RepairOfThePointerFileSearchesTheDataFolderAndEnds) {
  const QString p = gBasisordner + QStringLiteral("Velkora.dat");
  schreiben(p, "kaputt");
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Zeiger defekt"), p, QString()));
  EXPECT_FALSE(QFile::exists(p));
  EXPECT_EQ(gDatenordner, gBasisordner + QStringLiteral("Data/"));
  EXPECT_EQ(aufrufe, (QStringList{QStringLiteral("backup F"), QStringLiteral("suchen")}));
  EXPECT_EQ(letzteMeldung(), Stopp(QStringLiteral("Wiederherstellen beendet. Starten Sie das Programm jetzt neu")));
  EXPECT_EQ(logbuch, QStringList{QStringLiteral("2:Startfehler: Zeiger defekt")});
}

// The repair's own backup reads every data file, the damaged one too: whatever way
// that fails, it ends the repair with the backup message and never asks again.
TEST_F(ProgrammabbruchTest, FailureInsideTheRepairBackupDoesNotReenterTheRepair) {
  gStörungAnzeigen = true;
  const std::function<bool(const QString&)> backups[] = {
      [](const QString&) { return false; },
      [this](const QString&) {
        Startfehler(QStringLiteral("Die Datei ist leer."), geschädigt, QString());
        return true;
      },
      [this](const QString&) {
        EXPECT_TRUE(FOpen(geschädigt, QStringLiteral("Input")));
        return Prozedur(QStringLiteral("modVelkora - Backup_erstellen"), []() -> bool { fehler::auslösen(62); });
      },
      [](const QString&) -> bool { throw Laufzeitfehler(57, fehler::text(57)); },
  };
  for (const auto& backup : backups) {
    skript = &dialoge::skript();
    aufrufe.clear();
    geschädigt = datei(QStringLiteral("Feiertage.dat"), "kaputt\r\n");
    gAbbruchdienste.backup_erstellen = backup;
    skript->antworte(dialoge::kJa);
    ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Defekt"), geschädigt, QString()));
    EXPECT_EQ(fragen(), 1);
    EXPECT_EQ(letzteMeldung(), Stopp(QStringLiteral("Wiederherstellen nicht möglich. Backup vor Wiederherstellen "
                                                    "konnte nicht angelegt werden")));
    EXPECT_EQ(lesen(geschädigt), QByteArray("kaputt\r\n")) << "without a backup the file stays";
    EXPECT_TRUE(aufrufe.isEmpty());
    EXPECT_TRUE(gOffeneDatei.isEmpty());
  }
  // The next repair asks again.
  skript = &dialoge::skript();
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Defekt"), geschädigt, QString()));
  EXPECT_EQ(fragen(), 1);
}

TEST_F(ProgrammabbruchTest, FailingRestoreCountsAsFailedNotAsNewRepair) {
  geschädigt = datei(QStringLiteral("Feiertage.dat"));
  sicherung(QStringLiteral("260309 080000 T.dat"), 86400);
  gAbbruchdienste.restore = [](const QString& s, const QString&) -> bool {
    Startfehler(QStringLiteral("Der Dateiheader [x] der Datei wurde nicht erkannt."), s, QString());
    return true;
  };
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Defekt"), geschädigt, QString()));
  EXPECT_EQ(fragen(), 1);
  EXPECT_EQ(logbuch.value(0), QStringLiteral("2:Wiederherstellen der Datei Feiertage.dat aus Backup fehlgeschlagen"));
  EXPECT_TRUE(letzteMeldung().startsWith(QStringLiteral("Wiederherstellen beendet.")));
}

TEST_F(ProgrammabbruchTest, DataFileEmptyAtOpenReachesTheRepair) {
  const QString p = datei(QStringLiteral("Mitarbeiterdaten.dat"), "");
  ERWARTE_PROGRAMMENDE(FOpen(p, QStringLiteral("Input")));
  ASSERT_EQ(fragen(), 1);
  EXPECT_TRUE(skript->protokoll.back().text == QStringLiteral("Das Programm wird beendet"));
  EXPECT_TRUE(QFile::exists(p));
}

// --- Sperrdatei_prüfen ---------------------------------------------------------------

TEST_F(ProgrammabbruchTest, LockTable) {
  const QString sperre = QStringLiteral("Lockfile.txt");
  struct Fall {
    QByteArray inhalt;
    bool start;
    bool endet;
    QString meldung;  // empty: no message
    bool gelöscht;
  } fälle[] = {
      {"Wartung|Tester\r\n", true, false,
       QStringLiteral("Achtung: Sie haben den Programmaufruf für andere Benutzer gesperrt. Diese erhalten beim "
                      "Programmaufruf den Hinweis:\r\rWartung"),
       false},
      {"Wartung|tester|Test Person\r\n", false, false, QString(), false},
      {"Wartung|chef\r\n", false, true,
       QStringLiteral("Programmaufruf gesperrt:\r\rWartung.\r\rDiese Sperre kann nur von Benutzer 'chef' aufgehoben "
                      "werden.") +
           kEnde,
       false},
      {"Inventur bis Montag.|chef|Chef Person\r\n", true, true,
       QStringLiteral("Programmaufruf gesperrt:\r\rInventur bis Montag.\r\rDiese Sperre kann nur von Benutzer 'chef' "
                      "(Chef Person) aufgehoben werden.") +
           kEnde,
       false},
      {"Gesperrt ohne Inhaber\r\n", true, false, QString(), true},
      // A fault notice bars nobody: the main window shows it.
      {"Wegen Wartungsarbeiten Programmaufruf zurzeit nicht "
       "möglich|chef\r\nC:/Daten/Konfigdaten.dat\r\n10.03.26|08:15\r\n",
       true, false, QString(), false},
  };
  for (const Fall& f : fälle) {
    skript = &dialoge::skript();
    gStörungsmeldung.clear();
    gSperrmeldung.clear();
    gStörungAnzeigen = f.start;
    schreiben(gDatenordner + sperre, QString::fromUtf8(f.inhalt).toLatin1());
    bool endete = false;
    try {
      Sperrdatei_prüfen();
    } catch (const ProgrammBeendet&) {
      endete = true;
    }
    EXPECT_EQ(endete, f.endet) << f.inhalt.constData();
    EXPECT_EQ(letzteMeldung(), f.meldung) << f.inhalt.constData();
    EXPECT_EQ(QFile::exists(gDatenordner + sperre), !f.gelöscht) << f.inhalt.constData();
    EXPECT_TRUE(gOffeneDatei.isEmpty());
  }
  EXPECT_EQ(gSperrmeldung, QStringLiteral("Wegen Wartungsarbeiten Programmaufruf zurzeit nicht möglich"));
  EXPECT_EQ(gStörungsmeldung, QStringLiteral("C:/Daten/Konfigdaten.dat"));
  EXPECT_EQ(gSperrzeit, QStringLiteral("10.03.26|08:15"));

  // No lock file: nothing happens.
  QFile::remove(gDatenordner + sperre);
  gStörungsmeldung.clear();
  skript = &dialoge::skript();
  Sperrdatei_prüfen();
  EXPECT_TRUE(skript->protokoll.empty());
}

}  // namespace
