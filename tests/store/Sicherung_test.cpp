#include "store/Sicherung.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QThread>
#include <algorithm>
#include <map>
#include <thread>

#include "common/Testumgebung.h"
#include "launch/Programmstart.h"
#include "platform/Einzelinstanz.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"
#include "store/Jahreswechsel.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"

// Readable failures.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
static void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace {

const QString kKeineSicherung =
    QStringLiteral("Bei der Backupdatei handelt es sich um keine Sicherungsdatei des Velkoras");

// Every file of a folder with its bytes.
std::map<QString, QByteArray> abbild(const QString& ordner) {
  std::map<QString, QByteArray> r;
  for (const QString& n : QDir(ordner).entryList(QDir::Files | QDir::Hidden)) r[n] = lesen(ordner + n);
  return r;
}

class Sicherung : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gPlanungsjahr = 2025;
  }
  void datei(const QString& pfad, const QStringList& zeilen) { schreiben(pfad, kodiert(zeilen)); }
  // A small data folder: two data files, a month file and a logbook.
  void datenAnlegen() {
    datei(gDatenordner + QStringLiteral("Konfigdaten.dat"),
          {QStringLiteral("[Velkora]"), QStringLiteral("K"), QStringLiteral("1.16.1")});
    datei(
        gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"),
        {QStringLiteral("[Mitarbeiterdaten]"), QStringLiteral("K"), QStringLiteral("2025"), QStringLiteral("NoNames")});
    datei(gDatenordner + QStringLiteral("2603 260301 Data.dat"),
          {QStringLiteral("[2603]"), QStringLiteral("K"), QStringLiteral("NoEx:NoEx")});
    datei(gLogordner + QStringLiteral("2603 Velkora.log"), {QStringLiteral("260301|0800|anna|Eintrag")});
  }
  // The decoded lines of the newest backup just written.
  QStringList sicherung() { return dekodierteZeilen(gSicherungsordner + gSicherungsdatei); }
  QString backup(const QString& name, const QStringList& zeilen) {
    datei(gSicherungsordner + name, zeilen);
    return gSicherungsordner + name;
  }
  // Both folders that a restore may write, with their bytes.
  std::map<QString, QByteArray> beide() {
    auto r = abbild(gDatenordner);
    for (const auto& [n, b] : abbild(gLogordner)) r[QStringLiteral("Logs/") + n] = b;
    return r;
  }
};

TEST_F(Sicherung, NamenNachArt) {
  uhr.uhrzeit = QTime(7, 5, 9);
  uhr.einsetzen();
  const struct {
    const char* art;
    const char* name;
  } fälle[] = {
      {"T", "260310 070509 T.dat"},
      {"M", "260310 070509 M.dat"},
      {"A", "260310 070509 A.dat"},
      {"E", "260310 070509 E.dat"},
      {"F", "260310 070509 F.dat"},
      // The planning year one below the current year: its year change backup bears the
      // year after the current one.
      {"J", "270310 070509 J.dat"},
      {"I", "000000 000000 I.dat"},
  };
  for (const auto& f : fälle) {
    ASSERT_TRUE(Backup_erstellen(QString::fromLatin1(f.art))) << f.art;
    EXPECT_EQ(gSicherungsdatei, QString::fromLatin1(f.name));
    EXPECT_TRUE(QFile::exists(gSicherungsordner + QString::fromLatin1(f.name))) << f.name;
  }
}

