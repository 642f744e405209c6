#pragma once
// A second workstation as a real process: the month writer's helper program
// (tests/store/helfer/Monatsdatei_helfer.cpp) on this test's data folder, started,
// waited for until it is ready, and waited for to its end.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <memory>

#include "startup/Start.h"

inline QString Bin(const char* name) { return QStringLiteral(VELKORA_BIN_DIR "/") + QString::fromLatin1(name); }

// How a helper process ended, with what it printed.
struct Ergebnis {
  int code = -1;
  bool normal = false;
  QString aus, fehler;
};

// The helper on gDatenordner with the arguments after the folder; `umgebung` adds
// "NAME=value" entries to this process's environment.
inline std::unique_ptr<QProcess> Helfer_starten(const QStringList& argumente, const QStringList& umgebung = {}) {
  auto p = std::make_unique<QProcess>();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString& e : umgebung) env.insert(e.section(u'=', 0, 0), e.section(u'=', 1));
  p->setProcessEnvironment(env);
  p->setProgram(Bin("velkora_monatsdatei_helfer"));
  p->setArguments(QStringList{gDatenordner} + argumente);
  p->start();
  EXPECT_TRUE(p->waitForStarted(10000));
  return p;
}

// Waits for the helper's "bereit" line.
inline void Helfer_bereit(QProcess& p) {
  ASSERT_TRUE(p.waitForReadyRead(60000)) << p.readAllStandardError().constData();
  ASSERT_EQ(p.readLine(), QByteArray("bereit\n"));
}

// Waits at most `ms` for the helper's end.
inline Ergebnis Helfer_abwarten(QProcess& p, int ms) {
  Ergebnis e;
  EXPECT_TRUE(p.waitForFinished(ms));
  e.normal = p.exitStatus() == QProcess::NormalExit;
  e.code = p.exitCode();
  e.aus = QString::fromUtf8(p.readAllStandardOutput());
  e.fehler = QString::fromUtf8(p.readAllStandardError());
  return e;
}
