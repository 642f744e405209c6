#include "launch/Startfehler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

#include "common/Testumgebung.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"

// Readable failure output for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class StartfehlerTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gStartzeit = uhr.sekunden;  // the run started at 09:30:00 of the test clock
    gAbbruchdienste.logbuch = [this](int art, const QString& t) { logbuch << QStringLiteral("%1:%2").arg(art).arg(t); };
    gReparaturdienste.backup_erstellen = [this](const QString& art) {
      aufrufe << QStringLiteral("backup ") + art;
      return backupGelingt;
    };
    gReparaturdienste.restore = [this](const QString& s, const QString& f) {
      aufrufe << QStringLiteral("restore ") + QFileInfo(s).fileName() + u'|' + f;
      return true;
    };
    gReparaturdienste.kopie = [this](const QString& s, const QString& d) {
      aufrufe << QStringLiteral("kopie ") + QFileInfo(s).fileName() + u'|' + d;
      return kopien.value(QFileInfo(s).fileName(), Kopie::Heil);
    };
    gReparaturdienste.setup_datenordner = [this] {
      aufrufe << QStringLiteral("setup");
      if (!geschädigt.isEmpty()) schadeBeimSetup = QFile::exists(geschädigt);
    };
    gReparaturdienste.datenverzeichnis_suchen = [this] { aufrufe << QStringLiteral("suchen"); };
    gReparaturdienste.konfigdaten_lesen = [this] { aufrufe << QStringLiteral("konfig"); };
    gReparaturdienste.monat_reparieren = [this](const QString& d, const QByteArray& roh) {
      aufrufe << QStringLiteral("monat ") + QFileInfo(d).fileName() + u'|' + QString::fromLatin1(roh);
      return true;
    };
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
  bool gezeigt(const QString& text) const {
    const std::vector<QString> t = skript->texte();
    return std::find(t.begin(), t.end(), text) != t.end();
  }
  QString letzteMeldung() const { return skript->protokoll.empty() ? QString() : skript->protokoll.back().text; }
  int fragen() const {
    int n = 0;
    for (const auto& a : skript->protokoll) n += a.art == dialoge::Art::JaNein;
    return n;
  }

  QStringList logbuch, aufrufe;
  // How each backup holds the file (undamaged when not listed).
  QHash<QString, Kopie> kopien;
  bool backupGelingt = true;
  QString geschädigt;
  bool schadeBeimSetup = false;
};

const QString kEnde = QStringLiteral("\r\rDas Programm wird beendet.");
// What a stop shows for a text: the text with a full stop, then the end.
QString Stopp(const QString& text) { return text + u'.' + kEnde; }

TEST_F(StartfehlerTest, FehlerMitOffenerDateiImStartGehtZurReparatur) {
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
                QStringLiteral("1.16.1' - Fehler Nr. 62 - Einlesen hinter Dateiende - Zuletzt geöffnete Datei: '") + p +
                QStringLiteral("'") +
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

TEST_F(StartfehlerTest, ReparaturMitNeinAendertNichts) {
  const QString p = datei(QStringLiteral("Mitarbeiterdaten.dat"), "kaputt\r\n");
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Defekt"), p, QString()));
  EXPECT_EQ(lesen(p), QByteArray("kaputt\r\n"));
  EXPECT_TRUE(aufrufe.isEmpty());
  EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Lockfile.txt")));
  EXPECT_TRUE(gStörungsmeldung.isEmpty());
  EXPECT_EQ(letzteMeldung(), QStringLiteral("Das Programm wird beendet"));
}

TEST_F(StartfehlerTest, ReparaturStelltAusDemNeuestenBackupVorDiesemLaufWiederHer) {
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
                                  QStringLiteral("kopie 260309 170000 A.dat|Mitarbeiterdaten.dat"),
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

// A backup whose copy of the file holds damage (it was made after the damage came) is
// passed over for the next older one; with none left the message says so and the
// default file stays.
TEST_F(StartfehlerTest, ReparaturUebergehtSicherungenMitBeschaedigterKopie) {
  sicherung(QStringLiteral("260301 080000 M.dat"), 9 * 86400);
  sicherung(QStringLiteral("260308 080000 T.dat"), 2 * 86400);
  sicherung(QStringLiteral("260309 080000 T.dat"), 86400);
  sicherung(QStringLiteral("260309 170000 A.dat"), 3600 * 16);
  // The set-up stand-in writes no default file, so the message does not say one stands
  // in its place.
  const QString kein = QStringLiteral(
      "Wiederherstellen aus Backup nicht möglich: Keine Sicherung enthält eine "
      "unbeschädigte Kopie der Datei 'Konfigdaten.dat'.");
  const struct {
    const char* was;
    QHash<QString, Kopie> kopien;
    QString restore;  // the backup restored from, "" none
  } fälle[] = {
      {"die neueste beschaedigt",
       {{QStringLiteral("260309 170000 A.dat"), Kopie::Beschädigt}},
       QStringLiteral("260309 080000 T.dat")},
      {"die neueren beschaedigt oder ohne die Datei",
       {{QStringLiteral("260309 170000 A.dat"), Kopie::Beschädigt},
        {QStringLiteral("260309 080000 T.dat"), Kopie::Fehlt},
        {QStringLiteral("260308 080000 T.dat"), Kopie::Beschädigt}},
       QStringLiteral("260301 080000 M.dat")},
      {"alle beschaedigt",
       {{QStringLiteral("260309 170000 A.dat"), Kopie::Beschädigt},
        {QStringLiteral("260309 080000 T.dat"), Kopie::Beschädigt},
        {QStringLiteral("260308 080000 T.dat"), Kopie::Fehlt},
        {QStringLiteral("260301 080000 M.dat"), Kopie::Beschädigt}},
       QString()},
  };
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.was);
    skript = &dialoge::skript();
    aufrufe.clear();
    logbuch.clear();
    kopien = f.kopien;
    QFile::remove(gDatenordner + QStringLiteral("Lockfile.txt"));
    geschädigt = datei(QStringLiteral("Konfigdaten.dat"));
    skript->antworte(dialoge::kJa);
    ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Defekt"), geschädigt, QString()));
    QStringList restores;
    for (const QString& a : aufrufe)
      if (a.startsWith(QStringLiteral("restore "))) restores << a;
    if (f.restore.isEmpty()) {
      EXPECT_TRUE(restores.isEmpty());
      EXPECT_TRUE(gezeigt(kein));
      EXPECT_TRUE(
          logbuch.contains(QStringLiteral("2:Wiederherstellen der Datei Konfigdaten.dat aus Backup fehlgeschlagen")));
    } else {
      EXPECT_EQ(restores, QStringList{QStringLiteral("restore ") + f.restore + QStringLiteral("|Konfigdaten.dat")});
      EXPECT_FALSE(gezeigt(kein));
      EXPECT_EQ(logbuch, QStringList{QStringLiteral("2:Startfehler: Defekt")});
    }
    // The configuration is read again either way, and the repair ends as always.
    EXPECT_EQ(aufrufe.last(), QStringLiteral("konfig"));
    EXPECT_TRUE(letzteMeldung().startsWith(QStringLiteral("Wiederherstellen beendet.")));
  }
}

