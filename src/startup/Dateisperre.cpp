#include "startup/Dateisperre.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"

namespace {

struct Gehalten {
  QByteArray kennung;  // what this program wrote into the lock file
  int tiefe = 0;
  double aufgefrischt = 0;
};

// Locks held by this program, by path.
QHash<QString, Gehalten>& Gehaltene() {
  static QHash<QString, Gehalten> h;
  return h;
}

// What a lock file looked like when it was seen.
struct Stand {
  QByteArray inhalt;
  qint64 zeit = 0;  // modification time, nanoseconds
  qint64 größe = 0;
  bool operator==(const Stand&) const = default;
};

// How long this program has watched a foreign lock unchanged: since `seit` on the
// monotonic clock it has looked like `stand`.
struct Beobachtung {
  Stand stand;
  double seit = 0;
};
QHash<QString, Beobachtung>& Beobachtungen() {
  static QHash<QString, Beobachtung> h;
  return h;
}

QByteArray Datei_Zeile(const char* pfad) {
  QFile f(QString::fromLatin1(pfad));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readLine().trimmed();
}

// This kernel's boot and this process namespace: a process id only means something
// to a workstation that shares both.
const QByteArray& Eigener_Rechnerkern() {
  static const QByteArray k = [] {
    char ns[128] = {};
    const ssize_t n = ::readlink("/proc/self/ns/pid", ns, sizeof ns - 1);
    return Datei_Zeile("/proc/sys/kernel/random/boot_id") + '/' + QByteArray(ns, n > 0 ? n : 0);
  }();
  return k;
}

QByteArray Eigene_Kennung() { return Dateisperre_Kennung(::getpid()); }

std::optional<Stand> Stand_lesen(const QString& pfad) {
  const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  Stand s;
  struct stat st {};
  if (Attribute_vom_Server(fd, &st)) {
    s.zeit = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.größe = st.st_size;
  }
  char puffer[512];
  ssize_t n;
  while (s.inhalt.size() < 4096 && (n = ::read(fd, puffer, sizeof puffer)) > 0) s.inhalt.append(puffer, n);
  ::close(fd);
  return s;
}

// The identity a lock file holds, for the holder's own checks: no file time is needed,
// and a lock is far shorter than one read, so an answer shorter than asked for is its
// end.
QByteArray Inhalt(const QString& pfad) {
  const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  QByteArray r;
  char puffer[512];
  for (;;) {
    const ssize_t n = ::read(fd, puffer, sizeof puffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    r.append(puffer, n);
    if (static_cast<size_t>(n) < sizeof puffer || r.size() >= 4096) break;
  }
  ::close(fd);
  return r;
}

// A holder on this kernel and in this process namespace whose process is gone.
bool Halter_beendet(const QByteArray& inhalt) {
  const QList<QByteArray> teile = inhalt.split('|');
  if (teile.size() != 4 || teile[1] != Eigener_Rechnerkern()) return false;
  bool ok = false;
  const qint64 pid = teile[2].toLongLong(&ok);
  if (!ok || pid <= 0) return false;
  // Our own process id: this program holds no such lock (the table says so), so it
  // is one that an earlier run with the same id left.
  if (pid == ::getpid()) return true;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Whether the lock seen as `s` was left behind by a holder that went away.
bool Verlassen(const QString& pfad, const Stand& s) {
  if (Halter_beendet(s.inhalt)) return true;
  const double jetzt = uhr::monoton();
  auto it = Beobachtungen().find(pfad);
  if (it == Beobachtungen().end() || !(it->stand == s)) {
    Beobachtungen().insert(pfad, Beobachtung{s, jetzt});
    return false;
  }
  return jetzt - it->seit >= (s.inhalt.isEmpty() ? kLeereSperreVeraltet : kDateisperreVeraltet);
}

// Takes a left-behind lock away: moved aside by an atomic rename, so that of several
// workstations finding it left behind only one removes it. When what was moved aside
// is not the lock that was judged (a fresh one taken in between), it is put back.
bool Übernehmen(const QString& pfad, const Stand& gesehen) {
  // A name of this machine's own (host name, process id, random part): two machines
  // taking over at once must not move their locks onto one name.
  const QString beiseite = Eigener_Zwischenname(pfad) + QStringLiteral(".vkstale");
  const QByteArray b = QFile::encodeName(beiseite);
  if (::rename(QFile::encodeName(pfad).constData(), b.constData()) != 0) return false;
  const std::optional<Stand> s = Stand_lesen(beiseite);
  Beobachtungen().remove(pfad);
  if (s && s->inhalt == gesehen.inhalt && s->zeit == gesehen.zeit) {
    ::unlink(b.constData());
    return true;
  }
  // Fails when another lock stands there already; the moved one's holder checks its
  // lock before it writes, so dropping it only shortens its protection.
  (void)!::link(b.constData(), QFile::encodeName(pfad).constData());
  ::unlink(b.constData());
  return false;
}

int Anlegen(const QString& pfad, const QByteArray& kennung) { return Sperrdatei_anlegen(pfad, kennung); }

}  // namespace

namespace {

bool Pfad_vorhanden(const QByteArray& p) {
  struct stat st {};
  return ::lstat(p.constData(), &st) == 0;
}

// The exclusive create of a lock file. A network share does not always answer "exists"
// when another workstation made the file a moment earlier (some say "no rights", some
// "I/O error"): a failed create counts as "held by another" whenever the path stands
// there afterwards. Only a failure with the path absent, twice, is a real error.
int Exklusiv_öffnen(const QByteArray& p, int* fd, mode_t modus) {
  for (int versuch = 0;; ++versuch) {
    *fd = ::open(p.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, modus);
    if (*fd >= 0) return 0;
    const int e = errno == 0 ? EIO : errno;
    if (e == EEXIST || Pfad_vorhanden(p)) return EEXIST;
    if (versuch == 0 || (e == EINTR && versuch < 10)) {
      uhr::schlafen(0.01 + 0.02 * uhr::zufall());
      continue;
    }
    return e;
  }
}

}  // namespace

int Sperrdatei_anlegen(const QString& pfad, const QByteArray& kennung) {
  const QByteArray p = QFile::encodeName(pfad);
  // The lock takes its folder's rights; asked for by the create itself, they seldom
  // need setting afterwards.
  Sperrdateirechte rechte;
  const bool mitRechten = Sperrdatei_Rechte(pfad, rechte);
  int fd = -1;
  if (const int e = Exklusiv_öffnen(p, &fd, mitRechten ? static_cast<mode_t>(rechte.modus) : 0666); e != 0) return e;
  if (mitRechten) Sperrdatei_Rechte_setzen(fd, rechte);
  int fehler = 0;
  qsizetype geschrieben = 0;
  while (geschrieben < kennung.size()) {
    const ssize_t n = ::write(fd, kennung.constData() + geschrieben, static_cast<size_t>(kennung.size() - geschrieben));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      fehler = n < 0 ? errno : ENOSPC;
      break;
    }
    geschrieben += n;
  }
  if (::close(fd) != 0 && fehler == 0) fehler = errno == EINTR ? 0 : errno;
  if (fehler == EEXIST) fehler = EIO;
  if (fehler != 0) ::unlink(p.constData());
  return fehler;
}

QByteArray Dateisperre_Kennung(qint64 pid) {
  return QSysInfo::machineHostName().toUtf8().replace('|', '_') + '|' + Eigener_Rechnerkern() + '|' +
         QByteArray::number(pid) + '|' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

namespace {

void Freigeben(const QString& pfad, const Gehalten& g) {
  // Only our own lock: one taken over from us belongs to another now.
  if (Inhalt(pfad) == g.kennung) ::unlink(QFile::encodeName(pfad).constData());
}

void Alle_freigeben() {
  const auto alle = Gehaltene();
  Gehaltene().clear();
  for (auto it = alle.cbegin(); it != alle.cend(); ++it) Freigeben(it.key(), it.value());
}

void Ende_einrichten() {
  static std::once_flag einmal;
  std::call_once(einmal, [] {
    std::atexit(&Alle_freigeben);
    programmende::beimEnde(&Alle_freigeben);
  });
}

void Zustand_zurücksetzen() {
  Alle_freigeben();
  Beobachtungen().clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

void Zeit_setzen(const QString& pfad) { ::utimensat(AT_FDCWD, QFile::encodeName(pfad).constData(), nullptr, 0); }

}  // namespace

// After this many seconds of waiting a waiter looks for the lock more often.
constexpr double kLangeGewartet = 0.5;

Dateisperre::Dateisperre(const QString& pfad, double wartezeit) : mPfad(pfad) {
  auto& gehalten = Gehaltene();
  if (auto it = gehalten.find(pfad); it != gehalten.end()) {
    ++it->tiefe;
    mGehalten = true;
    return;
  }
  Ende_einrichten();
  const QByteArray kennung = Eigene_Kennung();
  const double ende = uhr::monoton() + wartezeit;
  for (;;) {
    const int e = Anlegen(pfad, kennung);
    if (e == 0) {
      gehalten.insert(pfad, Gehalten{kennung, 1, uhr::monoton()});
      Beobachtungen().remove(pfad);
      mGehalten = true;
      return;
    }
    if (e != EEXIST) {
      mFehler = e;
      mÜbernommen = false;
      return;
    }
    if (Unechte_Sperre_entfernen(pfad)) continue;
    const std::optional<Stand> s = Stand_lesen(pfad);
    if (s && Verlassen(pfad, *s) && Übernehmen(pfad, *s)) {
      mÜbernommen = true;
      continue;
    }
    if (uhr::monoton() >= ende) {
      mÜbernommen = false;
      return;
    }
    // A short, slightly random wait, so that waiting workstations do not retry in step;
    // shorter when the lock was released just now. Never none: a share whose cached
    // view still shows a released lock would have this loop spin without end. A holder
    // that saves again and again lets go only for a moment between its saves (each of
    // which waits for the disk): one that has waited a while looks more often, so that
    // it is not shut out until its time runs out.
    const bool lange = uhr::monoton() - (ende - wartezeit) >= kLangeGewartet;
    uhr::schlafen(lange || !s ? 0.001 + 0.004 * uhr::zufall() : 0.02 + 0.03 * uhr::zufall());
  }
}

Dateisperre::~Dateisperre() {
  if (!mGehalten) return;
  auto& gehalten = Gehaltene();
  auto it = gehalten.find(mPfad);
  if (it == gehalten.end()) return;
  if (--it->tiefe > 0) return;
  const Gehalten g = *it;
  gehalten.erase(it);
  Freigeben(mPfad, g);
}

bool Dateisperre::noch_eigen() {
  auto it = Gehaltene().find(mPfad);
  if (!mGehalten || it == Gehaltene().end() || Inhalt(mPfad) != it->kennung) return false;
  // A waiter takes a lock over only once it has seen it unchanged for far longer than
  // a second: one made or freshened less than a second ago needs no new file time.
  const double jetzt = uhr::monoton();
  if (jetzt - it->aufgefrischt >= 1.0) {
    Zeit_setzen(mPfad);
    it->aufgefrischt = jetzt;
  }
  return true;
}

void Dateisperre::auffrischen() {
  auto it = Gehaltene().find(mPfad);
  if (!mGehalten || it == Gehaltene().end()) return;
  const double jetzt = uhr::monoton();
  if (jetzt - it->aufgefrischt < 1.0) return;
  it->aufgefrischt = jetzt;
  if (Inhalt(mPfad) == it->kennung) Zeit_setzen(mPfad);
}

void Dateisperren_freigeben() { Alle_freigeben(); }

bool Unechte_Sperre_entfernen(const QString& pfad) {
  const QByteArray p = QFile::encodeName(pfad);
  struct stat st {};
  if (::lstat(p.constData(), &st) != 0 || S_ISREG(st.st_mode)) return false;
  // Moved aside first: when another workstation removed the same link and took a
  // real lock in between, that lock is what was moved, and it goes back.
  const QByteArray beiseite =
      QFile::encodeName(pfad + u'.' + QString::number(::getpid()) + u'.' +
                        QString::number(QRandomGenerator::global()->generate(), 36) + QStringLiteral(".vkstale"));
  if (::rename(p.constData(), beiseite.constData()) != 0) return false;
  if (::lstat(beiseite.constData(), &st) == 0 && S_ISREG(st.st_mode)) {
    (void)!::link(beiseite.constData(), p.constData());
    ::unlink(beiseite.constData());
    return false;
  }
  // A link goes itself, whatever it points to; its target is never touched.
  const bool weg = S_ISDIR(st.st_mode) ? ::rmdir(beiseite.constData()) == 0 : ::unlink(beiseite.constData()) == 0;
  if (!weg) {
    (void)!::rename(beiseite.constData(), p.constData());
    return false;
  }
  Beobachtungen().remove(pfad);
  Sperrverweis_gemeldet(pfad);
  return true;
}

void Dateisperre_Fehler(const QString& pfad, int fehlernummer) {
  int nummer = fehler::kPfadZugriffsfehler;
  switch (fehlernummer) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      nummer = 61;
      break;
    case EACCES:
    case EPERM:
    case EROFS:
      nummer = fehler::kZugriffVerweigert;
      break;
    case ENOENT:
    case ENOTDIR:
      nummer = fehler::kPfadNichtGefunden;
      break;
    default:
      break;
  }
  gOffeneDatei = pfad;
  fehler::auslösen(nummer);
}