TEST_F(Sicherung, BeispielMitZwoelfZeilen) {
  datei(gDatenordner + QStringLiteral("Drei.dat"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  schreiben(gDatenordner + QStringLiteral("Null.dat"), {});
  // Last month's logbook: this month's also gets the backup's own logbook line.
  datei(gLogordner + QStringLiteral("2602 Velkora.log"), {QStringLiteral("x"), QStringLiteral("y")});
  // Neither the backup folder's own files nor other kinds of files are listed.
  datei(gSicherungsordner + QStringLiteral("260101 000000 T.dat"), {QStringLiteral("[VelkoraBackup]")});
  datei(gDatenordner + QStringLiteral("Lockfile.txt"), {QStringLiteral("x")});

  ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")));
  EXPECT_TRUE(skript->protokoll.empty());
  const QStringList z = sicherung();
  // The empty file is left out: a restore would write it back as an empty file.
  EXPECT_EQ(z.mid(0, 10), (QStringList{"[VelkoraBackup]", "[Drei.dat]", "[3]", "a", "b", "c", "[2602 Velkora.log]",
                                       "[2]", "x", "y"}));
  // It was noted in this month's logbook, which the backup then holds too.
  ASSERT_EQ(z.size(), 13);
  EXPECT_EQ(z.mid(10, 2), (QStringList{"[2603 Velkora.log]", "[1]"}));
  EXPECT_TRUE(z[12].startsWith(QStringLiteral("10.03.26 09:30:00|tester|VelkoraAdmin|Backup: Die Datei ")));
  EXPECT_TRUE(z[12].endsWith(QStringLiteral("Null.dat' ist leer und wurde nicht gesichert")));
  // Every line is encoded, CR LF after each.
  const QByteArray roh = lesen(gSicherungsordner + gSicherungsdatei);
  EXPECT_EQ(roh.count("\r\n"), 13);
  EXPECT_FALSE(roh.contains("VelkoraBackup"));
}

TEST_F(Sicherung, FehlenderOderNichtBeschreibbarerOrdnerScheitertStill) {
  datenAnlegen();
  const QString ordner = gSicherungsordner;
  gSicherungsordner = ordner + QStringLiteral("fehlt/");
  EXPECT_FALSE(Backup_erstellen(QStringLiteral("T")));
  // A target that cannot be replaced.
  gSicherungsordner = ordner;
  QDir().mkpath(ordner + QStringLiteral("260310 093000 T.dat"));
  EXPECT_FALSE(Backup_erstellen(QStringLiteral("T")));
  EXPECT_TRUE(skript->protokoll.empty());
  EXPECT_TRUE(abbild(ordner).empty());
}

TEST_F(Sicherung, DateiMitLeererZeileWirdAusgelassenOhneDasBackupAbzubrechen) {
  datenAnlegen();
  // An overtime file half written by the other program, and a month file with an empty
  // line, which month files tolerate.
  schreiben(gDatenordner + QStringLiteral("ÜStunden 2026.dat"),
            kodiert({QStringLiteral("[UStunden]")}) + "\r\n" + kodiert({QStringLiteral("x")}));
  schreiben(gDatenordner + QStringLiteral("2604 260301 Data.dat"),
            kodiert({QStringLiteral("[2604]")}) + "\r\n" + kodiert({QStringLiteral("NoEx:NoEx")}));
  gStörungAnzeigen = true;  // at start, a read error would go to the start repair

  ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")));
  EXPECT_TRUE(skript->protokoll.empty());
  const QStringList z = sicherung();
  EXPECT_FALSE(z.join(u'\n').contains(QStringLiteral("UStunden")));
  const qsizetype i = z.indexOf(QStringLiteral("[2604 260301 Data.dat]"));
  ASSERT_GE(i, 0);
  EXPECT_EQ(z.mid(i + 1, 4), (QStringList{"[3]", "[2604]", "", "NoEx:NoEx"}));
}

TEST_F(Sicherung, BackupUebernimmtDieZeilenBytegenauUndLaesstBeschaedigteDateienMitLogbuchzeileAus) {
  datenAnlegen();
  // A month file as workstations leave it: a line ended by LF alone, an empty line, a
  // line with a control byte (no encoder writes one) and a last line without its end.
  const QByteArray a = Zeile_kodieren(QStringLiteral("[2604]"), 70);
  const QByteArray b = Zeile_kodieren(QStringLiteral("Kennung"), 200);
  const QByteArray c = Zeile_kodieren(QStringLiteral("NoEx:NoEx"), 33);
  QByteArray steuer = Zeile_kodieren(QStringLiteral("A:anna:") + QString(31, u' '), 90);
  steuer[3] = '\x01';
  const QByteArray d = Zeile_kodieren(QStringLiteral("K:anna:01-02:Messe in Köln"), 120);
  schreiben(gDatenordner + QStringLiteral("2604 260301 Data.dat"),
            a + "\n" + b + "\r\n\r\n" + c + "\r\n" + steuer + "\r\n" + d);
  // A data file with an empty line is not one the program wrote.
  schreiben(gDatenordner + QStringLiteral("Kaputt.dat"), a + "\r\n\r\n" + b + "\r\n");

  ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")));
  const QByteArray roh = lesen(gSicherungsordner + gSicherungsdatei);
  for (const QByteArray& z : {a, b, c, d}) EXPECT_TRUE(roh.contains("\r\n" + z + "\r\n")) << z.toHex().toStdString();
  const QByteArray konfig = lesen(gDatenordner + QStringLiteral("Konfigdaten.dat"));
  EXPECT_TRUE(roh.contains(konfig));
  // Every line of the backup is one the encoder can have written.
  EXPECT_FALSE(std::any_of(roh.begin(), roh.end(),
                           [](char ch) { return static_cast<unsigned char>(ch) < 32 && ch != '\r' && ch != '\n'; }));
  EXPECT_TRUE(roh.endsWith("\r\n"));

  const QStringList z = sicherung();
  const qsizetype i = z.indexOf(QStringLiteral("[2604 260301 Data.dat]"));
  ASSERT_GE(i, 0);
  EXPECT_EQ(z.mid(i + 1, 7), (QStringList{"[6]", "[2604]", "Kennung", "", "NoEx:NoEx", Zeile_dekodieren(steuer),
                                          QStringLiteral("K:anna:01-02:Messe in Köln")}));
  EXPECT_FALSE(z.contains(QStringLiteral("[Kaputt.dat]")));
  const QStringList log = dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log"));
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const QString& l) {
    return l.endsWith(QStringLiteral("Kaputt.dat' ist nicht lesbar und wurde nicht gesichert"));
  }));
  // And a restore takes the backup as one.
  std::vector<Sicherungsblock> blöcke;
  EXPECT_TRUE(Sicherung_einlesen(gSicherungsordner + gSicherungsdatei, blöcke));
}

TEST_F(Sicherung, JedeMonatsdateiGehtMitDenZeilenDieDerKanalLiestInsBackup) {
  datenAnlegen();
  // Whole files of encoded lines go in as they stand; anything else line by line. Each
  // way gives the lines, and the count, that reading the file line by line gives.
  const QByteArray a = Zeile_kodieren(QStringLiteral("[2604]"), 70);
  const QByteArray b = Zeile_kodieren(QStringLiteral("Kennung"), 200);
  const QByteArray c = Zeile_kodieren(QStringLiteral("K:anna:01-02:Messe in Köln"), 33);
  const std::vector<QByteArray> fälle = {
      a + "\r\n" + b + "\r\n" + c + "\r\n",
      a + "\r\n" + b + "\r\n" + c,
      a,
      "A",
      a + "\r\n" + b + "\n" + c + "\r\n",
      a + "\r\n" + b + "\r" + c + "\r\n",
      a + "\r\n" + b + "\r\n" + c + "\r",
      a + "\r\n" + b + "\r\n\r\n" + c + "\r\n",
      a + "\r\n" + b + "\r\n" + c + "\r\n\r\n",
      a + "\r\n" + b + "\r\r\n" + c,
      "\r\n" + a + "\r\n" + b + "\r\n",
      a + "\r\n" + b + "\x1f" + c + "\r\n",
      a + "\r\n\n" + b,
  };
  const QString name = QStringLiteral("2604 260301 Data.dat");
  for (const QByteArray& inhalt : fälle) {
    schreiben(gDatenordner + name, inhalt);
    QStringList erwartet;
    std::vector<QByteArray> roheZeilen;
    ASSERT_TRUE(FOpen(gDatenordner + name, QStringLiteral("Input")));
    while (!FEOF()) {
      const QByteArrayView z = Kanal_Zeile_sehen();
      roheZeilen.push_back(z.toByteArray());
      erwartet << Zeile_dekodieren(z);
    }
    FClose();

    ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")));
    std::vector<Sicherungsblock> blöcke;
    ASSERT_TRUE(Sicherung_einlesen(gSicherungsordner + gSicherungsdatei, blöcke));
    const auto block =
        std::find_if(blöcke.begin(), blöcke.end(), [&](const Sicherungsblock& s) { return s.name == name; });
    ASSERT_NE(block, blöcke.end()) << inhalt.toHex().toStdString();
    EXPECT_EQ(block->zeilen, erwartet) << inhalt.toHex().toStdString();
    ASSERT_NE(block + 1, blöcke.end());
    EXPECT_EQ((block + 1)->name, QStringLiteral("Konfigdaten.dat"));
    const QByteArray roh = lesen(gSicherungsordner + gSicherungsdatei);
    for (const QByteArray& zeile : roheZeilen) {
      if (!zeile.isEmpty() && std::none_of(zeile.begin(), zeile.end(), [](char ch) { return uchar(ch) < 32; })) {
        EXPECT_TRUE(roh.contains("\r\n" + zeile + "\r\n")) << inhalt.toHex().toStdString();
      }
    }
    EXPECT_FALSE(std::any_of(roh.begin(), roh.end(),
                             [](char ch) { return static_cast<unsigned char>(ch) < 32 && ch != '\r' && ch != '\n'; }));
    QFile::remove(gSicherungsordner + gSicherungsdatei);
  }
}

