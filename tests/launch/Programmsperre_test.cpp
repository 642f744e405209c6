#include "launch/Programmsperre.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "common/Testumgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"

// Readable failure output for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class ProgrammsperreTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
  }
  QString letzteMeldung() const { return skript->protokoll.empty() ? QString() : skript->protokoll.back().text; }
};

const QString kEnde = QStringLiteral("\r\rDas Programm wird beendet.");

// --- Sperrdatei_prüfen ---------------------------------------------------------------

TEST_F(ProgrammsperreTest, Sperrtabelle) {
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

namespace {

TEST_F(ProgrammsperreTest, SperrdateiAlsVerweisSperrtNiemandenUndDasZielBleibt) {
  // A link in the lock file's place, pointing at a file that reads as another user's
  // lock: no one set it, so it bars no one.
  const QString ziel = ordner() + QStringLiteral("fremd.txt");
  schreiben(ziel, "Inventur|chef\r\n");
  const QString pfad = gDatenordner + QStringLiteral("Lockfile.txt");
  ASSERT_EQ(::symlink(QFile::encodeName(ziel).constData(), QFile::encodeName(pfad).constData()), 0);
  Sperrdatei_prüfen();
  EXPECT_TRUE(skript->protokoll.empty()) << qPrintable(letzteMeldung());
  EXPECT_FALSE(QFileInfo(pfad).isSymLink());
  EXPECT_FALSE(QFile::exists(pfad));
  EXPECT_EQ(lesen(ziel), QByteArray("Inventur|chef\r\n"));
  const QStringList logbuch = dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log"));
  ASSERT_EQ(logbuch.size(), 1);
  EXPECT_EQ(logbuch[0].mid(18), QStringLiteral("tester|VelkoraAdmin|Die Sperrdatei ") + ShowPfad(pfad, 100) +
                                    QStringLiteral(" war keine Datei und wurde entfernt"));
}

}  // namespace
