// Workstations of one office whose dates differ: one left running past midnight keeps
// the date it was started with, a clock may run days ahead. Their saves, the starts
// of other workstations (whose month check removes old versions) and backups run on
// one data folder at the same time, each workstation a helper process of its own.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <memory>
#include <vector>

#include "common/Testnamen.h"
#include "common/Testumgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Monatsdatei.h"
#include "store/helfer/Helferprozess.h"

namespace {

// The codes the helper writes for its save j (as in the helper).
QString Codes(int j) {
  QString s = QStringLiteral("1");
  for (int v = j; v > 0; v /= 5) s += QChar(u'1' + v % 5);
  return s.leftJustified(31, u' ');
}

QString Texte(const std::vector<QString>& texte) { return QStringList(texte.begin(), texte.end()).join(u'|'); }

class Tagesversatz : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    monatsbestand({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                   QStringLiteral("E"), QStringLiteral("Löschen")},
                  {});
    gKennzeile = QStringLiteral("Kennung");
    // The month check tries locks that other processes hold, in real time.
    echteWartezeiten();
    heute(QDate(2026, 3, 10));
    // Every month of this year and the next has a file, so that the start's month
    // check has nothing to miss but March.
    for (int jahr = 26; jahr <= 27; ++jahr)
      for (int m = 1; m <= 12; ++m) {
        const QString schlüssel = QStringLiteral("%1%2").arg(jahr).arg(m, 2, 10, QChar(u'0'));
        if (schlüssel != u"2603")
          schreiben(gDatenordner + schlüssel + QStringLiteral(" 260101 Data.dat"),
                    kodiert({u'[' + schlüssel + u']', gKennzeile, QStringLiteral("NoEx:NoEx")}));
      }
  }

  static void heute(const QDate& d) {
    gHeute = d;
    gHeuteText = d.toString(QStringLiteral("yyMMdd"));
  }
  static QString name(const QString& tag) { return QStringLiteral("2603 ") + tag + QStringLiteral(" Data.dat"); }
  void monat(const QString& tag, const QStringList& zeilen) {
    schreiben(gDatenordner + name(tag),
              kodiert(QStringList{QStringLiteral("[2603]"), gKennzeile, QStringLiteral("NoEx:NoEx")} + zeilen));
  }
  static QStringList versionen() { return Dateiliste(gDatenordner, QStringLiteral("2603*Data.dat")); }
  // The last entry line of each user in the month's newest version, decoded
  // independently.
  static QHash<QString, QString> neueste_Zeilen() {
    QHash<QString, QString> r;
    const QStringList v = versionen();
    if (v.isEmpty()) return r;
    for (const QString& z : dekodierteZeilen(gDatenordner + v.last()))
      if (z.startsWith(QStringLiteral("A:"))) r[z.section(u':', 1, 1)] = z.section(u':', 2);
    return r;
  }
  // Every file of the month begins with the month's header.
  static void kopf_in_jeder_Version(const char* fall) {
    for (const QString& v : versionen())
      EXPECT_EQ(dekodierteZeilen(gDatenordner + v).value(0).toStdString(), "[2603]")
          << fall << ": " << qPrintable(v) << " has no header";
  }
  // The start's month check as a start of today runs it: true when it went through.
  bool startprüfung(QString* text) {
    try {
      Erfassungsdateien_checken();
    } catch (const ProgrammBeendet&) {
      *text = Texte(skript->texte());
      return false;
    }
    return true;
  }

  std::unique_ptr<QProcess> starten(const QStringList& argumente, const QStringList& umgebung = {}) {
    return Helfer_starten(argumente, umgebung);
  }
  static void bereit(QProcess& p) { Helfer_bereit(p); }
  static Ergebnis warten(QProcess& p) { return Helfer_abwarten(p, 120000); }
};

QStringList Fünf_Einträge() {
  QStringList r;
  for (int u = 0; u < 5; ++u) r << QStringLiteral("A:w1u%1:").arg(u) + Codes(100 + u);
  return r;
}

