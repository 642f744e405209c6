#include "platform/Umgebung.h"

#include <pwd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace umgebung {
namespace {
QString gProgrammordnerOverride;
}

QString mitSchrägstrich(const QString& ordner) {
  if (ordner.isEmpty() || ordner.endsWith(u'/')) return ordner;
  return ordner + u'/';
}

QString benutzername() {
  QString n = qEnvironmentVariable("USERNAME");
  if (!n.isEmpty()) return n;
  if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
    return QString::fromLocal8Bit(pw->pw_name);
  n = qEnvironmentVariable("USER");
  if (!n.isEmpty()) return n;
  return QStringLiteral("NoName");
}

QString tempOrdner() {
  const QString t = qEnvironmentVariable("TEMP");
  if (!t.isEmpty()) return mitSchrägstrich(t);
  const QString ordner = QDir::tempPath() + QStringLiteral("/velkora-") + QString::number(geteuid());
  QDir().mkpath(ordner);
  QFile::setPermissions(ordner, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return ordner + u'/';
}

QString publicOrdner() {
  const QString p = qEnvironmentVariable("PUBLIC");
  if (!p.isEmpty()) return mitSchrägstrich(p);
  return mitSchrägstrich(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString programFiles() { return mitSchrägstrich(qEnvironmentVariable("ProgramFiles")); }
QString programData() { return mitSchrägstrich(qEnvironmentVariable("ProgramData")); }

QString programmordner() {
  if (!gProgrammordnerOverride.isEmpty()) return gProgrammordnerOverride;
  if (QCoreApplication::instance()) return mitSchrägstrich(QCoreApplication::applicationDirPath());
  return mitSchrägstrich(QDir::currentPath());
}

void setzeProgrammordner(const QString& ordner) { gProgrammordnerOverride = mitSchrägstrich(ordner); }

bool unterProgrammdateien(const QString& ordner) {
  const QString pf = programFiles();
  if (!pf.isEmpty() && ordner.left(10).toLower() == pf.left(10).toLower()) return true;
  const QFileInfo fi(ordner);
  return fi.exists() && !fi.isWritable();
}

}  // namespace umgebung