TEST_F(Sicherung, ZufaelligeMonatsdateienGehenMitDenZeilenDesKanalsInsBackup) {
  datenAnlegen();
  // Encoded lines of every length with, now and then, a line end of another kind, an
  // empty line or a control byte, at every position of the sixteen-byte steps.
  QRandomGenerator zufall(2603);
  const QString name = QStringLiteral("2604 260301 Data.dat");
  for (int runde = 0; runde < 80; ++runde) {
    QByteArray inhalt;
    const int zeilen = 1 + zufall.bounded(12);
    for (int k = 0; k < zeilen; ++k) {
      QString text;
      for (int n = zufall.bounded(45); n > 0; --n) text += QChar(32 + zufall.bounded(224));
      QByteArray z = Zeile_kodieren(text, static_cast<unsigned char>(32 + zufall.bounded(223)));
      if (zufall.bounded(10) == 0) z[zufall.bounded(z.size())] = static_cast<char>(zufall.bounded(32));
      inhalt += z;
      static const char* const enden[] = {"\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r", "\r\n\r\n", "\r\r\n", ""};
      if (k + 1 < zeilen || zufall.bounded(2)) inhalt += enden[zufall.bounded(9)];
    }
    schreiben(gDatenordner + name, inhalt);
    QStringList erwartet;
    ASSERT_TRUE(FOpen(gDatenordner + name, QStringLiteral("Input")));
    while (!FEOF()) erwartet << Zeile_dekodieren(Kanal_Zeile_sehen());
    FClose();

    ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")));
    std::vector<Sicherungsblock> blöcke;
    ASSERT_TRUE(Sicherung_einlesen(gSicherungsordner + gSicherungsdatei, blöcke)) << inhalt.toHex().toStdString();
    const auto block =
        std::find_if(blöcke.begin(), blöcke.end(), [&](const Sicherungsblock& s) { return s.name == name; });
    ASSERT_NE(block, blöcke.end()) << inhalt.toHex().toStdString();
    ASSERT_EQ(block->zeilen, erwartet) << inhalt.toHex().toStdString();
    QFile::remove(gSicherungsordner + gSicherungsdatei);
  }
}

class Wiederherstellen : public Sicherung {
 protected:
  void SetUp() override {
    Sicherung::SetUp();
    datenAnlegen();
    ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")));
    gesichert = gSicherungsordner + gSicherungsdatei;
    // Everything changes after the backup.
    datei(gDatenordner + QStringLiteral("Konfigdaten.dat"), {QStringLiteral("[Velkora]"), QStringLiteral("neu")});
    datei(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"),
          {QStringLiteral("[Mitarbeiterdaten]"), QStringLiteral("neu")});
    datei(gLogordner + QStringLiteral("2603 Velkora.log"), {QStringLiteral("neu")});
    QFile::remove(gDatenordner + QStringLiteral("2603 260301 Data.dat"));
  }
  QString gesichert;
};

TEST_F(Wiederherstellen, AlleOhneLogsUndEineDatei) {
  const QStringList konfig{"[Velkora]", "K", "1.16.1"};
  const QStringList mitarbeiter{"[Mitarbeiterdaten]", "K", "2025", "NoNames"};
  const QStringList monat{"[2603]", "K", "NoEx:NoEx"};
  const QStringList log{"260301|0800|anna|Eintrag"};
  const auto k = [&] { return dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat")); };
  const auto m = [&] { return dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")); };
  const auto l = [&] { return dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log")); };

  // One file.
  EXPECT_TRUE(Restore_aus_Backupdatei(gesichert, QStringLiteral("Konfigdaten.dat")));
  EXPECT_EQ(k(), konfig);
  EXPECT_EQ(m(), (QStringList{"[Mitarbeiterdaten]", "neu"}));
  EXPECT_EQ(l(), QStringList{"neu"});
  EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("2603 260301 Data.dat")));

  // Without logbooks.
  const QByteArray logVorher = lesen(gLogordner + QStringLiteral("2603 Velkora.log"));
  EXPECT_TRUE(Restore_aus_Backupdatei(gesichert, QStringLiteral("NoLogs")));
  EXPECT_EQ(m(), mitarbeiter);
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("2603 260301 Data.dat")), monat);
  EXPECT_EQ(lesen(gLogordner + QStringLiteral("2603 Velkora.log")), logVorher);

  // Everything; a file the backup does not hold stays.
  datei(gDatenordner + QStringLiteral("Extra.dat"), {QStringLiteral("bleibt")});
  EXPECT_TRUE(Restore_aus_Backupdatei(gesichert, QString()));
  EXPECT_EQ(l(), log);
  EXPECT_EQ(k(), konfig);
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Extra.dat")), QStringList{"bleibt"});
  EXPECT_TRUE(skript->protokoll.empty());
  // No temporary file is left behind.
  for (const QString& n : QDir(gDatenordner).entryList(QDir::Files))
    EXPECT_FALSE(Ist_Zwischendatei(n)) << qPrintable(n);
}

TEST_F(Wiederherstellen, DateiDieDasBackupNichtHatIstKeinErfolg) {
  const QString pfad = backup(QStringLiteral("260310 100000 A.dat"),
                              {"[VelkoraBackup]", "[Konfigdaten.dat]", "[1]", "x", "[ÜStunden 2026.dat]", "[0]"});
  const auto vorher = beide();
  EXPECT_FALSE(Restore_aus_Backupdatei(gesichert, QStringLiteral("Feiertage.dat")));
  // Held, but empty when it was backed up: restoring it would repair nothing.
  EXPECT_FALSE(Restore_aus_Backupdatei(pfad, QStringLiteral("ÜStunden 2026.dat")));
  EXPECT_EQ(beide(), vorher);
  // The whole backup writes it as it was.
  EXPECT_TRUE(Restore_aus_Backupdatei(pfad, QString()));
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("ÜStunden 2026.dat")), QByteArray());
  EXPECT_TRUE(QFile::exists(gDatenordner + QStringLiteral("ÜStunden 2026.dat")));
}