// A saver of the 12th has written its version afresh from the one of the 13th and,
// still holding the month lock, is about to delete that one. A start of the 10th runs
// its month check now: it leaves the month alone, so once the saver is done the month
// has one version with every entry, and the next start finds it.
TEST_F(Tagesversatz, StartpruefungLaesstDenMonatEinesSchreibendenStehen) {
  const QStringList sechs = Fünf_Einträge() << QStringLiteral("A:w1u5:") + Codes(105);
  monat(QStringLiteral("260313"), Fünf_Einträge());
  monat(QStringLiteral("260312"), sechs);
  const QString los = ordner() + QStringLiteral("los");
  auto halter = starten({QStringLiteral("halten"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"),
                         QStringLiteral("260312")},
                        {QStringLiteral("VELKORA_LOS=") + los, QStringLiteral("VELKORA_LOESCHEN=") + name("260313")});
  ASSERT_NO_FATAL_FAILURE(bereit(*halter));

  QString text;
  EXPECT_TRUE(startprüfung(&text)) << qPrintable(text);
  EXPECT_EQ(versionen().join(u'|').toStdString(), (name("260312") + u'|' + name("260313")).toStdString())
      << "the check deleted under the lock";

  schreiben(los, "los");
  const Ergebnis e = warten(*halter);
  EXPECT_EQ(e.code, 0) << qPrintable(e.fehler);
  EXPECT_EQ(versionen().join(u'|').toStdString(), name("260312").toStdString());
  const QHash<QString, QString> zeilen = neueste_Zeilen();
  int da = 0;
  for (int u = 0; u <= 5; ++u) da += zeilen.value(QStringLiteral("w1u%1").arg(u)) == Codes(100 + u) ? 1 : 0;
  EXPECT_EQ(da, 6) << "entries of the month left";

  EXPECT_TRUE(startprüfung(&text)) << "the next start: " << qPrintable(text);
  EXPECT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2603")));
  EXPECT_EQ(gMonatsEinträge.size() - 1, 6);
  EXPECT_TRUE(skript->texte().empty()) << qPrintable(Texte(skript->texte()));
}

// A saver has decided to append to today's version (the newest), and the file is gone
// when it opens it: deleted, or written afresh under a later name. The append makes no
// file of the one line: the month keeps its header, the save stands in the newest
// version beside what that held, and the month reads as an employee reads it.
struct Verschwinden {
  const char* name;
  const char* nach;  // the later name the file went to; nullptr: deleted
  QStringList bleibt;
};

class Verschwundenes_Ziel : public Tagesversatz, public ::testing::WithParamInterface<Verschwinden> {};

TEST_P(Verschwundenes_Ziel, AnhaengenLegtKeineKopfloseDateiAn) {
  const Verschwinden& fall = GetParam();
  monat(QStringLiteral("260311"), Fünf_Einträge());
  monat(QStringLiteral("260312"), Fünf_Einträge() << QStringLiteral("A:w1u5:") + Codes(105));
  QStringList env{QStringLiteral("LD_PRELOAD=") + Bin("velkora_stoerungen.so"),
                  QStringLiteral("VELKORA_WEG_BEIM_SCHREIBEN=") + name("260312")};
  if (fall.nach) env << QStringLiteral("VELKORA_WEG_NACH=") + name(QString::fromLatin1(fall.nach));
  auto p = starten({QStringLiteral("anhaengen"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"),
                    QStringLiteral("260312")},
                   env);
  const Ergebnis e = warten(*p);
  ASSERT_TRUE(e.fehler.contains(QStringLiteral("Stoerung: ") + name("260312") + QStringLiteral(" weg")))
      << "the file did not go before the writer opened it: " << qPrintable(e.fehler);
  EXPECT_EQ(e.code, 0) << qPrintable(e.fehler);

  ASSERT_NO_FATAL_FAILURE(kopf_in_jeder_Version(fall.name));
  const QHash<QString, QString> zeilen = neueste_Zeilen();
  EXPECT_TRUE(zeilen.value(QStringLiteral("w0u0")) == Codes(0)) << "the save reported done is lost";
  for (const QString& u : fall.bleibt) EXPECT_TRUE(zeilen.contains(u)) << qPrintable(u);
  const Ergebnis lesen = warten(*starten({QStringLiteral("lesen"), QStringLiteral("0"), QStringLiteral("1"),
                                          QStringLiteral("3"), QStringLiteral("260312")}));
  EXPECT_EQ(lesen.code, 0) << qPrintable(lesen.fehler);
  EXPECT_FALSE(QFile::exists(Monatssperre_Datei(QStringLiteral("2603"))));
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, Verschwundenes_Ziel,
    ::testing::Values(Verschwinden{"Geloescht", nullptr, {QStringLiteral("w1u0"), QStringLiteral("w1u4")}},
                      Verschwinden{"NeuGeschrieben",
                                   "260313",
                                   {QStringLiteral("w1u0"), QStringLiteral("w1u4"), QStringLiteral("w1u5")}}),
    NachName{});

// Two workstations save 200 times each into one month while starts of today run their
// month check over and over and backups are made: every save reported done stands in
// the newest version, the month keeps its header, no writer and no start stops, and
// every backup holds the month.
struct Schreiber {
  const char* tag;  // the date the workstation was started with
  QStringList umgebung;
};
struct Lastfall {
  const char* name;
  std::vector<Schreiber> schreiber;
  const char* startTag;  // the date of the starts and the backups
};

class Tage_auseinander : public Tagesversatz, public ::testing::WithParamInterface<Lastfall> {};

constexpr int kSpeicherungen = 200;

TEST_P(Tage_auseinander, VerliertNichtsUndHaeltNichtsAuf) {
  const Lastfall& fall = GetParam();
  const QString stopp = ordner() + QStringLiteral("stopp");
  const QString start = QString::fromLatin1(fall.startTag);
  const QStringList schleife{QStringLiteral("VELKORA_STOPP=") + stopp};
  // The month as the day before yesterday left it.
  monat(QStringLiteral("260309"), Fünf_Einträge());
  auto prüfer = starten(
      {QStringLiteral("pruefen"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"), start}, schleife);
  auto sicherer = starten(
      {QStringLiteral("sichern"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"), start}, schleife);
  std::vector<std::unique_ptr<QProcess>> ps;
  for (size_t i = 0; i < fall.schreiber.size(); ++i)
    ps.push_back(starten({QStringLiteral("netz"), QString::number(i), QStringLiteral("2"),
                          QString::number(kSpeicherungen), QString::fromLatin1(fall.schreiber[i].tag)},
                         fall.schreiber[i].umgebung));

  QHash<QString, int> gemeldet;  // user -> the save reported done
  for (size_t i = 0; i < ps.size(); ++i) {
    const Ergebnis e = warten(*ps[i]);
    EXPECT_TRUE(e.normal);
    EXPECT_EQ(e.code, 0) << "writer " << i << ": " << qPrintable(e.fehler);
    for (const QString& z : e.aus.split(u'\n', Qt::SkipEmptyParts))
      if (z.startsWith(QStringLiteral("ok ")))
        gemeldet[QStringLiteral("w%1s%2").arg(i).arg(z.mid(3))] = z.mid(3).toInt();
  }
  schreiben(stopp, "stopp");
  const Ergebnis geprüft = warten(*prüfer);
  EXPECT_EQ(geprüft.code, 0) << "a start ended: " << qPrintable(geprüft.fehler);
  EXPECT_TRUE(geprüft.aus.startsWith(QStringLiteral("geprueft "))) << qPrintable(geprüft.aus);
  const Ergebnis gesichert = warten(*sicherer);
  EXPECT_EQ(gesichert.code, 0) << qPrintable(gesichert.aus) << qPrintable(gesichert.fehler);
  EXPECT_TRUE(gesichert.aus.contains(QStringLiteral(" ohne Monat 0"))) << qPrintable(gesichert.aus);

  ASSERT_NO_FATAL_FAILURE(kopf_in_jeder_Version(fall.name));
  const QHash<QString, QString> zeilen = neueste_Zeilen();
  int verloren = 0;
  for (auto it = gemeldet.cbegin(); it != gemeldet.cend(); ++it)
    if (zeilen.value(it.key()) != Codes(it.value())) ++verloren;
  EXPECT_EQ(verloren, 0) << "saves reported done but not in the newest version, of " << gemeldet.size();
  EXPECT_GE(gemeldet.size(), kSpeicherungen) << "hardly a save went through";
  EXPECT_FALSE(QFile::exists(Monatssperre_Datei(QStringLiteral("2603"))));
  QString text;
  heute(QDate(2000 + start.left(2).toInt(), start.mid(2, 2).toInt(), start.mid(4, 2).toInt()));
  EXPECT_TRUE(startprüfung(&text)) << "the next start: " << qPrintable(text);
}

const QStringList kTageweise{QStringLiteral("VELKORA_TAGESWECHSEL=5")};

INSTANTIATE_TEST_SUITE_P(
    Faelle, Tage_auseinander,
    ::testing::Values(
        // Running since yesterday beside one started today.
        Lastfall{
            "SeitGesternUndHeute", {{"260310", {}}, {"260311", {QStringLiteral("VELKORA_VERDICHTEN=7")}}}, "260311"},
        // A clock two days ahead: its versions are newer than anyone's of today.
        Lastfall{"UhrZweiTageVor", {{"260311", {QStringLiteral("VELKORA_VERDICHTEN=7")}}, {"260313", {}}}, "260311"},
        // Both move on one day after every 5 saves, a day apart.
        Lastfall{"TaeglichWeiter", {{"260310", kTageweise}, {"260311", kTageweise}}, "260311"},
        // Both left running over midnight, going on to the 11th at different moments.
        Lastfall{"Mitternacht",
                 {{"260310", {QStringLiteral("VELKORA_MITTERNACHT=60")}},
                  {"260310", {QStringLiteral("VELKORA_MITTERNACHT=140"), QStringLiteral("VELKORA_VERDICHTEN=7")}}},
                 "260311"}),
    NachName{});

}  // namespace
