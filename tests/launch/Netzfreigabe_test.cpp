// Two machines on one data folder over a network file system, as a site runs them: one
// temporary folder served by a local SSH server and mounted twice with sshfs and its
// default caching (listings and file attributes cached for seconds), each mount
// standing for one machine; the second machine's processes run in a process-id
// namespace of their own, so process ids mean nothing across the two. Needs root,
// FUSE, sshfs and the SSH server; skipped with the reason where one is missing.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <memory>
#include <vector>

#include "common/Testumgebung.h"
#include "startup/Dateizugriff.h"

namespace {

QString Bin(const QString& name) { return QStringLiteral(VELKORA_BIN_DIR "/") + name; }

// The codes the month helper writes for its save j.
QString Codes(int j) {
  QString s = QStringLiteral("1");
  for (int v = j; v > 0; v /= 5) s += QChar(u'1' + v % 5);
  return s.leftJustified(31, u' ');
}

int Ausführen(const QString& programm, const QStringList& argumente, QString* ausgabe = nullptr) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(programm, argumente);
  if (!p.waitForStarted(10000) || !p.waitForFinished(60000)) return -1;
  if (ausgabe) *ausgabe = QString::fromUtf8(p.readAll());
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

int Freier_Port() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t n = sizeof a;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) == 0)
    port = ntohs(a.sin_port);
  ::close(s);
  return port;
}

// One process of one machine and what it printed.
struct Arbeitsplatz {
  std::unique_ptr<QProcess> p;
  int nummer = -1;  // the helper's number (its users w<nummer>u0..u4)
  bool getötet = false;
};

