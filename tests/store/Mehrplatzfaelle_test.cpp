// The cases in which workstations on one data folder used to lose entries or stop,
// each played with separate helper processes on one temporary folder and checked with
// the independent decoder of the month file.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <functional>
#include <memory>
#include <vector>

#include "common/Testnamen.h"
#include "common/Testumgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Monatsdatei.h"
#include "store/helfer/Helferprozess.h"

namespace {

// The codes the helper writes for its save j (as in the helper).
QString Codes(int j) {
  QString s = QStringLiteral("1");
  for (int v = j; v > 0; v /= 5) s += QChar(u'1' + v % 5);
  return s.leftJustified(31, u' ');
}

class Mehrplatzfall;

struct Fall {
  const char* name;
  std::function<void(Mehrplatzfall&)> ablauf;
};

class Mehrplatzfall : public VelkoraTest, public ::testing::WithParamInterface<Fall> {
 public:
  using VelkoraTest::ordner;
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
  }

  QString monatspfad(const QString& tag) const { return gDatenordner + QStringLiteral("2603 ") + tag + " Data.dat"; }
  QString sperre() const { return gDatenordner + QStringLiteral("~2603.vklock"); }
  void monat(const QString& tag, const QStringList& zeilen) {
    QStringList z{QStringLiteral("[2603]"), QStringLiteral("Kennung"), QStringLiteral("NoEx:NoEx")};
    z << zeilen;
    schreiben(monatspfad(tag), kodiert(z));
  }
  // The month's only version, decoded.
  QStringList monatszeilen() {
    const QStringList v = Dateiliste(gDatenordner, QStringLiteral("2603*Data.dat"));
    EXPECT_EQ(v.size(), 1) << qPrintable(v.join(u' '));
    return v.isEmpty() ? QStringList() : dekodierteZeilen(gDatenordner + v.first());
  }
  static QString letzte(const QStringList& zeilen, const QString& benutzer) {
    QString r;
    for (const QString& z : zeilen)
      if (z.startsWith(QStringLiteral("A:") + benutzer + u':')) r = z.mid(3 + benutzer.size());
    return r;
  }

  std::unique_ptr<QProcess> starten(const QStringList& argumente, const QStringList& umgebung = {}) {
    return Helfer_starten(argumente, umgebung);
  }
  static void bereit(QProcess& p) { Helfer_bereit(p); }
  static Ergebnis warten(QProcess& p) { return Helfer_abwarten(p, 300000); }
  // Waits for every process: each ends normally with 0.
  static void alle_ohne_fehler(const std::vector<std::unique_ptr<QProcess>>& ps) {
    for (const auto& p : ps) {
      const Ergebnis e = warten(*p);
      EXPECT_TRUE(e.normal);
      EXPECT_EQ(e.code, 0) << qPrintable(e.fehler);
    }
  }
  Ergebnis lauf(const QStringList& argumente, const QStringList& umgebung = {}) {
    return warten(*starten(argumente, umgebung));
  }
};

// Two workstations change one employee's row on different days at the same moment,
// each from the row as it showed it: both days stand in the file. On the same day the
// later save wins.
void GleicheZeile(Mehrplatzfall& t) {
  t.monat(QStringLiteral("260309"), {QStringLiteral("A:w0u0:") + tage(QStringLiteral("1"))});
  QString erwartet = tage(QStringLiteral("1"));
  for (int runde = 0; runde < 4; ++runde) {
    const QString los = t.ordner() + QStringLiteral("los%1").arg(runde);
    const int a = 3 + 2 * runde, b = 4 + 2 * runde;
    auto pa = t.starten(
        {QStringLiteral("tag"), QString::number(a), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("260310")},
        {QStringLiteral("VELKORA_LOS=") + los});
    auto pb = t.starten(
        {QStringLiteral("tag"), QString::number(b), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("260310")},
        {QStringLiteral("VELKORA_LOS=") + los});
    ASSERT_NO_FATAL_FAILURE(Mehrplatzfall::bereit(*pa));
    ASSERT_NO_FATAL_FAILURE(Mehrplatzfall::bereit(*pb));
    schreiben(los, "los");
    for (QProcess* p : {pa.get(), pb.get()}) {
      const Ergebnis e = Mehrplatzfall::warten(*p);
      EXPECT_EQ(e.code, 0) << qPrintable(e.fehler);
    }
    erwartet[a - 1] = u'2';
    erwartet[b - 1] = u'3';
    EXPECT_EQ(Mehrplatzfall::letzte(t.monatszeilen(), QStringLiteral("w0u0")), erwartet) << "round " << runde;
  }
  // The same day from the same shown row: the later save wins.
  const QString los1 = t.ordner() + QStringLiteral("erst"), los2 = t.ordner() + QStringLiteral("dann");
  auto p1 = t.starten(
      {QStringLiteral("tag"), QStringLiteral("20"), QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("260310")},
      {QStringLiteral("VELKORA_LOS=") + los1});
  auto p2 = t.starten(
      {QStringLiteral("tag"), QStringLiteral("20"), QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("260310")},
      {QStringLiteral("VELKORA_LOS=") + los2});
  ASSERT_NO_FATAL_FAILURE(Mehrplatzfall::bereit(*p1));
  ASSERT_NO_FATAL_FAILURE(Mehrplatzfall::bereit(*p2));
  schreiben(los1, "los");
  EXPECT_EQ(Mehrplatzfall::warten(*p1).code, 0);
  schreiben(los2, "los");
  EXPECT_EQ(Mehrplatzfall::warten(*p2).code, 0);
  erwartet[19] = u'5';
  EXPECT_EQ(Mehrplatzfall::letzte(t.monatszeilen(), QStringLiteral("w0u0")), erwartet);
}

