#include "platform/Einzelinstanz.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <cerrno>

#include "platform/Umgebung.h"

namespace einzelinstanz {
namespace {

int gSperre = -1;

// A folder no one but this account can put a file into: otherwise another account
// could make the guard first and bar every start, or point it elsewhere.
bool privat(const QString& ordner) {
  QString o = ordner;
  while (o.size() > 1 && o.endsWith(u'/')) o.chop(1);
  struct stat st {};
  if (o.isEmpty() || ::lstat(QFile::encodeName(o).constData(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The guard's file name: the user name in lower case, with the characters a file name
// cannot hold escaped; a name too long for one is replaced by its hash.
QString dateiname() {
  const QByteArray name = umgebung::benutzername().toLower().toUtf8();
  QByteArray teil = name.toPercentEncoding(QByteArray(), QByteArrayLiteral("."));
  if (teil.size() > 200) teil = QCryptographicHash::hash(name, QCryptographicHash::Sha256).toHex();
  return QStringLiteral("velkora-") + QString::fromLatin1(teil) + QStringLiteral(".instance");
}

}  // namespace

QString ordner() {
  const QString laufzeit = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (privat(laufzeit)) return umgebung::mitSchrägstrich(laufzeit);
  const QString uid = QString::number(::geteuid());
  const QString run = QStringLiteral("/run/user/") + uid;
  if (privat(run)) return run + u'/';
  const QString tmp = QStringLiteral("/tmp/velkora-") + uid + QStringLiteral("-laufzeit");
  ::mkdir(QFile::encodeName(tmp).constData(), 0700);
  if (privat(tmp)) return tmp + u'/';
  const QString temp = umgebung::tempOrdner();
  if (umgebung::eigenerOrdner(temp)) return temp;
  return QString();
}

bool sichern() {
  if (gSperre >= 0) return true;
  const QString o = ordner();
  if (o.isEmpty()) return true;
  const int fd = ::open(QFile::encodeName(o + dateiname()).constData(),
                        O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool belegt = errno == EWOULDBLOCK;
    ::close(fd);
    return !belegt;
  }
  gSperre = fd;
  return true;
}

void freigeben() {
  if (gSperre < 0) return;
  // The file stays: removing it would let a start that opened it just before lock a
  // name no other start finds.
  ::close(gSperre);
  gSperre = -1;
}

}  // namespace einzelinstanz