TEST_F(Wiederherstellen, NeuestesBackupIstTagesMonatsAenderungsOderExportbackup) {
  // Newer files of the other kinds are passed over.
  const QStringList fremd{"[VelkoraBackup]", "[Konfigdaten.dat]", "[1]", "fremd"};
  for (const char* n : {"260310 100000 F.dat", "280310 100000 J.dat", "000000 000000 I.dat"}) {
    backup(QString::fromLatin1(n), fremd);
    QFile f(gSicherungsordner + QString::fromLatin1(n));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime);
  }
  // An older daily backup.
  const QString alt = backup(QStringLiteral("260301 100000 T.dat"), fremd);
  {
    QFile f(alt);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime::currentDateTime().addDays(-9), QFileDevice::FileModificationTime);
  }
  EXPECT_TRUE(Restore_aus_Backupdatei(QString(), QStringLiteral("Konfigdaten.dat")));
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat")),
            (QStringList{"[Velkora]", "K", "1.16.1"}));

  // With only repair, year-change and temporary backups there is nothing to restore from.
  QFile::remove(gesichert);
  QFile::remove(alt);
  const auto vorher = beide();
  EXPECT_FALSE(Restore_aus_Backupdatei(QString(), QString()));
  EXPECT_EQ(beide(), vorher);
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(Wiederherstellen, AbgelehntesBackupAendertNichts) {
  const QByteArray gut = lesen(gesichert);
  QByteArray abgeschnitten = gut;
  abgeschnitten.chop(abgeschnitten.size() - abgeschnitten.lastIndexOf("\r\n", abgeschnitten.size() - 3) - 2);
  const struct {
    const char* fall;
    QByteArray inhalt;
  } fälle[] = {
      {"wrong header", kodiert({"[VelkoraExport]", "[Konfigdaten.dat]", "[1]", "x"})},
      {"plain text", QByteArray("[VelkoraBackup]\r\n[Konfigdaten.dat]\r\n[1]\r\nx\r\n")},
      {"empty file", QByteArray()},
      {"path in a name",
       kodiert({"[VelkoraBackup]", "[Konfigdaten.dat]", "[1]", "x", "[../Konfigdaten.dat]", "[1]", "x"})},
      {"folder in a name", kodiert({"[VelkoraBackup]", "[Logs/2603 Velkora.log]", "[1]", "x"})},
      {"backslash path", kodiert({"[VelkoraBackup]", "[..\\Konfigdaten.dat]", "[1]", "x"})},
      {"absolute path", kodiert({"[VelkoraBackup]", "[/tmp/x.dat]", "[1]", "x"})},
      {"control character", kodiert({"[VelkoraBackup]", "[Konfig\x7f.dat]", "[1]", "x"})},
      {"dot dot", kodiert({"[VelkoraBackup]", "[..]", "[0]"})},
      {"other extension", kodiert({"[VelkoraBackup]", "[Velkora_tester.ini]", "[1]", "x"})},
      {"count beyond the end",
       kodiert({"[VelkoraBackup]", "[Konfigdaten.dat]", "[1]", "x", "[Mitarbeiterdaten.dat]", "[5]", "a"})},
      {"count not a number", kodiert({"[VelkoraBackup]", "[Konfigdaten.dat]", "[x]", "x"})},
      {"count without brackets", kodiert({"[VelkoraBackup]", "[Konfigdaten.dat]", "1", "x"})},
      {"empty line in a block",
       kodiert({"[VelkoraBackup]", "[Konfigdaten.dat]", "[2]", "x"}) + "\r\n" + kodiert({"y"})},
      {"truncated", abgeschnitten},
  };
  const QString pfad = gSicherungsordner + QStringLiteral("Import.dat");
  const auto vorher = beide();
  for (const auto& f : fälle) {
    skript->protokoll.clear();
    schreiben(pfad, f.inhalt);
    for (const QString& filter : {QString(), QStringLiteral("NoLogs"), QStringLiteral("Konfigdaten.dat")}) {
      EXPECT_FALSE(Restore_aus_Backupdatei(pfad, filter)) << f.fall;
      EXPECT_EQ(beide(), vorher) << f.fall;
    }
    ASSERT_EQ(skript->texte().size(), 3u) << f.fall;
    EXPECT_EQ(skript->texte()[0], kKeineSicherung) << f.fall;
  }
  EXPECT_FALSE(QFile::exists(ordner() + QStringLiteral("Konfigdaten.dat")));
  // The untouched backup still restores.
  EXPECT_TRUE(Restore_aus_Backupdatei(gesichert, QString()));
}

// A restore checks every target before it writes the first file: stopping half-way
// would leave the folder a mix of two points in time.
TEST_F(Wiederherstellen, EinNichtSchreibbaresZielStopptDieWiederherstellungVorDemErstenSchreiben) {
  QDir().mkpath(gDatenordner + QStringLiteral("Ordner.dat"));
  const QString lang = QString(248, u'a') + QStringLiteral(".dat");
  const struct {
    const char* fall;
    QString name;
  } fälle[] = {
      {"a name too long for its temporary name", lang},
      {"a name of an existing folder", QStringLiteral("Ordner.dat")},
  };
  for (const auto& f : fälle) {
    skript->protokoll.clear();
    const QString pfad =
        backup(QStringLiteral("Import.dat"), {"[VelkoraBackup]", "[Konfigdaten.dat]", "[1]", "x", "[2603 Velkora.log]",
                                              "[1]", "y", u'[' + f.name + u']', "[1]", "z"});
    const auto vorher = beide();
    for (const QString& filter : {QString(), QStringLiteral("NoLogs")}) {
      EXPECT_FALSE(Restore_aus_Backupdatei(pfad, filter)) << f.fall;
      EXPECT_EQ(beide(), vorher) << f.fall;
    }
    ASSERT_EQ(skript->texte().size(), 2u) << f.fall;
    EXPECT_TRUE(skript->texte()[0].contains(QStringLiteral("Es wurde keine Datei verändert"))) << f.fall;
    // The file alone, when asked for, is still restored.
    EXPECT_TRUE(Restore_aus_Backupdatei(pfad, QStringLiteral("Konfigdaten.dat"))) << f.fall;
    EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Konfigdaten.dat")), QStringList{"x"});
  }
}

