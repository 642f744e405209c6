// Hostile and shared files: links never lead a write or read out of the data folder,
// a rewrite keeps the replaced file's mode and group, temporary files left behind by a
// killed write are cleared, and a failed write-out names its file and cause.
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

#include "common/Testumgebung.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"

namespace {

class Dateischutz : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    draußen = unterordner(QStringLiteral("Draussen"));
  }
  static bool verweisen(const QString& ziel, const QString& verweis) {
    return ::symlink(QFile::encodeName(ziel).constData(), QFile::encodeName(verweis).constData()) == 0;
  }
  static mode_t modus(const QString& pfad) {
    struct stat st {};
    ::stat(QFile::encodeName(pfad).constData(), &st);
    return st.st_mode & 07777;
  }
  static gid_t gruppe(const QString& pfad) {
    struct stat st {};
    ::stat(QFile::encodeName(pfad).constData(), &st);
    return st.st_gid;
  }
  QStringList meldungen() const {
    QStringList r;
    for (const QString& t : skript->texte()) r << t;
    return r;
  }
  QString draußen;
};

// --- Links ---------------------------------------------------------------------------

TEST_F(Dateischutz, AnhaengenUndLesenVonDatendateienVerweigernEinenVerweis) {
  const QString außen = draußen + QStringLiteral("fremd.txt");
  schreiben(außen, "fremd\r\n");
  struct Fall {
    QString verweis;
    const char* modus;
  } fälle[] = {
      {gDatenordner + QStringLiteral("2603 260310 Data.dat"), "Append"},
      {gLogordner + QStringLiteral("2603 Velkora.log"), "Append"},
      {gDatenordner + QStringLiteral("Konfigdaten.dat"), "Input"},
      {gLogordner + QStringLiteral("2602 Velkora.log"), "Input"},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(qPrintable(f.verweis));
    ASSERT_TRUE(verweisen(außen, f.verweis));
    EXPECT_FALSE(FOpen(f.verweis, QString::fromLatin1(f.modus), QStringLiteral("IgnoreErrors")));
    EXPECT_TRUE(gOffeneDatei.isEmpty());
    EXPECT_EQ(lesen(außen), QByteArray("fremd\r\n"));
  }
  // The logbook writer falls back to the temporary folder; the outside file stays.
  Logbuch_ergänzen(2, QStringLiteral("Eintrag"));
  EXPECT_EQ(lesen(außen), QByteArray("fremd\r\n"));
  // A link outside the data folder (beside the program) is read as before.
  const QString neben = gBasisordner + QStringLiteral("Velkora.dat");
  ASSERT_TRUE(verweisen(außen, neben));
  ASSERT_TRUE(FOpen(neben, QStringLiteral("Input")));
  FClose();
}

TEST_F(Dateischutz, GanzesSchreibenErsetztDenVerweisNichtSeinZiel) {
  const QString außen = draußen + QStringLiteral("fremd.txt");
  schreiben(außen, "fremd\r\n");
  const QString verweis = gDatenordner + QStringLiteral("Feiertage.dat");
  ASSERT_TRUE(verweisen(außen, verweis));
  ASSERT_TRUE(FOpen(verweis, QStringLiteral("Output")));
  LineOut(QStringLiteral("[Feiertage]"));
  FClose();
  EXPECT_EQ(lesen(außen), QByteArray("fremd\r\n"));
  EXPECT_FALSE(QFileInfo(verweis).isSymLink());
  EXPECT_EQ(dekodierteZeilen(verweis), QStringList{QStringLiteral("[Feiertage]")});
}

TEST_F(Dateischutz, LoeschenEinesVerweisesEntferntDenVerweisSelbst) {
  const QString außen = draußen + QStringLiteral("fremd.txt");
  schreiben(außen, "fremd");
  ASSERT_EQ(::chmod(QFile::encodeName(außen).constData(), 0444), 0);
  const QString ordnerAußen = unterordner(QStringLiteral("Draussen/Ordner"));
  ASSERT_EQ(::chmod(QFile::encodeName(ordnerAußen).constData(), 0555), 0);
  for (const QString& ziel : {außen, ordnerAußen}) {
    const QString verweis = gDatenordner + QStringLiteral("verweis.dat");
    ASSERT_TRUE(verweisen(ziel, verweis));
    const mode_t vorher = modus(ziel);
    Löschen(verweis);
    EXPECT_FALSE(QFileInfo(verweis).isSymLink()) << qPrintable(ziel);
    EXPECT_TRUE(QFileInfo::exists(ziel));
    EXPECT_EQ(modus(ziel), vorher) << qPrintable(ziel);
  }
  EXPECT_EQ(lesen(außen), QByteArray("fremd"));
  ::chmod(QFile::encodeName(ordnerAußen).constData(), 0755);
}

// --- Sharing a folder by group -------------------------------------------------------

