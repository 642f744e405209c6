#include "platform/Umgebung.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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
  // Another local account may have made this name first: a folder that is not this
  // user's own (or a link) is taken as it is and refused by the start.
  const QByteArray pfad = QFile::encodeName(ordner);
  ::mkdir(pfad.constData(), 0700);
  if (eigenerOrdner(ordner)) ::chmod(pfad.constData(), 0700);
  return ordner + u'/';
}

bool eigenerOrdner(const QString& ordner) {
  QString o = ordner;
  // With a trailing slash lstat would follow a link.
  while (o.size() > 1 && o.endsWith(u'/')) o.chop(1);
  struct stat st {};
  if (::lstat(QFile::encodeName(o).constData(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == geteuid();
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
