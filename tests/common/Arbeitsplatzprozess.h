#pragma once
// A workstation of the end-to-end tests as a process of its own: the program's start
// and main window (velkora_arbeitsplatz), worked by commands on its stdin, one answer
// line each on its stdout.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <string>

namespace {

constexpr int kFristMs = 60000;

// The folders the workstations of one test share below `basis`: "Daten" (their data
// folder's parent) and "Programm" with the country holiday master file.
inline void Arbeitsplatzordner_anlegen(const QString& basis) {
  QDir().mkpath(basis + QStringLiteral("Daten"));
  QDir().mkpath(basis + QStringLiteral("Programm"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"),
                          basis + QStringLiteral("Programm/VelkoraFtg.dat")));
}

// One running workstation: commands on its stdin, one answer line each on its stdout.
class Arbeitsplatz {
 public:
  // `schalter`: the program's command-line switches, after the folders and the date.
  // Each user works on a machine of their own: its temporary folder "Temp_<user>" and
  // its runtime folder "Laufzeit_<user>" (where the single-instance guard lies);
  // `umgebung` sets further variables or other folders; `startordner`: the folder the
  // program is started in (empty: the test's own).
  Arbeitsplatz(const QString& benutzer, const QString& basis, const QString& datum, const QStringList& schalter = {},
               const QProcessEnvironment& umgebung = {}, const QString& startordner = {})
      : mBenutzer(benutzer) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("USERNAME"), benutzer);
    env.insert(QStringLiteral("TEMP"), basis + QStringLiteral("Temp_") + benutzer);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), basis + QStringLiteral("Laufzeit_") + benutzer);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    env.insert(umgebung);
    QDir().mkpath(env.value(QStringLiteral("TEMP")));
    const QString laufzeit = env.value(QStringLiteral("XDG_RUNTIME_DIR"));
    QDir().mkpath(laufzeit);
    QFile::setPermissions(laufzeit, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    mProzess.setProcessEnvironment(env);
    mProzess.setProcessChannelMode(QProcess::SeparateChannels);
    if (!startordner.isEmpty()) mProzess.setWorkingDirectory(startordner);
    mProzess.start(QStringLiteral(VELKORA_BIN_DIR "/velkora_arbeitsplatz"),
                   QStringList{basis + QStringLiteral("Daten"), basis + QStringLiteral("Programm"), datum} + schalter);
  }
  ~Arbeitsplatz() {
    if (mProzess.state() != QProcess::NotRunning) {
      mProzess.kill();
      mProzess.waitForFinished(kFristMs);
    }
  }

  // The next answer line; empty when none came in time.
  QString zeile() {
    while (!mProzess.canReadLine()) {
      if (mProzess.state() == QProcess::NotRunning || !mProzess.waitForReadyRead(kFristMs)) {
        if (!mProzess.canReadLine()) return QString();
      }
    }
    return QString::fromUtf8(mProzess.readLine()).chopped(1);
  }
  void senden(const QString& befehl) { mProzess.write((befehl + u'\n').toUtf8()); }
  QString befehl(const QString& b) {
    senden(b);
    return zeile();
  }
  // The answer of a command that must succeed, without its "ok ".
  QString ok(const QString& b) {
    const QString a = befehl(b);
    EXPECT_TRUE(a.startsWith(u"ok")) << mBenutzer.toStdString() << ": " << b.toStdString() << " -> " << a.toStdString()
                                     << fehlerausgabe();
    return a.mid(3);
  }
  int zeileVon(const QString& benutzer) { return ok(QStringLiteral("row ") + benutzer).toInt(); }
  QString zelle(int r, int tag) { return ok(QStringLiteral("cell %1 %2").arg(r).arg(tag)); }
  void markieren(int r, int von, int bis) {
    EXPECT_EQ(ok(QStringLiteral("mark %1 %2 %3").arg(r).arg(von).arg(bis)),
              QStringLiteral("%1 %1 %2 %3 1").arg(r).arg(von).arg(bis));
  }
  void eintragen(int r, int von, int bis, int knopf) {
    markieren(r, von, bis);
    ok(QStringLiteral("button %1").arg(knopf));
    EXPECT_EQ(ok(QStringLiteral("prompts")), QString()) << "no message at " << mBenutzer.toStdString();
  }
  int beenden() {
    EXPECT_EQ(befehl(QStringLiteral("quit")), u"bye");
    mProzess.closeWriteChannel();
    if (!mProzess.waitForFinished(kFristMs)) return -1;
    return mProzess.exitStatus() == QProcess::NormalExit ? mProzess.exitCode() : -1;
  }
  // Waits until the process has ended; its exit code, -1 when it did not end normally.
  int endeAbwarten() {
    mProzess.closeWriteChannel();
    if (mProzess.state() != QProcess::NotRunning && !mProzess.waitForFinished(kFristMs)) return -1;
    return mProzess.exitStatus() == QProcess::NormalExit ? mProzess.exitCode() : -1;
  }
  std::string fehlerausgabe() { return "\n" + QString::fromUtf8(mProzess.readAllStandardError()).toStdString(); }

 private:
  QString mBenutzer;
  QProcess mProzess;
};

// The first start of the administrator "anna" on 14.04.26, which makes the data folder
// below `basis` (planning year 2025) and ends again.
inline void Datenordner_durch_ersten_Start(const QString& basis) {
  Arbeitsplatz erster(QStringLiteral("anna"), basis, QStringLiteral("140426"));
  ASSERT_EQ(erster.zeile(), u"ready 2604") << erster.fehlerausgabe();
  ASSERT_EQ(erster.beenden(), 0);
}

}  // namespace
