// Moving a code button: the stored day codes of every month file, the button table,
// the hide digits and the day-sum selection follow the move; refusals change nothing.
#include "config/Schaltflaechenverschiebung.h"

#include <QDir>
#include <QProcess>
#include <QTimer>

#include "common/Planerordner.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Monatsdatei.h"
#include "store/Stammdatenstand.h"
#include "store/Velkoraini.h"

namespace {
using namespace planer;

const QString kMärzAlt = QStringLiteral("2603 260310 Data.dat");
const QString kMärzHeute = QStringLiteral("2603 260312 Data.dat");
const QString kDezember = QStringLiteral("2512 251215 Data.dat");

class VerschiebungTest : public PlanerTest {
 protected:
  void SetUp() override {
    PlanerTest::SetUp();
    gBenutzerstufe = 2;
    gKonfigdatenZeit = Dateizeit(konfigpfad());
  }
  static QString konfigpfad() { return gDatenordner + QStringLiteral("Konfigdaten.dat"); }
  // A table of `anzahl` buttons "B1", "B2", ... (letters "a", "b", ...) and the erase
  // button, written and read back as a stored configuration.
  void knöpfeAnlegen(int anzahl) {
    Schaltflächen_leeren();
    for (int b = 1; b <= anzahl + 1; ++b) {
      const bool löschen = b == anzahl + 1;
      gSFTexte << (löschen ? QStringLiteral("Löschen") : QStringLiteral("B%1").arg(b));
      gSFKennbuchstaben << (löschen ? QStringLiteral(" ") : QString(QChar(u'a' + b - 1)));
      gSFTextfarben << 0;
      gSFHintergrundfarben << (löschen ? gGrundfarben[1] : 0x101010 * b);
      gSFNurAdmins << 0;
      gSFVerbergen << 0;
    }
    Konfigdaten_schreiben();
    Konfigdaten_lesen();
  }
  QStringList schaltflächenzeilen() const {
    const QStringList z = dekodierteZeilen(konfigpfad());
    const qsizetype a = z.indexOf(QStringLiteral("[Schaltflächen]"));
    const qsizetype b = z.indexOf(QStringLiteral("[Administratoren]"));
    return z.mid(a + 1, b - a - 1);
  }
  QString logbuch() const {
    QString alles;
    for (const QString& f : QDir(gLogordner).entryList(QDir::Files))
      alles += dekodierteZeilen(gLogordner + f).join(u'\n');
    return alles;
  }
  QStringList sicherungen() const { return QDir(gSicherungsordner).entryList(QDir::Files); }
  QStringList monatsdateien() const { return QDir(gDatenordner).entryList({QStringLiteral("*Data.dat")}, QDir::Files); }
};

// The mapping of a move through real month files: the code of the moved button goes
// to its new place, the buttons in between close up; blanks, the other buttons, the
// erase code, the non-working-day code and every line but the codes of "A:" lines
// stay.
TEST_F(VerschiebungTest, JederMonatWirdUmgeschluesseltUndNurDieTagescodesAendernSich) {
  struct Fall {
    const char* name;
    int knöpfe;
    const char* von;
    const char* nach;
    const char* vorher;
    const char* nachher;
  };
  const Fall fälle[] = {
      {"2 to 5 of six", 6, "2", "5", "12345678 1", "15234678 1"},
      {"5 to 2 of six", 6, "5", "2", "12345678 1", "13452678 1"},
      {"10 to 12 of fourteen", 14, "10", "12", "9ABCDEFG 1", "9CABDEFG 1"},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.name);
    for (const QString& d : monatsdateien()) QFile::remove(gDatenordner + d);
    knöpfeAnlegen(f.knöpfe);
    gKonfigdatenZeit = Dateizeit(konfigpfad());
    const QString codes = tage(QString::fromUtf8(f.vorher));
    // A comment whose text holds code characters, and a user name that is one.
    const QStringList rest = {QStringLiteral("K:anna:02-04:Urlaub 2345 ABC"), QStringLiteral("A:2:") + codes};
    monatSchreiben(kMärzAlt, QStringList{QStringLiteral("A:anna:") + codes} + rest, QStringLiteral("Sa|:05|"));
    monatSchreiben(QStringLiteral("2603 260301 Data.dat"), {QStringLiteral("A:anna:") + tage(QStringLiteral("1"))});
    monatSchreiben(kDezember, {QStringLiteral("A:tester:") + codes});
    skript = &dialoge::skript();
    QString summen(24, u'0');

    EXPECT_TRUE(Schaltflächen_verschieben(QString::fromUtf8(f.von), QString::fromUtf8(f.nach), summen));

    const QString neu = tage(QString::fromUtf8(f.nachher));
    // March is written afresh under today's date from its newest version.
    EXPECT_EQ(monatsdateien(), (QStringList{kDezember.left(4) + QStringLiteral(" 260312 Data.dat"), kMärzHeute}));
    EXPECT_EQ(dekodierteZeilen(gDatenordner + kMärzHeute),
              (QStringList{QStringLiteral("[2603]"), QStringLiteral("Velkora:0123456789AB"), QStringLiteral("Sa|:05|"),
                           QStringLiteral("A:anna:") + neu, rest[0], QStringLiteral("A:2:") + neu}));
    EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("2512 260312 Data.dat")).value(3),
              QStringLiteral("A:tester:") + neu);
    const QString text = QStringLiteral("Schaltfläche '%1' an Position von Schaltfläche '%2' verschoben")
                             .arg(QString::fromUtf8(f.von), QString::fromUtf8(f.nach));
    EXPECT_EQ(skript->texte(), std::vector<QString>{text});
    EXPECT_TRUE(logbuch().contains(text));
    EXPECT_FALSE(Datei_vorhanden(gDatenordner + QStringLiteral("Lockfile.txt")));
    EXPECT_TRUE(QDir(gDatenordner).entryList({QStringLiteral("*.vklock")}, QDir::Files | QDir::Hidden).isEmpty());
  }
}