TEST_F(StartfehlerTest, ReparaturOhneFrueheresBackupProtokolliertDasMisslungeneWiederherstellen) {
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

TEST_F(StartfehlerTest, ReparaturEinerMonatsdateiOderOhneDatei) {
  // A month file is written back from what can be read of it (its bytes as they were
  // before it was deleted), after the default files; today's repair backup exists
  // already, so none is made.
  sicherung(QStringLiteral("260310 080000 F.dat"), 3600);
  sicherung(QStringLiteral("260309 080000 T.dat"), 86400);
  geschädigt = datei(QStringLiteral("2603 260305 Data.dat"));
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Monat defekt"), geschädigt, QString()));
  EXPECT_EQ(aufrufe, (QStringList{QStringLiteral("setup"), QStringLiteral("monat 2603 260305 Data.dat|x\r\n")}));
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

TEST_F(StartfehlerTest, ReparaturBehaeltEineVorhandeneSperre) {
  const QByteArray sperre = "Inventur|chef\r\n";
  schreiben(gDatenordner + QStringLiteral("Lockfile.txt"), sperre);
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("x"), QString(), QStringLiteral("p")));
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Lockfile.txt")), sperre);
}

TEST_F(StartfehlerTest, ReparaturSperrtBenutzerAusDieKeineAdministratorenSind) {
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

TEST_F(StartfehlerTest, ReparaturDerZeigerdateiSuchtDenDatenordnerUndEndet) {
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
TEST_F(StartfehlerTest, FehlerImBackupDerReparaturStartetKeineZweiteReparatur) {
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
    gReparaturdienste.backup_erstellen = backup;
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

TEST_F(StartfehlerTest, MisslungenesWiederherstellenZaehltAlsMisslungenNichtAlsNeueReparatur) {
  geschädigt = datei(QStringLiteral("Feiertage.dat"));
  sicherung(QStringLiteral("260309 080000 T.dat"), 86400);
  gReparaturdienste.restore = [](const QString& s, const QString&) -> bool {
    Startfehler(QStringLiteral("Der Dateiheader [x] der Datei wurde nicht erkannt."), s, QString());
    return true;
  };
  skript->antworte(dialoge::kJa);
  ERWARTE_PROGRAMMENDE(Startfehler(QStringLiteral("Defekt"), geschädigt, QString()));
  EXPECT_EQ(fragen(), 1);
  EXPECT_EQ(logbuch.value(0), QStringLiteral("2:Wiederherstellen der Datei Feiertage.dat aus Backup fehlgeschlagen"));
  EXPECT_TRUE(letzteMeldung().startsWith(QStringLiteral("Wiederherstellen beendet.")));
}

TEST_F(StartfehlerTest, BeimOeffnenLeereDatendateiErreichtDieReparatur) {
  const QString p = datei(QStringLiteral("Mitarbeiterdaten.dat"), "");
  ERWARTE_PROGRAMMENDE(FOpen(p, QStringLiteral("Input")));
  ASSERT_EQ(fragen(), 1);
  EXPECT_TRUE(skript->protokoll.back().text == QStringLiteral("Das Programm wird beendet"));
  EXPECT_TRUE(QFile::exists(p));
}

}  // namespace