TEST_F(Sicherung, EineSicherungUebergehtVerweiseUndLeereDateienMitLogbuchzeile) {
  datenAnlegen();
  const QString außen = unterordner(QStringLiteral("Draussen")) + QStringLiteral("geheim.txt");
  schreiben(außen, kodiert({QStringLiteral("geheim")}));
  ASSERT_EQ(::symlink(QFile::encodeName(außen).constData(),
                      QFile::encodeName(gDatenordner + QStringLiteral("Verweis.dat")).constData()),
            0);
  schreiben(gDatenordner + QStringLiteral("Leer.dat"), {});
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")));
  const QStringList z = sicherung();
  EXPECT_FALSE(z.contains(QStringLiteral("[Verweis.dat]")));
  EXPECT_FALSE(z.contains(QStringLiteral("geheim")));
  EXPECT_FALSE(z.contains(QStringLiteral("[Leer.dat]")));
  EXPECT_TRUE(z.contains(QStringLiteral("[Konfigdaten.dat]")));
  const QStringList log = dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log"));
  const auto hat = [&](const QString& ende) {
    return std::any_of(log.begin(), log.end(), [&](const QString& l) { return l.endsWith(ende); });
  };
  EXPECT_TRUE(hat(QStringLiteral("Verweis.dat' ist ein Verweis und wurde nicht gesichert")));
  EXPECT_TRUE(hat(QStringLiteral("Leer.dat' ist leer und wurde nicht gesichert")));
}

TEST_F(Sicherung, Aufraeumen) {
  const struct {
    const char* fall;
    QDate heute;
    QStringList dateien;
    const char* muster;
    int behalten;
    QStringList gelöscht;
  } fälle[] = {
      {"eight old daily backups: the oldest goes",
       QDate(2026, 3, 20),
       {"260301 090000 T.dat", "260302 090000 T.dat", "260303 090000 T.dat", "260304 090000 T.dat",
        "260305 090000 T.dat", "260306 090000 T.dat", "260307 090000 T.dat", "260308 090000 T.dat"},
       "*T.dat",
       7,
       {"260301 090000 T.dat"}},
      {"two of today and six older: the oldest is only six days old",
       QDate(2026, 3, 10),
       {"260304 090000 T.dat", "260305 090000 T.dat", "260306 090000 T.dat", "260307 090000 T.dat",
        "260308 090000 T.dat", "260309 090000 T.dat", "260310 080000 T.dat", "260310 090000 T.dat"},
       "*T.dat",
       7,
       {}},
      {"two of today and six older: the oldest is seven days old",
       QDate(2026, 3, 10),
       {"260303 090000 T.dat", "260305 090000 T.dat", "260306 090000 T.dat", "260307 090000 T.dat",
        "260308 090000 T.dat", "260309 090000 T.dat", "260310 080000 T.dat", "260310 090000 T.dat"},
       "*T.dat",
       7,
       {"260303 090000 T.dat"}},
      {"across a month end six days are six days",
       QDate(2026, 3, 2),
       {"260224 090000 A.dat", "260225 090000 A.dat", "260226 090000 A.dat", "260227 090000 A.dat",
        "260228 090000 A.dat", "260301 090000 A.dat"},
       "*A.dat",
       5,
       {}},
      {"across a year end",
       QDate(2026, 1, 3),
       {"251228 090000 M.dat", "251230 090000 M.dat", "260101 090000 M.dat", "260102 090000 M.dat"},
       "*M.dat",
       3,
       {}},
      {"across a year end, old enough",
       QDate(2026, 1, 3),
       {"251226 090000 M.dat", "251230 090000 M.dat", "260101 090000 M.dat", "260102 090000 M.dat"},
       "*M.dat",
       3,
       {"251226 090000 M.dat"}},
      {"every export backup goes, also today's",
       QDate(2026, 3, 10),
       {"260310 090000 E.dat", "260301 090000 E.dat"},
       "*E.dat",
       0,
       {"260301 090000 E.dat", "260310 090000 E.dat"}},
      {"one repair backup is kept",
       QDate(2026, 3, 30),
       {"260301 090000 F.dat", "260302 090000 F.dat", "260303 090000 F.dat"},
       "*F.dat",
       1,
       {"260301 090000 F.dat", "260302 090000 F.dat"}},
      {"no more than the count: nothing goes",
       QDate(2026, 3, 30),
       {"250101 090000 T.dat", "250102 090000 T.dat"},
       "*T.dat",
       7,
       {}},
      {"other kinds are left alone",
       QDate(2026, 3, 30),
       {"250101 090000 T.dat", "250101 090000 J.dat", "000000 000000 I.dat", "250101 090000 M.dat"},
       "*T.dat",
       0,
       {"250101 090000 T.dat"}},
  };
  for (const auto& f : fälle) {
    QDir(gSicherungsordner).removeRecursively();
    QDir().mkpath(gSicherungsordner);
    for (const QString& n : f.dateien) schreiben(gSicherungsordner + n, "x");
    gHeute = f.heute;
    gHeuteText = FormatDatumDS(f.heute);
    Alte_Dateien_löschen(gSicherungsordner, QString::fromLatin1(f.muster), f.behalten);
    QStringList übrig = f.dateien;
    for (const QString& n : f.gelöscht) übrig.removeAll(n);
    übrig.sort();
    EXPECT_EQ(Dateiliste(gSicherungsordner, QStringLiteral("*")), übrig) << f.fall;
  }
}

TEST_F(Sicherung, MonatslogbuecherGehenNurNachDerAnzahl) {
  gHeute = QDate(2026, 3, 10);
  const QStringList logs{"2501 Velkora.log", "2502 Velkora.log", "2603 Velkora.log", "2602 Velkora.log"};
  for (const QString& n : logs) schreiben(gLogordner + n, "x");
  schreiben(gLogordner + QStringLiteral("2603 ÜStunden.log"), "x");
  Alte_Dateien_löschen(gLogordner, QStringLiteral("*Velkora.log"), 2);
  EXPECT_EQ(Dateiliste(gLogordner, QStringLiteral("*")),
            (QStringList{"2602 Velkora.log", "2603 Velkora.log", "2603 ÜStunden.log"}));
}