class Netzfreigabe : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root (FUSE mounts, process-id namespaces)";
    if (!QFile::exists(QStringLiteral("/dev/fuse"))) GTEST_SKIP() << "no /dev/fuse";
    for (const char* p : {"sshfs", "ssh-keygen", "unshare", "fusermount3"})
      if (QStandardPaths::findExecutable(QString::fromLatin1(p)).isEmpty())
        GTEST_SKIP() << p << " is not installed (tools/setup.sh test installs it)";
    mSshd =
        QStandardPaths::findExecutable(QStringLiteral("sshd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    if (mSshd.isEmpty()) GTEST_SKIP() << "no SSH server (openssh-server)";
    if (Ausführen(QStringLiteral("unshare"), {QStringLiteral("-p"), QStringLiteral("-f"), QStringLiteral("true")}) != 0)
      GTEST_SKIP() << "process-id namespaces are not available";
    ASSERT_TRUE(mTmp.isValid());
    const QString t = mTmp.path() + u'/';
    mFreigabe = t + QStringLiteral("freigabe/");
    for (const QString& d : {mFreigabe, t + QStringLiteral("m1"), t + QStringLiteral("m2")}) QDir().mkpath(d);
    QDir().mkpath(QStringLiteral("/run/sshd"));
    ASSERT_EQ(Ausführen(QStringLiteral("ssh-keygen"),
                        {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"), QStringLiteral("-N"),
                         QString(), QStringLiteral("-f"), t + QStringLiteral("rechner")}),
              0);
    ASSERT_EQ(Ausführen(QStringLiteral("ssh-keygen"),
                        {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"), QStringLiteral("-N"),
                         QString(), QStringLiteral("-f"), t + QStringLiteral("schluessel")}),
              0);
    ASSERT_TRUE(QFile::copy(t + QStringLiteral("schluessel.pub"), t + QStringLiteral("zugelassen")));
    const int port = Freier_Port();
    ASSERT_GT(port, 0);
    schreiben(t + QStringLiteral("sshd_config"),
              QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2rechner\nAuthorizedKeysFile %2zugelassen\n"
                             "PasswordAuthentication no\nKbdInteractiveAuthentication no\nPermitRootLogin yes\n"
                             "StrictModes no\nUsePAM no\nPidFile none\nLogLevel ERROR\n"
                             "Subsystem sftp internal-sftp\n")
                  .arg(port)
                  .arg(t)
                  .toUtf8());
    mServer.start(
        mSshd, {QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"), t + QStringLiteral("sshd_config")});
    ASSERT_TRUE(mServer.waitForStarted(10000));
    for (int m = 1; m <= 2; ++m) {
      const QString punkt = t + QStringLiteral("m%1").arg(m);
      int code = -1;
      QString aus;
      for (int versuch = 0; versuch < 50 && code != 0; ++versuch) {
        if (versuch > 0) QThread::msleep(100);
        code = Ausführen(QStringLiteral("sshfs"),
                         {QStringLiteral("-p"), QString::number(port), QStringLiteral("-o"),
                          QStringLiteral("IdentityFile=") + t + QStringLiteral("schluessel"), QStringLiteral("-o"),
                          QStringLiteral("StrictHostKeyChecking=no"), QStringLiteral("-o"),
                          QStringLiteral("UserKnownHostsFile=/dev/null"), QStringLiteral("-o"),
                          QStringLiteral("BatchMode=yes"), QStringLiteral("root@127.0.0.1:") + mFreigabe, punkt},
                         &aus);
      }
      if (code != 0) GTEST_SKIP() << "sshfs mount failed: " << qPrintable(aus) << mServer.readAll().constData();
      mEingehängt << punkt;
      mMount[m - 1] = punkt + u'/';
    }
  }

  void TearDown() override {
    for (Arbeitsplatz& a : mAlle)
      if (a.p && a.p->state() != QProcess::NotRunning) {
        a.p->kill();
        a.p->waitForFinished(5000);
      }
    for (const auto& p : mSchleifen)
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(5000);
      }
    for (const QString& punkt : mEingehängt)
      Ausführen(QStringLiteral("fusermount3"), {QStringLiteral("-u"), QStringLiteral("-z"), punkt});
    if (mServer.state() != QProcess::NotRunning) {
      mServer.kill();
      mServer.waitForFinished(5000);
    }
  }

  // Starts a program as a process of machine 1 or 2 (the second in its own process-id
  // namespace; killing it kills what it runs).
  std::unique_ptr<QProcess> starten(int maschine, const QString& programm, const QStringList& argumente,
                                    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(env);
    if (maschine == 2) {
      p->setProgram(QStringLiteral("unshare"));
      p->setArguments(
          QStringList{QStringLiteral("-p"), QStringLiteral("-f"), QStringLiteral("--kill-child=SIGKILL"), programm} +
          argumente);
    } else {
      p->setProgram(programm);
      p->setArguments(argumente);
    }
    p->start();
    EXPECT_TRUE(p->waitForStarted(10000));
    return p;
  }

  // Sends a signal to the program a process of `maschine` runs (on machine 2 the child
  // that unshare started in the namespace).
  static void signalisieren(QProcess& p, int maschine, int signal) {
    qint64 pid = p.processId();
    if (maschine == 2) {
      QFile kinder(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
      for (int i = 0; i < 100; ++i) {
        if (kinder.open(QIODevice::ReadOnly)) {
          const qint64 kind = kinder.readAll().trimmed().split(' ').value(0).toLongLong();
          kinder.close();
          if (kind > 0) {
            pid = kind;
            break;
          }
        }
        QThread::msleep(50);
      }
    }
    ::kill(static_cast<pid_t>(pid), signal);
  }

  // A month writer of machine `maschine` on the data folder "Data" of the share.
  // `umgebung`: further variables of the helper ("NAME=value").
  Arbeitsplatz& schreiber(int maschine, int nummer, int anzahl, const QString& heute, int verdichten,
                          const QStringList& umgebung = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELKORA_VERDICHTEN"), QString::number(verdichten));
    for (const QString& e : umgebung) env.insert(e.section(u'=', 0, 0), e.section(u'=', 1));
    Arbeitsplatz a;
    a.nummer = nummer;
    a.p = starten(maschine, Bin(QStringLiteral("velkora_monatsdatei_helfer")),
                  {mMount[maschine - 1] + QStringLiteral("Data/"), QStringLiteral("netz"), QString::number(nummer),
                   QStringLiteral("24"), QString::number(anzahl), heute},
                  env);
    mAlle.push_back(std::move(a));
    return mAlle.back();
  }

  // A helper of machine `maschine` that runs `modus` over and over on the share's data
  // folder until schleifen_beenden: "pruefen" the start's month check, "sichern" a
  // backup, each read back for the month.
  void schleife(int maschine, const QString& modus, const QString& heute) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELKORA_STOPP"), mTmp.path() + QStringLiteral("/stopp"));
    mSchleifen.push_back(starten(maschine, Bin(QStringLiteral("velkora_monatsdatei_helfer")),
                                 {mMount[maschine - 1] + QStringLiteral("Data/"), modus, QStringLiteral("0"),
                                  QStringLiteral("1"), QStringLiteral("1"), heute},
                                 env));
  }
  // Stops the loops: each ran at least once, none ended otherwise than with 0 (no start
  // ended, every backup held the month).
  void schleifen_beenden(const char* phase) {
    schreiben(mTmp.path() + QStringLiteral("/stopp"), "stopp");
    for (const auto& p : mSchleifen) {
      ASSERT_TRUE(p->waitForFinished(120000)) << phase;
      const QByteArray aus = p->readAllStandardOutput();
      EXPECT_EQ(p->exitStatus(), QProcess::NormalExit) << phase;
      EXPECT_EQ(p->exitCode(), 0) << phase << ": " << aus.constData() << p->readAllStandardError().constData();
      EXPECT_TRUE(aus.startsWith("geprueft ") || (aus.startsWith("gesichert ") && aus.contains(" ohne Monat 0\n")))
          << phase << ": " << aus.constData();
    }
    mSchleifen.clear();
    QFile::remove(mTmp.path() + QStringLiteral("/stopp"));
  }
  // Every file of month 2603 on the share begins with the month's header.
  void kopf_in_jeder_Version(const char* phase) {
    const QString daten = mFreigabe + QStringLiteral("Data/");
    for (const QString& v : Dateiliste(daten, QStringLiteral("2603*Data.dat")))
      EXPECT_EQ(dekodierteZeilen(daten + v).value(0).toStdString(), "[2603]")
          << phase << ": " << qPrintable(v) << " has no header";
  }

  // Waits for every writer; none may end otherwise than normally with 0, unless it was
  // killed. Then every save a writer reported done stands in the newest version of the
  // month (as the server holds it): each save has a user of its own, whose line is
  // that save's.
  void prüfen(const char* phase) {
    QHash<QString, int> gemeldet;  // user -> the save reported done
    for (Arbeitsplatz& a : mAlle) {
      if (!a.p) continue;
      ASSERT_TRUE(a.p->state() == QProcess::NotRunning || a.p->waitForFinished(300000)) << phase;
      const QString aus = QString::fromUtf8(a.p->readAllStandardOutput());
      const QString fehler = QString::fromUtf8(a.p->readAllStandardError());
      if (!a.getötet) {
        EXPECT_EQ(a.p->exitStatus(), QProcess::NormalExit) << phase << " writer " << a.nummer;
        EXPECT_EQ(a.p->exitCode(), 0) << phase << " writer " << a.nummer << ": " << qPrintable(fehler);
      }
      for (const QString& z : aus.split(u'\n', Qt::SkipEmptyParts)) {
        if (!z.startsWith(QStringLiteral("ok "))) continue;
        const int j = z.mid(3).toInt();
        gemeldet[QStringLiteral("w%1s%2").arg(a.nummer).arg(j)] = j;
      }
    }
    const QString daten = mFreigabe + QStringLiteral("Data/");
    QStringList versionen = Dateiliste(daten, QStringLiteral("2603*Data.dat"));
    ASSERT_FALSE(versionen.isEmpty()) << phase;
    versionen.sort();
    QHash<QString, QString> letzte;
    for (const QString& z : dekodierteZeilen(daten + versionen.last()))
      if (z.startsWith(QStringLiteral("A:"))) letzte[z.section(u':', 1, 1)] = z.section(u':', 2);
    QHash<QString, int> nachCodes;
    for (int j = 0; j < 2000; ++j) nachCodes.insert(Codes(j), j);
    int verloren = 0;
    for (auto it = gemeldet.cbegin(); it != gemeldet.cend(); ++it) {
      const int steht = nachCodes.value(letzte.value(it.key()), -1);
      if (steht < it.value()) ++verloren;
      EXPECT_GE(steht, it.value()) << phase << ": " << qPrintable(it.key()) << " lost its save " << it.value();
    }
    EXPECT_EQ(verloren, 0) << phase << ", of " << gemeldet.size() << " users";
    EXPECT_FALSE(gemeldet.isEmpty()) << phase << ": no save went through";
    EXPECT_FALSE(QFile::exists(daten + QStringLiteral("~2603.vklock"))) << phase;
    mAlle.clear();
  }

  QTemporaryDir mTmp;
  QString mSshd, mFreigabe;
  QString mMount[2];
  QStringList mEingehängt;
  QProcess mServer;
  std::vector<Arbeitsplatz> mAlle;
  std::vector<std::unique_ptr<QProcess>> mSchleifen;
};