// Three workstations whose clock runs 60 s ahead among three with the right time, all
// rewriting the month: no live lock is taken over, no save reported done is lost, and
// none ends in a fatal stop.
void Uhrversatz(Mehrplatzfall& t) {
  constexpr int kProzesse = 6, kSpeicherungen = 60;
  std::vector<std::unique_ptr<QProcess>> ps;
  for (int i = 0; i < kProzesse; ++i) {
    QStringList env;
    if (i % 2 == 1)
      env << QStringLiteral("LD_PRELOAD=") + Bin("velkora_stoerungen.so") << QStringLiteral("VELKORA_UHRVERSATZ=60");
    // Every save of a workstation with its own date writes the month afresh.
    ps.push_back(t.starten({QStringLiteral("anhaengen"), QString::number(i), QString::number(kProzesse),
                            QString::number(kSpeicherungen), QStringLiteral("2603%1").arg(10 + i)},
                           env));
  }
  Mehrplatzfall::alle_ohne_fehler(ps);
  const QStringList zeilen = t.monatszeilen();
  for (int p = 0; p < kProzesse; ++p)
    for (int u = 0; u < 5; ++u) {
      int j = -1;
      for (int k = 0; k < kSpeicherungen; ++k)
        if (k % 5 == u) j = k;
      const QString benutzer = QStringLiteral("w%1u%2").arg(p).arg(u);
      EXPECT_EQ(Mehrplatzfall::letzte(zeilen, benutzer), Codes(j)) << qPrintable(benutzer);
    }
  EXPECT_FALSE(QFile::exists(t.sperre()));
}