TEST_F(Dateischutz, GanzesSchreibenBehaeltRechteUndGruppeDerErsetztenDatei) {
  const QString kanal = gDatenordner + QStringLiteral("2603 260310 Data.dat");
  const QString sicher = gDatenordner + QStringLiteral("Feiertage.dat");
  const mode_t maske = ::umask(022);
  for (const QString& pfad : {kanal, sicher}) {
    schreiben(pfad, kodiert({QStringLiteral("alt")}));
    ASSERT_EQ(::chmod(QFile::encodeName(pfad).constData(), 0660), 0);
  }
  // Another group than our own, where this account may set one (an administrator may).
  const gid_t andere = getegid() + 4711;
  const bool gruppeSetzbar = ::chown(QFile::encodeName(kanal).constData(), static_cast<uid_t>(-1), andere) == 0 &&
                             ::chown(QFile::encodeName(sicher).constData(), static_cast<uid_t>(-1), andere) == 0;

  ASSERT_TRUE(FOpen(kanal, QStringLiteral("Output")));
  LineOut(QStringLiteral("neu"));
  FClose();
  ASSERT_TRUE(Datei_sicher_schreiben(sicher, kodiert({QStringLiteral("neu")})));
  ::umask(maske);

  for (const QString& pfad : {kanal, sicher}) {
    SCOPED_TRACE(qPrintable(pfad));
    EXPECT_EQ(dekodierteZeilen(pfad), QStringList{QStringLiteral("neu")});
    EXPECT_EQ(modus(pfad), 0660u);
    if (gruppeSetzbar) {
      EXPECT_EQ(gruppe(pfad), andere);
    }
  }
  // A new file takes the mode of the files of its kind beside it and the folder's
  // group, whatever the umask; a new month version the mode and group of the version
  // before it.
  const QString neu = gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat");
  const QString version = gDatenordner + QStringLiteral("2603 260311 Data.dat");
  ::umask(027);
  for (const QString& pfad : {neu, version}) {
    ASSERT_TRUE(FOpen(pfad, QStringLiteral("Output")));
    LineOut(QStringLiteral("x"));
    FClose();
  }
  ::umask(maske);
  EXPECT_EQ(modus(neu), 0660u);
  EXPECT_EQ(gruppe(neu), gruppe(gDatenordner));
  EXPECT_EQ(modus(version), 0660u);
  if (gruppeSetzbar) {
    EXPECT_EQ(gruppe(version), andere);
  }
}

// --- Temporary files of killed writes --------------------------------------------------

TEST_F(Dateischutz, ZwischendateienAelterAlsEineStundeWerdenEntfernt) {
  const QDateTime jetzt = QDateTime::currentDateTime();
  struct Fall {
    const char* name;
    int alterMinuten;
    bool bleibt;
  } fälle[] = {
      {"~Konfigdaten.dat.4711.abc.vktmp", 90, false},
      {"~2603 260310 Data.dat.99.x1.vktmp", 61, false},
      {"~Mitarbeiterdaten.dat.12.vktmp", 120, false},
      // Another workstation's write in progress.
      {"~Feiertage.dat.4712.abd.vktmp", 5, true},
      // Not ours.
      {"Notiz.vktmp", 300, true},
      {"~Notiz.txt", 300, true},
      {"Konfigdaten.dat", 300, true},
  };
  for (const Fall& f : fälle) {
    const QString pfad = gDatenordner + QString::fromUtf8(f.name);
    schreiben(pfad, "x");
    QFile d(pfad);
    ASSERT_TRUE(d.open(QIODevice::ReadWrite));
    ASSERT_TRUE(d.setFileTime(jetzt.addSecs(-60LL * f.alterMinuten), QFileDevice::FileModificationTime));
  }
  Zwischendateien_aufräumen(gDatenordner);
  for (const Fall& f : fälle) EXPECT_EQ(QFile::exists(gDatenordner + QString::fromUtf8(f.name)), f.bleibt) << f.name;
}

// --- A failed write-out --------------------------------------------------------------

TEST_F(Dateischutz, VolleFestplatteNenntDateiUndUrsache) {
  if (!QFile::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full";
  const QString voll = QStringLiteral("/dev/full");
  for (const bool start : {false, true}) {
    SCOPED_TRACE(start ? "during the start" : "while running");
    skript->protokoll.clear();
    gStörungAnzeigen = start;
    ERWARTE_PROGRAMMENDE(Prozedur(QStringLiteral("modVelkora - Test"), [&] {
      FOpen(voll, QStringLiteral("Append"));
      LineOut(QStringLiteral("Zeile"));
      FClose();
    }));
    // No repair is offered: the write failed, the file is not damaged.
    ASSERT_EQ(meldungen().size(), 1) << qPrintable(meldungen().join(u'\n'));
    EXPECT_TRUE(meldungen()[0].contains(QStringLiteral("Zuletzt geöffnete Datei: '/dev/full'")))
        << qPrintable(meldungen()[0]);
    EXPECT_TRUE(meldungen()[0].contains(QStringLiteral("Ursache: Datenträger voll (Fehler Nr. 61)")))
        << qPrintable(meldungen()[0]);
    EXPECT_TRUE(gOffeneDatei.isEmpty());
  }
}

}  // namespace