TEST_F(Sicherung, Auswahlliste) {
  for (const char* n : {"260302 080000 T.dat", "260301 120000 M.dat", "260305 070000 A.dat", "260306 070000 E.dat",
                        "260307 070000 F.dat", "270101 070000 J.dat", "280101 060000 J.dat", "000000 000000 I.dat"})
    schreiben(gSicherungsordner + QString::fromLatin1(n), "x");
  schreiben(gSicherungsordner + QStringLiteral("Velkora Sicherung.lock"), "x");

  EXPECT_EQ(Sicherungspunkte(gSicherungsordner, true, false),
            (QStringList{"260306070000|260306 070000 E.dat", "260305070000|260305 070000 A.dat",
                         "260302080000|260302 080000 T.dat", "260301120000|260301 120000 M.dat"}));
  EXPECT_EQ(Sicherungspunkte(gSicherungsordner, true, true),
            (QStringList{"280101060000|280101 060000 J.dat", "270101070000|270101 070000 J.dat"}));

  // By file time: the key is the time stamp, whatever the name says.
  const QDateTime zeiten[] = {
      QDateTime(QDate(2026, 3, 9), QTime(6, 7, 8)), QDateTime(QDate(2026, 3, 8), QTime(23, 0, 1)),
      QDateTime(QDate(2026, 3, 1), QTime(0, 0, 0)), QDateTime(QDate(2026, 2, 1), QTime(0, 0, 0))};
  const char* namen[] = {"260301 120000 M.dat", "260306 070000 E.dat", "260305 070000 A.dat", "260302 080000 T.dat"};
  for (int i = 0; i < 4; ++i) {
    QFile f(gSicherungsordner + QString::fromLatin1(namen[i]));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(zeiten[i], QFileDevice::FileModificationTime));
  }
  const QStringList nachZeit = Sicherungspunkte(gSicherungsordner, false, false);
  ASSERT_EQ(nachZeit.size(), 4);
  EXPECT_EQ(nachZeit[0], QStringLiteral("260309060708|260301 120000 M.dat"));
  EXPECT_EQ(nachZeit[1], QStringLiteral("260308230001|260306 070000 E.dat"));

  gDatumsreihenfolge = 1;
  gDatumstrennzeichen = QStringLiteral(".");
  EXPECT_EQ(Sicherungspunkt_Text(nachZeit[0]), QStringLiteral("Sicherung vom 09.03.26, 06:07:08 Uhr"));
  gDatumsreihenfolge = 0;
  gDatumstrennzeichen = QStringLiteral("/");
  EXPECT_EQ(Sicherungspunkt_Text(QStringLiteral("260302080000|260302 080000 T.dat")),
            QStringLiteral("Sicherung vom 03/02/26, 08:00:00 Uhr"));

  EXPECT_TRUE(Sicherungspunkte(ordner() + QStringLiteral("leer"), true, false).isEmpty());
}

// Two workstations starting at the same moment: the other one holds the backup folder's
// lock and makes today's daily backup meanwhile; this one then makes none.
TEST_F(Sicherung, GleichzeitigStartendeArbeitsplaetzeMachenEinTagesbackup) {
  datenAnlegen();
  const QStringList muster{gHeuteText + QStringLiteral("*M.dat"), gHeuteText + QStringLiteral("*T.dat")};
  QSemaphore gesperrt;
  const QString andere = gSicherungsordner + QStringLiteral("260310 092959 T.dat");
  std::thread arbeitsplatz([&] {
    QLockFile sperre(gSicherungsordner + QStringLiteral("Velkora Sicherung.lock"));
    ASSERT_TRUE(sperre.lock());
    gesperrt.release();
    QThread::msleep(300);
    QFile f(andere);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kodiert({QStringLiteral("[VelkoraBackup]")}));
    f.close();
    sperre.unlock();
  });
  gesperrt.acquire();
  EXPECT_FALSE(Backup_erstellen_wenn_fehlend(QStringLiteral("T"), muster));
  arbeitsplatz.join();
  EXPECT_EQ(Dateiliste(gSicherungsordner, QStringLiteral("*.dat")), QStringList{QStringLiteral("260310 092959 T.dat")});

  // With the lock free and no backup of today, this one makes it, once.
  QFile::remove(andere);
  EXPECT_TRUE(Backup_erstellen_wenn_fehlend(QStringLiteral("T"), muster));
  EXPECT_FALSE(Backup_erstellen_wenn_fehlend(QStringLiteral("T"), muster));
  EXPECT_EQ(Dateiliste(gSicherungsordner, QStringLiteral("*.dat")), QStringList{QStringLiteral("260310 093000 T.dat")});
}

// Another workstation writing a month anew between the backup's listing and its read
// of the version listed: its save writes the month under its own day and deletes the
// version it replaced. The month stands in every backup, in the version the folder
// holds once the backup is done.
class Sicherung_neben_Schreibern : public Sicherung {
 protected:
  void SetUp() override {
    Sicherung::SetUp();
    datenAnlegen();
    gDatumstrennzeichen = QStringLiteral(".");
    fassung(QStringLiteral("2604 260301 Data.dat"), QStringLiteral("[2604]"), 0);
  }
  void fassung(const QString& name, const QString& kopf, int n) {
    datei(gDatenordner + name,
          {kopf, QStringLiteral("K"), QStringLiteral("NoEx:NoEx"), QStringLiteral("K:anna:01-02:Fassung %1").arg(n)});
  }
  static QStringList versionen(const QString& schlüssel) {
    return Dateiliste(gDatenordner, schlüssel + QStringLiteral("*Data.dat"));
  }
  // Before the backup reads a version of March, `mal` times (-1: every time; not while
  // the month's lock is held when `sperreAchten`): a save of the 9th or the 8th writes
  // the month afresh and deletes the version read, or, with `löschen`, the month goes.
  void schreiberEinsetzen(int mal, bool sperreAchten, bool löschen = false) {
    gSicherung_vor_dem_Lesen = [=, this](const QString& pfad) {
      const QString name = pfad.mid(gDatenordner.size());
      if (!name.startsWith(QStringLiteral("2603 ")) || (mal >= 0 && geschrieben >= mal)) return;
      if (sperreAchten && QFile::exists(Monatssperre_Datei(QStringLiteral("2603")))) return;
      ++geschrieben;
      if (!löschen)
        fassung(name.mid(5, 6) == u"260309" ? QStringLiteral("2603 260308 Data.dat")
                                            : QStringLiteral("2603 260309 Data.dat"),
                QStringLiteral("[2603]"), geschrieben);
      ASSERT_TRUE(QFile::remove(pfad));
    };
  }
  // The data files of the backup just written whose names begin with `anfang`.
  std::vector<Sicherungsblock> monatsblöcke(const QString& anfang) {
    std::vector<Sicherungsblock> blöcke;
    EXPECT_TRUE(Sicherung_einlesen(gSicherungsordner + gSicherungsdatei, blöcke));
    std::erase_if(blöcke, [&](const Sicherungsblock& b) {
      return !b.name.startsWith(anfang) || !b.name.endsWith(QStringLiteral(".dat"));
    });
    return blöcke;
  }
  int geschrieben = 0;
};