// A month file whose last line lost its line end: the appended line is not glued to
// it, and both lines read back.
void OhneZeilenende(Mehrplatzfall& t) {
  t.monat(QStringLiteral("260310"), {QStringLiteral("A:w1u0:") + tage(QStringLiteral("2"))});
  QByteArray inhalt = lesen(t.monatspfad(QStringLiteral("260310")));
  ASSERT_TRUE(inhalt.endsWith("\r\n"));
  inhalt.chop(2);
  schreiben(t.monatspfad(QStringLiteral("260310")), inhalt);
  const Ergebnis e = t.lauf({QStringLiteral("anhaengen"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("1"),
                             QStringLiteral("260310")});
  EXPECT_EQ(e.code, 0) << qPrintable(e.fehler);
  const QStringList zeilen = t.monatszeilen();
  EXPECT_EQ(Mehrplatzfall::letzte(zeilen, QStringLiteral("w1u0")), tage(QStringLiteral("2")));
  EXPECT_EQ(Mehrplatzfall::letzte(zeilen, QStringLiteral("w0u0")), Codes(0));
  // The program's own reader (an employee, for whom a damaged line ends the program).
  const Ergebnis lesen = t.lauf({QStringLiteral("lesen"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("1"),
                                 QStringLiteral("260310")});
  EXPECT_EQ(lesen.code, 0) << qPrintable(lesen.fehler);
}

// The lock file cannot be made (disk full, no rights): the file-access message names
// the lock file, the run-time error reported is the cause, nothing is left behind, and
// once the cause is gone the next save goes through at once.
void SperreNichtAnlegbar(Mehrplatzfall& t, const char* fehler, const QString& ursache) {
  t.monat(QStringLiteral("260310"), {QStringLiteral("A:w0u1:") + tage(QStringLiteral("2"))});
  const QByteArray vorher = lesen(t.monatspfad(QStringLiteral("260310")));
  const Ergebnis e = t.lauf({QStringLiteral("anhaengen"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"),
                             QStringLiteral("260310")},
                            {QStringLiteral("LD_PRELOAD=") + Bin("velkora_stoerungen.so"),
                             QStringLiteral("VELKORA_SPERRE_FEHLER=") + QString::fromLatin1(fehler)});
  EXPECT_EQ(e.code, 5) << "a fatal stop with the file-access message: " << qPrintable(e.fehler);
  EXPECT_TRUE(e.fehler.startsWith(QStringLiteral("Es ist ein Fehler beim Dateizugriff aufgetreten.")))
      << qPrintable(e.fehler);
  EXPECT_TRUE(e.fehler.contains(QStringLiteral("Zuletzt geöffnete Datei: '") + t.sperre() + u'\''))
      << qPrintable(e.fehler);
  EXPECT_TRUE(e.fehler.contains(ursache)) << qPrintable(e.fehler);
  EXPECT_FALSE(e.fehler.contains(QStringLiteral("anderen Arbeitsplatz"))) << qPrintable(e.fehler);
  EXPECT_FALSE(QFile::exists(t.sperre()));
  EXPECT_EQ(lesen(t.monatspfad(QStringLiteral("260310"))), vorher);

  const Ergebnis danach = t.lauf({QStringLiteral("anhaengen"), QStringLiteral("0"), QStringLiteral("1"),
                                  QStringLiteral("1"), QStringLiteral("260310")});
  EXPECT_EQ(danach.code, 0) << qPrintable(danach.fehler);
  EXPECT_EQ(Mehrplatzfall::letzte(t.monatszeilen(), QStringLiteral("w0u0")), Codes(0));
}

void VolleFestplatte(Mehrplatzfall& t) {
  SperreNichtAnlegbar(t, "voll", QStringLiteral("Fehler 61: Datenträger voll"));
}
void KeineRechte(Mehrplatzfall& t) {
  SperreNichtAnlegbar(t, "rechte", QStringLiteral("Fehler 70: Zugriff verweigert"));
}

// A planned end inside the month lock releases it: SIGTERM, and the fatal stop.
void GeplantesEnde(Mehrplatzfall& t, const char* modus, int signal, int code) {
  auto p = t.starten({QString::fromLatin1(modus), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"),
                      QStringLiteral("260310")});
  ASSERT_NO_FATAL_FAILURE(Mehrplatzfall::bereit(*p));
  if (signal != 0) {
    EXPECT_TRUE(QFile::exists(t.sperre()));
    ::kill(static_cast<pid_t>(p->processId()), signal);
  }
  const Ergebnis e = Mehrplatzfall::warten(*p);
  EXPECT_TRUE(e.normal);
  EXPECT_EQ(e.code, code) << qPrintable(e.fehler);
  EXPECT_FALSE(QFile::exists(t.sperre()));
}
void Beenden(Mehrplatzfall& t) { GeplantesEnde(t, "halten", SIGTERM, 0); }
void Programmabbruch(Mehrplatzfall& t) { GeplantesEnde(t, "abbruch", 0, 1); }

// A workstation killed inside the lock: its lock is taken over by the next save on
// this machine at once (its process is gone), without a refusal.
void Getoetet(Mehrplatzfall& t) {
  auto p = t.starten({QStringLiteral("halten"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"),
                      QStringLiteral("260310")});
  ASSERT_NO_FATAL_FAILURE(Mehrplatzfall::bereit(*p));
  ::kill(static_cast<pid_t>(p->processId()), SIGKILL);
  ASSERT_TRUE(p->waitForFinished(10000));
  EXPECT_TRUE(QFile::exists(t.sperre()));
  const Ergebnis e = t.lauf({QStringLiteral("anhaengen"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"),
                             QStringLiteral("260310")});
  EXPECT_EQ(e.code, 0) << qPrintable(e.fehler);
  EXPECT_EQ(Mehrplatzfall::letzte(t.monatszeilen(), QStringLiteral("w0u0")), Codes(0));
  EXPECT_FALSE(QFile::exists(t.sperre()));
}

// The helper's environment for a share whose listings of the data folder are cached:
// `was` is VELKORA_LISTE_ALT or VELKORA_LISTE_OHNE, for the first `bis` listings (0: all).
QStringList Zwischenspeicher(const char* was, const QString& name, int bis = 0) {
  QStringList env{QStringLiteral("LD_PRELOAD=") + Bin("velkora_stoerungen.so"),
                  QStringLiteral("VELKORA_LISTE_ORDNER=") + gDatenordner, QString::fromLatin1(was) + u'=' + name};
  if (bis > 0) env << QStringLiteral("VELKORA_LISTE_BIS=%1").arg(bis);
  return env;
}

QStringList Argumente(const char* modus, int anzahl, const QString& heute) {
  return {QString::fromLatin1(modus), QStringLiteral("0"), QStringLiteral("2"), QString::number(anzahl), heute};
}

// Another workstation holds the lock, and the share answers the exclusive create of
// the existing lock file with EPERM: the save is refused as busy, not ended as a
// fault; once the lock is released the next save goes through.
void ExklusivMitEperm(Mehrplatzfall& t) {
  t.monat(QStringLiteral("260310"), {QStringLiteral("A:w1u0:") + tage(QStringLiteral("2"))});
  const QStringList eperm{QStringLiteral("LD_PRELOAD=") + Bin("velkora_stoerungen.so"),
                          QStringLiteral("VELKORA_SPERRE_FEHLER=eperm")};
  auto halter = t.starten(Argumente("halten", 0, QStringLiteral("260310")));
  ASSERT_NO_FATAL_FAILURE(Mehrplatzfall::bereit(*halter));
  const Ergebnis besetzt = t.lauf(Argumente("umschreiben", 1, QStringLiteral("260310")), eperm);
  EXPECT_EQ(besetzt.code, 0) << qPrintable(besetzt.fehler);
  EXPECT_EQ(besetzt.aus, QStringLiteral("abgelehnt 1 1\n"));
  ::kill(static_cast<pid_t>(halter->processId()), SIGTERM);
  EXPECT_EQ(Mehrplatzfall::warten(*halter).code, 0);
  const Ergebnis frei = t.lauf(Argumente("umschreiben", 1, QStringLiteral("260310")), eperm);
  EXPECT_EQ(frei.code, 0) << qPrintable(frei.fehler);
  EXPECT_EQ(frei.aus, QStringLiteral("abgelehnt 0 1\n"));
  const QStringList zeilen = t.monatszeilen();
  EXPECT_EQ(Mehrplatzfall::letzte(zeilen, QStringLiteral("w0u0")), Codes(0));
  EXPECT_EQ(Mehrplatzfall::letzte(zeilen, QStringLiteral("w1u0")), tage(QStringLiteral("2")));
  EXPECT_FALSE(QFile::exists(t.sperre()));
}

// Runs the helper with `läufe` (its arguments each) under `env` on a month that holds a
// line of w1u0: none ends otherwise than with 0, and both w1u0's line and the save of
// w0u0 stand in the month's only version.
void Ohne_Verlust(Mehrplatzfall& t, const QStringList& env, const QList<QStringList>& läufe) {
  t.monat(QStringLiteral("260310"), {QStringLiteral("A:w1u0:") + tage(QStringLiteral("2"))});
  for (const QStringList& lauf : läufe) {
    const Ergebnis e = t.lauf(lauf, env);
    EXPECT_EQ(e.code, 0) << qPrintable(lauf.join(u' ')) << ": " << qPrintable(e.fehler);
  }
  const QStringList zeilen = t.monatszeilen();
  EXPECT_EQ(Mehrplatzfall::letzte(zeilen, QStringLiteral("w1u0")), tage(QStringLiteral("2")));
  EXPECT_EQ(Mehrplatzfall::letzte(zeilen, QStringLiteral("w0u0")), Codes(0));
}

// The listing still names a newer version that another workstation has removed (its
// attributes are still cached, opening it fails): readers and the writer list again
// and take the version that is there; nothing ends, nothing is lost.
void ListeNenntGeloeschte(Mehrplatzfall& t) {
  Ohne_Verlust(t, Zwischenspeicher("VELKORA_LISTE_ALT", QStringLiteral("2603 260311 Data.dat"), 8),
               {Argumente("lesen", 1, QStringLiteral("260310")), Argumente("kompaktieren", 1, QStringLiteral("260310")),
                Argumente("anhaengen", 1, QStringLiteral("260312"))});
}

// The listing lacks today's version, which another workstation made a moment ago:
// the writer finds it by opening it, so a compaction or a save keeps its lines.
void ListeOhneHeutige(Mehrplatzfall& t) {
  Ohne_Verlust(
      t, Zwischenspeicher("VELKORA_LISTE_OHNE", QStringLiteral("2603 260310 Data.dat")),
      {Argumente("kompaktieren", 1, QStringLiteral("260310")), Argumente("anhaengen", 1, QStringLiteral("260310"))});
}

// The listing lacks a version newer than the one it shows (written on another
// workstation's date) for its first listings: whenever it shows up, before or after the
// writer's own version is written, its lines are never deleted unread. Once the writer
// has seen it, they stand in today's version.
void ListeOhneNeuere(Mehrplatzfall& t) {
  const QString neuere = QStringLiteral("2603 260311 Data.dat");
  for (int bis = 1; bis <= 6; ++bis) {
    for (const QString& n : Dateiliste(gDatenordner, QStringLiteral("2603*Data.dat"))) QFile::remove(gDatenordner + n);
    t.monat(QStringLiteral("260309"), {QStringLiteral("A:w1u0:") + tage(QStringLiteral("2"))});
    t.monat(QStringLiteral("260311"), {QStringLiteral("A:w1u0:") + tage(QStringLiteral("2")),
                                       QStringLiteral("A:w1u1:") + tage(QStringLiteral("3"))});
    const Ergebnis e = t.lauf(Argumente("anhaengen", 1, QStringLiteral("260312")),
                              Zwischenspeicher("VELKORA_LISTE_OHNE", neuere, bis));
    EXPECT_EQ(e.code, 0) << "listings cached: " << bis << ": " << qPrintable(e.fehler);
    const QStringList heute = dekodierteZeilen(t.monatspfad(QStringLiteral("260312")));
    EXPECT_EQ(Mehrplatzfall::letzte(heute, QStringLiteral("w0u0")), Codes(0)) << bis;
    if (QFile::exists(gDatenordner + neuere)) continue;
    EXPECT_EQ(Mehrplatzfall::letzte(heute, QStringLiteral("w1u1")), tage(QStringLiteral("3")))
        << "listings cached: " << bis << ": deleted unread";
  }
}

TEST_P(Mehrplatzfall, VerliertNichtsUndHaeltKeinenArbeitsplatzAuf) { GetParam().ablauf(*this); }

// A workstation on a slow network (every sync takes a quarter of a second longer)
// appends and rewrites among one with a fast disk: a write that took long ends no save
// in a fatal stop, and every save stands.
void LangsamesNetz(Mehrplatzfall& t) {
  constexpr int kSpeicherungen = 6;
  std::vector<std::unique_ptr<QProcess>> ps;
  for (int i = 0; i < 2; ++i) {
    QStringList env{QStringLiteral("VELKORA_VERDICHTEN=3")};
    if (i == 0)
      env << QStringLiteral("LD_PRELOAD=") + Bin("velkora_stoerungen.so") << QStringLiteral("VELKORA_LANGSAM=250");
    ps.push_back(t.starten({QStringLiteral("netz"), QString::number(i), QStringLiteral("2"),
                            QString::number(kSpeicherungen), QStringLiteral("260310")},
                           env));
  }
  Mehrplatzfall::alle_ohne_fehler(ps);
  const QStringList zeilen = t.monatszeilen();
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < kSpeicherungen; ++j)
      EXPECT_EQ(Mehrplatzfall::letzte(zeilen, QStringLiteral("w%1s%2").arg(i).arg(j)), Codes(j)) << i << ' ' << j;
  EXPECT_FALSE(QFile::exists(t.sperre()));
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, Mehrplatzfall,
    ::testing::Values(Fall{"GleicheZeileImSelbenMoment", GleicheZeile}, Fall{"UhrVorgestellt", Uhrversatz},
                      Fall{"LetzteZeileOhneZeilenende", OhneZeilenende},
                      Fall{"VolleFestplatteBeimSperren", VolleFestplatte}, Fall{"KeineRechteBeimSperren", KeineRechte},
                      Fall{"InDerSperreBeendet", Beenden}, Fall{"ProgrammabbruchInDerSperre", Programmabbruch},
                      Fall{"InDerSperreGetoetet", Getoetet}, Fall{"SperreBesetztMitEperm", ExklusivMitEperm},
                      Fall{"ListeNenntGeloeschteVersion", ListeNenntGeloeschte},
                      Fall{"ListeOhneHeutigeVersion", ListeOhneHeutige},
                      Fall{"ListeOhneNeuereVersion", ListeOhneNeuere}, Fall{"LangsamesNetz", LangsamesNetz}),
    NachName{});

}  // namespace