constexpr int kSpeicherungen = 200;

TEST_F(Netzfreigabe, ZweiMaschinenVerlierenNichtsHaltenNichtAnUndRichtenDenOrdnerEinmalEin) {
  QDir().mkpath(mFreigabe + QStringLiteral("Data"));
  // 4 + 4 writers, appends mixed with compactions, all on one date.
  for (int i = 0; i < 8; ++i) schreiber(1 + i % 2, i, kSpeicherungen, QStringLiteral("260310"), 5);
  ASSERT_NO_FATAL_FAILURE(prüfen("mixed"));

  // Every save a rewrite: each writer has a date of its own.
  for (int i = 0; i < 8; ++i) schreiber(1 + i % 2, i, kSpeicherungen / 4, QStringLiteral("2603%1").arg(11 + i), 0);
  ASSERT_NO_FATAL_FAILURE(prüfen("rewrites"));

  // Writers of machine 1 killed again and again while machine 2 saves; machine 1's
  // next writer takes the lock of a killed one over at once (its process is gone).
  for (int i = 0; i < 4; ++i) schreiber(2, 8 + i, kSpeicherungen / 2, QStringLiteral("260318"), 7);
  for (int runde = 0; runde < 6; ++runde) {
    std::vector<size_t> opfer;
    for (int i = 0; i < 2; ++i) {
      schreiber(1, 12 + 2 * runde + i, kSpeicherungen, QStringLiteral("260318"), 3);
      opfer.push_back(mAlle.size() - 1);
    }
    QThread::msleep(300 + QRandomGenerator::global()->bounded(700));
    for (size_t k : opfer) {
      ::kill(static_cast<pid_t>(mAlle[k].p->processId()), SIGKILL);
      mAlle[k].getötet = true;
    }
  }
  // The lock of the last writer killed is taken over by the next one on its machine,
  // also when machine 2's writers were done before it.
  schreiber(1, 24, 5, QStringLiteral("260318"), 0);
  ASSERT_NO_FATAL_FAILURE(prüfen("kills"));

  // 4 first starts of the real program on an empty data folder at once, two on each
  // machine: the folder is set up once, every start goes on to its main window, and
  // none leaves the start repair's lock behind.
  const QString inst = mTmp.path() + QStringLiteral("/Programm/");
  QDir().mkpath(inst);
  ASSERT_TRUE(QFile::copy(Bin(QStringLiteral("velkora")), inst + QStringLiteral("velkora")));
  ASSERT_TRUE(QFile::copy(Bin(QStringLiteral("VelkoraFtg.dat")), inst + QStringLiteral("VelkoraFtg.dat")));
  QFile::setPermissions(inst + QStringLiteral("velkora"), QFile::permissions(Bin(QStringLiteral("velkora"))));
  QDir().mkpath(mFreigabe + QStringLiteral("Neu"));
  std::vector<std::unique_ptr<QProcess>> starts;
  for (int i = 0; i < 4; ++i) {
    const QString temp = mTmp.path() + QStringLiteral("/Temp%1").arg(i);
    QDir().mkpath(temp);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TEMP"), temp);
    env.insert(QStringLiteral("USERNAME"), QStringLiteral("start%1").arg(i));
    env.remove(QStringLiteral("ProgramFiles"));
    starts.push_back(
        starten(1 + i % 2, inst + QStringLiteral("velkora"),
                {QStringLiteral("/d:150326"), QStringLiteral("/path:") + mMount[i % 2] + QStringLiteral("Neu"),
                 QStringLiteral("/nowelcomescreen")},
                env));
  }
  const QString neu = mFreigabe + QStringLiteral("Neu/Data/");
  // Each start has come through to its main window when its user's settings are saved
  // at the end, which only the main window's unload does.
  QThread::msleep(8000);
  for (int i = 0; i < 4; ++i) signalisieren(*starts[i], 1 + i % 2, SIGTERM);
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(starts[i]->waitForFinished(30000));
    EXPECT_EQ(starts[i]->exitCode(), 0) << "start " << i << ": " << starts[i]->readAllStandardError().constData();
    EXPECT_TRUE(QFile::exists(neu + QStringLiteral("IniFiles/Velkora_start%1.ini").arg(i))) << "start " << i;
  }
  EXPECT_FALSE(QFile::exists(neu + QStringLiteral("Lockfile.txt")));
  EXPECT_FALSE(QFile::exists(neu + QStringLiteral("~Einrichtung.vklock")));
  // One folder id line in every file.
  QSet<QString> kennungen;
  const QStringList monate = Dateiliste(neu, QStringLiteral("*Data.dat"));
  EXPECT_EQ(monate.size(), 36);
  for (const QString& d : QStringList{QStringLiteral("Konfigdaten.dat"), QStringLiteral("Mitarbeiterdaten.dat"),
                                      QStringLiteral("Feiertage.dat")} +
                              monate)
    kennungen.insert(dekodierteZeilen(neu + d).value(1));
  EXPECT_EQ(kennungen.size(), 1) << qPrintable(QStringList(kennungen.begin(), kennungen.end()).join(u' '));
}