TEST_F(Sicherung_neben_Schreibern, HaeltDieVersionDieDenGelistetenErsetzt) {
  const struct {
    const char* fall;
    int mal;
    bool löschen;
    int mindestens;  // writes seen
  } fälle[] = {
      {"written anew once", 1, false, 1},
      {"written anew at every look until the backup holds the lock", -1, false, 4},
      {"the month went entirely", 1, true, 1},
  };
  for (const auto& f : fälle) {
    for (const QString& n : versionen(QStringLiteral("2603"))) QFile::remove(gDatenordner + n);
    fassung(QStringLiteral("2603 260301 Data.dat"), QStringLiteral("[2603]"), 0);
    geschrieben = 0;
    schreiberEinsetzen(f.mal, true, f.löschen);
    skript->protokoll.clear();

    ASSERT_TRUE(Backup_erstellen(QStringLiteral("T"))) << f.fall;
    EXPECT_GE(geschrieben, f.mindestens) << f.fall;
    EXPECT_TRUE(skript->protokoll.empty()) << f.fall;
    const std::vector<Sicherungsblock> märz = monatsblöcke(QStringLiteral("2603"));
    const QStringList jetzt = versionen(QStringLiteral("2603"));
    if (f.löschen) {
      EXPECT_TRUE(jetzt.isEmpty()) << f.fall;
      EXPECT_TRUE(märz.empty()) << f.fall;
    } else {
      ASSERT_EQ(jetzt.size(), 1) << f.fall;
      ASSERT_EQ(märz.size(), 1u) << f.fall << ": the backup lacks the month";
      EXPECT_EQ(märz[0].name, jetzt[0]) << f.fall;
      EXPECT_EQ(märz[0].zeilen, dekodierteZeilen(gDatenordner + jetzt[0])) << f.fall;
    }
    // The months nobody wrote, and the other files, are there as ever.
    const std::vector<Sicherungsblock> april = monatsblöcke(QStringLiteral("2604"));
    ASSERT_EQ(april.size(), 1u) << f.fall;
    EXPECT_EQ(april[0].name, QStringLiteral("2604 260301 Data.dat")) << f.fall;
    EXPECT_EQ(monatsblöcke(QStringLiteral("Konfigdaten.dat")).size(), 1u) << f.fall;
    EXPECT_FALSE(QFile::exists(Monatssperre_Datei(QStringLiteral("2603")))) << f.fall;
  }
}

// A save appending to the version listed while the backup reads it: the backup sees it
// empty or ending in part of a line, and reads it again under the month lock, which the
// save holds until its lines are whole.
TEST_F(Sicherung_neben_Schreibern, EinMonatMittenImAnhaengenWirdUnterDerSperreGelesen) {
  const QString name = QStringLiteral("2603 260301 Data.dat");
  const QByteArray vorher = kodiert({QStringLiteral("[2603]"), QStringLiteral("K"), QStringLiteral("NoEx:NoEx")});
  const QByteArray zeile = kodiert({QStringLiteral("K:anna:01-02:angehängt")});
  const struct {
    const char* fall;
    QByteArray gesehen;  // what the backup reads without the lock
  } fälle[] = {
      {"part of the appended line", vorher + zeile.left(9)},
      {"an empty file", QByteArray()},
  };
  for (const auto& f : fälle) {
    schreiben(gDatenordner + name, vorher);
    QFile::remove(gLogordner + QStringLiteral("2603 Velkora.log"));
    gSicherung_vor_dem_Lesen = [&](const QString& pfad) {
      if (!pfad.endsWith(name)) return;
      schreiben(pfad, QFile::exists(Monatssperre_Datei(QStringLiteral("2603"))) ? vorher + zeile : f.gesehen);
    };
    ASSERT_TRUE(Backup_erstellen(QStringLiteral("T"))) << f.fall;
    const std::vector<Sicherungsblock> märz = monatsblöcke(QStringLiteral("2603"));
    ASSERT_EQ(märz.size(), 1u) << f.fall;
    EXPECT_EQ(märz[0].zeilen, (QStringList{"[2603]", "K", "NoEx:NoEx", "K:anna:01-02:angehängt"})) << f.fall;
    EXPECT_FALSE(QFile::exists(gLogordner + QStringLiteral("2603 Velkora.log"))) << f.fall;
    EXPECT_FALSE(QFile::exists(Monatssperre_Datei(QStringLiteral("2603")))) << f.fall;
  }
}

// A month that cannot be read (its version goes at every look, also under the lock,
// or the lock is held by a workstation that does not let go meanwhile): no backup,
// not even part of one, and the administrator logbook says why.
TEST_F(Sicherung_neben_Schreibern, OhneLesbarenMonatEntstehtKeinBackup) {
  const struct {
    const char* fall;
    bool sperreHalten;  // another workstation holds the month lock
  } fälle[] = {
      {"the version goes under the lock too", false},
      {"the lock is held by another workstation", true},
  };
  for (const auto& f : fälle) {
    for (const QString& n : versionen(QStringLiteral("2603"))) QFile::remove(gDatenordner + n);
    fassung(QStringLiteral("2603 260301 Data.dat"), QStringLiteral("[2603]"), 0);
    QFile::remove(gLogordner + QStringLiteral("2603 Velkora.log"));
    QProcess halter;
    if (f.sperreHalten) {
      halter.start(QStringLiteral(VELKORA_BIN_DIR "/velkora_monatsdatei_helfer"),
                   {gDatenordner, QStringLiteral("halten"), QStringLiteral("0"), QStringLiteral("1"),
                    QStringLiteral("0"), QStringLiteral("260310")});
      ASSERT_TRUE(halter.waitForReadyRead(60000)) << halter.readAllStandardError().constData();
      ASSERT_EQ(halter.readLine(), QByteArray("bereit\n"));
    }
    geschrieben = 0;
    schreiberEinsetzen(-1, false);

    EXPECT_FALSE(Backup_erstellen(QStringLiteral("T"))) << f.fall;
    EXPECT_TRUE(abbild(gSicherungsordner).empty()) << f.fall << ": a backup point without March";
    const QStringList log = dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log"));
    ASSERT_EQ(log.size(), 1) << f.fall;
    EXPECT_TRUE(log[0].contains(QStringLiteral("|VelkoraAdmin|Backup: Die Sicherung "))) << qPrintable(log[0]);
    EXPECT_TRUE(log[0].contains(gSicherungsdatei)) << qPrintable(log[0]);
    EXPECT_TRUE(
        log[0].endsWith(QStringLiteral(" ist unvollständig und wurde nicht erstellt: Monat 03.2026 nicht lesbar")))
        << qPrintable(log[0]);
    EXPECT_TRUE(skript->protokoll.empty()) << f.fall;
    if (f.sperreHalten) {
      halter.terminate();
      ASSERT_TRUE(halter.waitForFinished(60000));
    }
    EXPECT_FALSE(QFile::exists(Monatssperre_Datei(QStringLiteral("2603")))) << f.fall;
  }
}

