#include "store/Monatsstand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QHashFunctions>
#include <algorithm>
#include <cerrno>

#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Mitarbeiterdaten.h"

Monatsstand gMonatsdateiStand;

namespace {

void Zustand_zurücksetzen() { gMonatsdateiStand = Monatsstand{}; }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

}  // namespace

namespace {

constexpr qint64 kGanzGelesen = 16384;
constexpr qint64 kEndeGelesen = 8192;

// Reads from the file's position up to `höchstens` bytes (-1: to the end).
QByteArray Lesen_bis(int fd, qint64 höchstens) {
  QByteArray r;
  char puffer[8192];
  while (höchstens < 0 || r.size() < höchstens) {
    const size_t rest = höchstens < 0 ? sizeof puffer : std::min<size_t>(sizeof puffer, höchstens - r.size());
    const ssize_t n = ::read(fd, puffer, rest);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    r.append(puffer, n);
  }
  return r;
}

// Time, size, identity and content hash of an open version.
void Datei_stempeln(int fd, Monatsstand& s) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return;
  s.zeit = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.datei = static_cast<quint64>(st.st_ino) ^ (static_cast<quint64>(st.st_dev) << 40);
  // A month as a rewrite leaves it (one line per employee) is hashed whole; a longer one,
  // grown by appends, by its beginning and its end, so a save costs no read of all of
  // it. Read to the end, whatever size the share's attributes say.
  QByteArray inhalt = Lesen_bis(fd, kGanzGelesen);
  qint64 größe = inhalt.size();
  if (größe == kGanzGelesen) {
    const off_t ab = std::max<off_t>(kGanzGelesen, st.st_size - kEndeGelesen);
    if (::lseek(fd, ab, SEEK_SET) == ab) {
      const QByteArray ende = Lesen_bis(fd, -1);
      inhalt += ende;
      größe = ab + ende.size();
    }
  }
  s.größe = größe;
  s.inhalt = static_cast<quint64>(qHashBits(inhalt.constData(), static_cast<size_t>(inhalt.size()), 0));
}

}  // namespace

Monatsstand Monatsstand_lesen(const QString& monatsschlüssel) {
  Monatsstand s;
  s.schlüssel = monatsschlüssel;
  s.bekannt = true;
  for (int versuch = 0;; ++versuch) {
    s.name = Erfassungsdatei_Name(monatsschlüssel);
    if (s.name.isEmpty()) return s;
    const int fd = ::open(QFile::encodeName(gDatenordner + s.name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
      Datei_stempeln(fd, s);
      ::close(fd);
      return s;
    }
    // Gone between the listing and this look (another workstation replaced it): the
    // listing is asked again once; then the stamp keeps the name with size -1, which
    // differs from any real one.
    if (versuch > 0) return s;
    Ordneransicht_erneuern(gDatenordner);
  }
}

void Monatsstand_merken(const QString& monatsschlüssel) { gMonatsdateiStand = Monatsstand_lesen(monatsschlüssel); }

void Monatsstand_verwerfen() { gMonatsdateiStand = Monatsstand{}; }

bool Monatsstand_geändert(const QString& monatsschlüssel) {
  return Monatsstand_lesen(monatsschlüssel) != gMonatsdateiStand;
}

void Monatsstand_nach_eigenem_Schreiben(const QString& monatsschlüssel, const Monatsstand& vorher) {
  // The stamp of another month than the one written stays as it is.
  if (gMonatsdateiStand.bekannt && gMonatsdateiStand.schlüssel != monatsschlüssel) return;
  if (vorher == gMonatsdateiStand)
    gMonatsdateiStand = Monatsstand_lesen(monatsschlüssel);
  else
    Monatsstand_verwerfen();
}

void Mitarbeiterdaten_vor_Umschreiben_prüfen() {
  const QString pfad = gDatenordner + QStringLiteral("Mitarbeiterdaten.dat");
  // No file: the table was set up without one and nothing newer can be read.
  if (!Datei_vorhanden(pfad)) return;
  if (Dateizeit(pfad) == gMitarbeiterdatenZeit) return;
  Mitarbeiterdaten_lesen();
}