// Workstations whose dates differ on two machines: each writer moves on one day after
// every 5 saves, starts run their month check on both machines all the time (a start
// removes the versions it finds old) and backups are made. Then a night: every writer
// goes from the 10th to the 11th once, each at another moment. Every save reported
// done stands in the newest version, the month keeps its header, no writer and no
// start stops, every backup holds the month.
TEST_F(Netzfreigabe, TageAuseinanderMitStartsAufBeidenMaschinen) {
  const QString daten = mFreigabe + QStringLiteral("Data/");
  QDir().mkpath(daten);
  // Every other month of the starts' years has a file: the month check misses none.
  for (int jahr = 26; jahr <= 27; ++jahr)
    for (int m = 1; m <= 12; ++m) {
      const QString schlüssel = QStringLiteral("%1%2").arg(jahr).arg(m, 2, 10, QChar(u'0'));
      if (schlüssel != u"2603")
        schreiben(daten + schlüssel + QStringLiteral(" 260101 Data.dat"),
                  kodiert({u'[' + schlüssel + u']', QStringLiteral("Kennung"), QStringLiteral("NoEx:NoEx")}));
    }
  // The month as the day before left it.
  schreiben(daten + QStringLiteral("2603 260309 Data.dat"),
            kodiert({QStringLiteral("[2603]"), QStringLiteral("Kennung"), QStringLiteral("NoEx:NoEx"),
                     QStringLiteral("A:vorher:") + Codes(1)}));
  for (int m = 1; m <= 2; ++m) schleife(m, QStringLiteral("pruefen"), QStringLiteral("260311"));
  schleife(1, QStringLiteral("sichern"), QStringLiteral("260311"));
  for (int i = 0; i < 8; ++i)
    schreiber(1 + i % 2, i, kSpeicherungen, QStringLiteral("2603%1").arg(10 + i % 2), 0,
              {QStringLiteral("VELKORA_TAGESWECHSEL=5")});
  // The starts stop once the writers are done, so that no start's lock is left to see.
  for (Arbeitsplatz& a : mAlle) EXPECT_TRUE(a.p->state() == QProcess::NotRunning || a.p->waitForFinished(300000));
  ASSERT_NO_FATAL_FAILURE(schleifen_beenden("day after day"));
  ASSERT_NO_FATAL_FAILURE(prüfen("day after day"));
  kopf_in_jeder_Version("day after day");

  for (int m = 1; m <= 2; ++m) schleife(m, QStringLiteral("pruefen"), QStringLiteral("260311"));
  schleife(1, QStringLiteral("sichern"), QStringLiteral("260311"));
  for (int i = 0; i < 8; ++i)
    schreiber(1 + i % 2, 30 + i, kSpeicherungen, QStringLiteral("260310"), 7,
              {QStringLiteral("VELKORA_MITTERNACHT=%1").arg(10 + 23 * i)});
  // The starts stop once the writers are done, so that no start's lock is left to see.
  for (Arbeitsplatz& a : mAlle) EXPECT_TRUE(a.p->state() == QProcess::NotRunning || a.p->waitForFinished(300000));
  ASSERT_NO_FATAL_FAILURE(schleifen_beenden("midnight"));
  ASSERT_NO_FATAL_FAILURE(prüfen("midnight"));
  kopf_in_jeder_Version("midnight");
}

}  // namespace