// Only a plain file whose name holds a real month and writing day is a version: a link,
// a writing day in month 13 or on the 30th of February, never stands for the month in a
// backup, nor is one taken as the month's newest version when a backup is read. Of a
// month the backup holds the newest version alone.
TEST_F(Sicherung, FremdeNamenUndVerweiseSindKeinMonat) {
  datenAnlegen();
  gDatumstrennzeichen = QStringLiteral(".");
  const auto monat = [&](const QString& name, const QString& text) {
    datei(gDatenordner + name, {QStringLiteral("[2603]"), QStringLiteral("K"), QStringLiteral("NoEx:NoEx"),
                                QStringLiteral("K:anna:01-02:") + text});
  };
  monat(QStringLiteral("2603 260305 Data.dat"), QStringLiteral("neueste"));
  monat(QStringLiteral("2603 261305 Data.dat"), QStringLiteral("Monat 13"));
  monat(QStringLiteral("2603 260230 Data.dat"), QStringLiteral("30. Februar"));
  const QString außen = unterordner(QStringLiteral("Draussen")) + QStringLiteral("2603 260309 Data.dat");
  datei(außen, {QStringLiteral("[2603]"), QStringLiteral("K"), QStringLiteral("NoEx:NoEx")});
  ASSERT_EQ(::symlink(QFile::encodeName(außen).constData(),
                      QFile::encodeName(gDatenordner + QStringLiteral("2603 260309 Data.dat")).constData()),
            0);
  // A month with nothing but a stray name has no version: the backup is made without it.
  monat(QStringLiteral("2605 269905 Data.dat"), QStringLiteral("kein Tag"));

  ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")));
  std::vector<Sicherungsblock> blöcke;
  ASSERT_TRUE(Sicherung_einlesen(gSicherungsordner + gSicherungsdatei, blöcke));
  QStringList monate;
  for (const Sicherungsblock& b : blöcke)
    if (b.name.endsWith(QStringLiteral("Data.dat"))) monate << b.name;
  EXPECT_EQ(monate, (QStringList{"2603 260305 Data.dat"}));
  const QStringList log = dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log"));
  const auto hat = [&](const QString& ende) {
    return std::any_of(log.begin(), log.end(), [&](const QString& l) { return l.endsWith(ende); });
  };
  for (const char* n : {"2603 261305 Data.dat", "2603 260230 Data.dat", "2605 269905 Data.dat"})
    EXPECT_TRUE(hat(QString::fromLatin1(n) + QStringLiteral("' ist keine Erfassungsdatei und wurde nicht gesichert")))
        << n;
  EXPECT_TRUE(hat(QStringLiteral("2603 260309 Data.dat' ist ein Verweis und wurde nicht gesichert")));

  // A backup that holds a stray name beside the month: the month's copy is the version's.
  const QString fremd =
      backup(QStringLiteral("260310 100000 T.dat"), {"[VelkoraBackup]", "[2603 260305 Data.dat]", "[3]", "[2603]", "K",
                                                     "NoEx:NoEx", "[2603 261305 Data.dat]", "[1]", "kaputt"});
  EXPECT_EQ(Kopie_in_Sicherung(fremd, QStringLiteral("2603 260301 Data.dat")), Kopie::Heil);
  const QString nurFremd = backup(QStringLiteral("260310 110000 T.dat"),
                                  {"[VelkoraBackup]", "[2603 261305 Data.dat]", "[3]", "[2603]", "K", "NoEx:NoEx"});
  EXPECT_EQ(Kopie_in_Sicherung(nurFremd, QStringLiteral("2603 260301 Data.dat")), Kopie::Fehlt);
}

class Startsicherung : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    schreiben(unterordner(QStringLiteral("Programm")) + QStringLiteral("VelkoraFtg.dat"),
              kodiert({QStringLiteral("[VelkoraFeiertageDat]")}));
    // The first start sets up the data folder.
    daten = unterordner(QStringLiteral("Ablage")) + QStringLiteral("Data/");
  }
  void TearDown() override {
    einzelinstanz::freigeben();
    VelkoraTest::TearDown();
  }
  QStringList starten(const char* datum) {
    zustand::alleZurücksetzen();
    Kommandozeile_setzen({QString::fromLatin1(datum), QStringLiteral("/path:") + ordner() + QStringLiteral("Ablage"),
                          QStringLiteral("/nowelcomescreen")});
    Main();
    return Dateiliste(daten + QStringLiteral("Backups/"), QStringLiteral("*.dat"));
  }
  QString daten;
};

TEST_F(Startsicherung, MonatsDannTagesbackups) {
  // The first day of a month: the monthly backup, and no daily one beside it.
  EXPECT_EQ(starten("/d:010326"), QStringList{"260301 093000 M.dat"});
  EXPECT_TRUE(gMerker);
  // A second start that day makes none.
  EXPECT_EQ(starten("/d:010326"), QStringList{"260301 093000 M.dat"});
  EXPECT_FALSE(gMerker);
  // The next day: only the daily backup.
  EXPECT_EQ(starten("/d:020326"), (QStringList{"260301 093000 M.dat", "260302 093000 T.dat"}));
  EXPECT_TRUE(gMerker);
  EXPECT_EQ(starten("/d:020326").size(), 2);
  const QStringList z = dekodierteZeilen(daten + QStringLiteral("Backups/260302 093000 T.dat"));
  EXPECT_EQ(z.value(0), QStringLiteral("[VelkoraBackup]"));
  const qsizetype konfig = z.indexOf(QStringLiteral("[Konfigdaten.dat]"));
  ASSERT_GT(konfig, 0);
  EXPECT_EQ(z.value(konfig + 2), QStringLiteral("[Velkora]"));
}

}  // namespace