TEST_F(VerschiebungTest, TabelleUndVerbergenZiffernWerdenUmgestellt) {
  gSFVerbergenText = QStringLiteral("0000100");  // "Krank" hidden
  Konfigdaten_schreiben();
  Konfigdaten_lesen();
  gKonfigdatenZeit = Dateizeit(konfigpfad());
  ASSERT_EQ(gSFUrlaubHalb, 2);
  QString summen(24, u'0');
  const QStringList vorher = schaltflächenzeilen();
  ASSERT_EQ(vorher.size(), 7);

  ASSERT_TRUE(Schaltflächen_verschieben(QStringLiteral("2"), QStringLiteral("5"), summen));

  // Each button keeps its letter, caption, colours and flag; the erase button stays last.
  EXPECT_EQ(schaltflächenzeilen(),
            (QStringList{vorher[0], vorher[2], vorher[3], vorher[4], vorher[1], vorher[5], vorher[6]}));
  EXPECT_EQ(gSFKennbuchstaben.mid(1), (QStringList{"U", "Z", "D", "K", "½", "S", " "}));
  EXPECT_EQ(gSFNurAdmins.mid(1), (QList<int>{0, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(gSFVerbergenText, QStringLiteral("0001000"));
  // The special buttons are found again by their letters.
  EXPECT_EQ(gSFUrlaubHalb, 5);
  EXPECT_EQ(gSFUrlaub, 1);
  EXPECT_EQ(sicherungen().filter(QStringLiteral(" A.dat")).size(), 1);
}

TEST_F(VerschiebungTest, TagessummenauswahlFolgtDerVerschiebung) {
  EXPECT_EQ(Tagessummen_verschieben(QStringLiteral("abcdefg"), 2, 5), QStringLiteral("acdebfg"));
  EXPECT_EQ(Tagessummen_verschieben(QStringLiteral("abcdefg"), 5, 2), QStringLiteral("aebcdfg"));
  EXPECT_EQ(Tagessummen_verschieben(QStringLiteral("abcdefg"), 1, 7), QStringLiteral("bcdefga"));

  const QString gespeichert = QStringLiteral("010000000000000000000000");
  for (int angezeigt : {1, 0}) {
    SCOPED_TRACE(angezeigt);
    knöpfeAnlegen(6);
    gKonfigdatenZeit = Dateizeit(konfigpfad());
    gBenutzerwerte[25] = angezeigt;
    gTaSum[1] = gespeichert;
    gBenutzerwerteSumme = 4711;
    QString summen = gespeichert;
    ASSERT_TRUE(Schaltflächen_verschieben(QStringLiteral("2"), QStringLiteral("5"), summen));
    // The dialog's selection always follows; the main window's only while day sums
    // are shown (otherwise the dialog's OK decides, and Abbrechen keeps the old order).
    EXPECT_EQ(summen, QStringLiteral("000010000000000000000000"));
    EXPECT_EQ(gTaSum[1], angezeigt == 1 ? summen : gespeichert);
    EXPECT_EQ(gBenutzerwerteSumme, angezeigt == 1 ? 0 : 4711);
  }
}

TEST_F(VerschiebungTest, UnzulaessigeNummernUndLeereFelderAendernNichts) {
  struct Fall {
    const char* von;
    const char* nach;
    bool meldung;
  };
  const Fall fälle[] = {
      {"2", "2", true}, {"0", "3", true}, {"3", "0", true},  {"7", "2", true},
      {"2", "7", true}, {"x", "2", true}, {"-1", "2", true}, {"99999999999", "2", true},
      {"", "2", false}, {"2", "", false}, {"", "", false},
  };
  const QByteArray konfig = lesen(konfigpfad());
  const QByteArray märz = lesen(gDatenordner + kMärzAlt);
  for (const Fall& f : fälle) {
    SCOPED_TRACE(std::string(f.von) + " -> " + f.nach);
    skript = &dialoge::skript();
    QString summen = QStringLiteral("010000000000000000000000");
    EXPECT_FALSE(Schaltflächen_verschieben(QString::fromUtf8(f.von), QString::fromUtf8(f.nach), summen));
    EXPECT_EQ(skript->texte(),
              f.meldung ? std::vector<QString>{QStringLiteral("Unzulässige Eingabe")} : std::vector<QString>{});
    EXPECT_EQ(summen, QStringLiteral("010000000000000000000000"));
  }
  EXPECT_EQ(lesen(konfigpfad()), konfig);
  EXPECT_EQ(lesen(gDatenordner + kMärzAlt), märz);
  EXPECT_TRUE(sicherungen().isEmpty());
}

TEST_F(VerschiebungTest, OhneSicherungBleibtAllesUnberuehrt) {
  const QByteArray konfig = lesen(konfigpfad());
  const QStringList dateien = monatsdateien();
  const QByteArray märz = lesen(gDatenordner + kMärzAlt);
  const QStringList texte = gSFTexte;
  QDir(gSicherungsordner).removeRecursively();
  QString summen(24, u'0');
  summen[1] = u'1';
  const QString vorher = summen;

  EXPECT_FALSE(Schaltflächen_verschieben(QStringLiteral("2"), QStringLiteral("5"), summen));

  EXPECT_EQ(skript->texte(),
            std::vector<QString>{
                QStringLiteral("Verschieben der Schaltflächen nicht möglich, da Backup nicht erstellt werden konnte")});
  EXPECT_TRUE(
      logbuch().contains(QStringLiteral("Backup vor Verschieben von Schaltflächen konnte nicht erstellt werden")));
  EXPECT_EQ(monatsdateien(), dateien);
  EXPECT_EQ(lesen(gDatenordner + kMärzAlt), märz);
  EXPECT_EQ(lesen(konfigpfad()), konfig);
  EXPECT_EQ(gSFTexte, texte);
  EXPECT_EQ(summen, vorher);
  EXPECT_FALSE(Datei_vorhanden(gDatenordner + QStringLiteral("Lockfile.txt")));
}

TEST_F(VerschiebungTest, EineAnderswoGeschriebeneKonfigurationWirdNichtUeberschrieben) {
  const QByteArray märz = lesen(gDatenordner + kMärzAlt);
  // Another workstation wrote the configuration after this one read it.
  gKonfigdatenZeit = gKonfigdatenZeit.addSecs(-60);
  QString summen(24, u'0');
  EXPECT_FALSE(Schaltflächen_verschieben(QStringLiteral("2"), QStringLiteral("5"), summen));
  EXPECT_EQ(skript->texte(), std::vector<QString>{QString::fromUtf16(kStammdatenGeändert)});
  EXPECT_EQ(lesen(gDatenordner + kMärzAlt), märz);
  EXPECT_TRUE(sicherungen().isEmpty());
  EXPECT_EQ(gSFKennbuchstaben[2], QStringLiteral("½"));
}

// Another workstation holds March's month lock longer than one wait for it lasts: the
// move waits until it is free and rewrites March too, instead of skipping it.
TEST_F(VerschiebungTest, EineVonEinemAnderenProzessGehalteneMonatssperreWirdAbgewartet) {
  echteWartezeiten();
  QProcess halter;
  halter.setProgram(QStringLiteral(VELKORA_BIN_DIR) + QStringLiteral("/velkora_monatsdatei_helfer"));
  halter.setArguments({gDatenordner, QStringLiteral("halten"), QStringLiteral("0"), QStringLiteral("1"),
                       QStringLiteral("0"), QStringLiteral("260312")});
  halter.start();
  ASSERT_TRUE(halter.waitForStarted(10000));
  ASSERT_TRUE(halter.waitForReadyRead(60000));
  ASSERT_EQ(halter.readLine().trimmed(), QByteArray("bereit"));
  ASSERT_TRUE(Datei_vorhanden(Monatssperre_Datei(QStringLiteral("2603"))));
  // The other workstation lets go only after more than one full wait for the lock.
  bool freigegeben = false;
  QTimer::singleShot(static_cast<int>((kMonatssperreWartezeit + 1.5) * 1000), [&] {
    freigegeben = true;
    halter.terminate();
  });
  QString summen(24, u'0');

  EXPECT_TRUE(Schaltflächen_verschieben(QStringLiteral("2"), QStringLiteral("5"), summen));

  EXPECT_TRUE(freigegeben) << "the move did not wait for the month lock";
  if (halter.state() != QProcess::NotRunning) {
    EXPECT_TRUE(halter.waitForFinished(60000));
  }
  EXPECT_EQ(
      dekodierteZeilen(gDatenordner + kMärzHeute).value(4),
      QStringLiteral("A:ANNA:") + Codes({{2, '1'}, {3, '2'}, {4, '4'}, {5, '8'}, {12, '1'}, {19, '8'}, {26, '1'}}));
  EXPECT_FALSE(Datei_vorhanden(gDatenordner + kMärzAlt));
  EXPECT_EQ(skript->texte().size(), 1u);
}

}  // namespace
