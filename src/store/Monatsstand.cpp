#include "store/Monatsstand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
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

// Size and content hash from the bytes the stamp takes: up to kGanzGelesen bytes from
// the start and, of a longer file, its end part.
// The hash is held in this program's memory only, never written: a fixed seed other
// than 0 lets Qt take its fast hash where the processor has one (with 0 it takes a
// byte-wise one, several times slower over the 24 KB of a long month, hashed twice per
// save).
void Hash_setzen(Monatsstand& s, const QByteArray& teile, qint64 größe) {
  constexpr size_t kSaat = 0x5eed;
  s.größe = größe;
  s.inhalt = static_cast<quint64>(qHashBits(teile.constData(), static_cast<size_t>(teile.size()), kSaat));
}

void Zeit_und_Identität(const struct stat& st, Monatsstand& s) {
  s.zeit = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.datei = static_cast<quint64>(st.st_ino) ^ (static_cast<quint64>(st.st_dev) << 40);
}

// Where the end part of a long file begins, by the size the file's attributes give.
off_t Endteil_ab(off_t größe) { return std::max<off_t>(kGanzGelesen, größe - kEndeGelesen); }

// Bytes `von` to `bis` of the content made of `a` followed by `b`.
QByteArray Ausschnitt(const QByteArray& a, const QByteArray& b, qsizetype von, qsizetype bis) {
  QByteArray r;
  r.reserve(bis - von);
  if (von < a.size()) r.append(a.constData() + von, std::min(bis, a.size()) - von);
  if (bis > a.size()) {
    const qsizetype v = std::max(von, a.size()) - a.size();
    r.append(b.constData() + v, bis - a.size() - v);
  }
  return r;
}

// The stamp's bytes of a whole content (`a` followed by `b`, so that a writer that
// appended need not join them), as Datei_stempeln reads them from the file.
void Aus_ganzem_Inhalt_stempeln(const QByteArray& a, const QByteArray& b, off_t attributgröße, Monatsstand& s) {
  const qsizetype n = a.size() + b.size();
  if (n < kGanzGelesen) {
    Hash_setzen(s, Ausschnitt(a, b, 0, n), n);
    return;
  }
  const off_t ab = Endteil_ab(attributgröße);
  QByteArray teile = Ausschnitt(a, b, 0, kGanzGelesen);
  if (ab < n) teile += Ausschnitt(a, b, ab, n);
  Hash_setzen(s, teile, ab + (ab < n ? n - ab : 0));
}

// Time, size, identity and content hash of an open version.
void Datei_stempeln(int fd, Monatsstand& s) {
  struct stat st {};
  if (!Attribute_vom_Server(fd, &st)) return;
  Zeit_und_Identität(st, s);
  // A month as a rewrite leaves it (one line per employee) is hashed whole; a longer one,
  // grown by appends, by its beginning and its end, so a save costs no read of all of
  // it. Read to the end, whatever size the share's attributes say.
  QByteArray inhalt = Lesen_bis(fd, kGanzGelesen);
  qint64 größe = inhalt.size();
  if (größe == kGanzGelesen) {
    const off_t ab = Endteil_ab(st.st_size);
    if (::lseek(fd, ab, SEEK_SET) == ab) {
      const QByteArray ende = Lesen_bis(fd, -1);
      inhalt += ende;
      größe = ab + ende.size();
    }
  }
  Hash_setzen(s, inhalt, größe);
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
  Monatsstand_nach_eigenem_Schreiben(monatsschlüssel, vorher, Monatsstand{});
}

void Monatsstand_nach_eigenem_Schreiben(const QString& monatsschlüssel, const Monatsstand& vorher,
                                        const Monatsstand& nachher) {
  // The stamp of another month than the one written stays as it is.
  if (gMonatsdateiStand.bekannt && gMonatsdateiStand.schlüssel != monatsschlüssel) return;
  if (vorher == gMonatsdateiStand)
    gMonatsdateiStand = nachher.bekannt ? nachher : Monatsstand_lesen(monatsschlüssel);
  else
    Monatsstand_verwerfen();
}

bool Monatsstand_der_Version(const QString& monatsschlüssel, const QString& name, Monatsstand& s, QByteArray* inhalt) {
  s = Monatsstand{};
  s.schlüssel = monatsschlüssel;
  s.bekannt = true;
  s.name = name;
  if (name.isEmpty()) return true;
  const int fd = ::open(QFile::encodeName(gDatenordner + name).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  if (!inhalt) {
    Datei_stempeln(fd, s);
  } else {
    struct stat st {};
    if (Attribute_vom_Server(fd, &st)) {
      Zeit_und_Identität(st, s);
      // A version that cannot be read whole counts as not opened: the caller then
      // reads it through the channel, which reports the failure.
      if (!Ganz_lesen(fd, st.st_size, *inhalt)) {
        ::close(fd);
        s = Monatsstand{};
        return false;
      }
      Aus_ganzem_Inhalt_stempeln(*inhalt, {}, st.st_size, s);
    }
  }
  ::close(fd);
  return true;
}

bool Monatsstand_aus_Gelesenem(const QString& monatsschlüssel, const QString& name, Monatsstand& s) {
  const Gelesene_Datei& g = Zuletzt_gelesen();
  if (name.isEmpty() || g.pfad != gDatenordner + name) return false;
  s = Monatsstand{};
  s.schlüssel = monatsschlüssel;
  s.bekannt = true;
  s.name = name;
  s.zeit = g.zeit;
  s.datei = g.inode ^ (g.gerät << 40);
  Aus_ganzem_Inhalt_stempeln(g.inhalt, {}, static_cast<off_t>(g.größe), s);
  return true;
}

bool Monatsstand_aus_Inhalt(const QString& monatsschlüssel, const QString& name, const QByteArray& inhalt,
                            Monatsstand& s, const QByteArray& angehängt) {
  struct stat st {};
  if (::stat(QFile::encodeName(gDatenordner + name).constData(), &st) != 0 ||
      st.st_size != inhalt.size() + angehängt.size())
    return false;
  s = Monatsstand{};
  s.schlüssel = monatsschlüssel;
  s.bekannt = true;
  s.name = name;
  Zeit_und_Identität(st, s);
  Aus_ganzem_Inhalt_stempeln(inhalt, angehängt, st.st_size, s);
  return true;
}

void Mitarbeiterdaten_vor_Umschreiben_prüfen() {
  const QString pfad = gDatenordner + QStringLiteral("Mitarbeiterdaten.dat");
  // No file: the table was set up without one and nothing newer can be read. One look
  // at the file gives both.
  const QFileInfo fi(pfad);
  if (!fi.exists() || !fi.isFile()) return;
  if (fi.lastModified() == gMitarbeiterdatenZeit) return;
  Mitarbeiterdaten_lesen();
}
