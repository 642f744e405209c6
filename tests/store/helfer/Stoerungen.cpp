// Loaded with LD_PRELOAD into a helper process of the multi-workstation tests, to give
// it what a workstation of a real network can have:
//
//   VELKORA_UHRVERSATZ=<seconds>   its wall clock runs that far ahead (file times, which
//                                  the file system sets, do not);
//   VELKORA_SPERRE_FEHLER=voll     writing a lock file ("*.vklock") fails: disk full;
//   VELKORA_SPERRE_FEHLER=rechte   creating a lock file fails: no rights;
//   VELKORA_SPERRE_FEHLER=eperm    creating a lock file that exists fails with EPERM
//                                  instead of EEXIST (a share's answer to a lost race).
//
// and a share whose folder listings and file attributes are cached: for the first
// VELKORA_LISTE_BIS listings (all when unset) of the folder VELKORA_LISTE_ORDNER,
//   VELKORA_LISTE_ALT=<name>       a file gone is still listed and its attributes still
//                                  read, but opening it fails (ENOENT);
//   VELKORA_LISTE_OHNE=<name>      a file there is missing from the listing.
//
// and a slow network:
//   VELKORA_LANGSAM=<ms>           every sync of a file (fsync, fdatasync) takes that
//                                  many milliseconds longer;
//
// and a workstation that dies in the middle of its work:
//   VELKORA_TOT_NACH=<n>           the process kills itself (SIGKILL) instead of making
//                                  its n-th file change (write, rename, link, unlink).
//
// and a file that goes away under a writer (another workstation deleted it, or wrote
// it afresh under a newer name) between the writer's look at it and its opening:
//   VELKORA_WEG_BEIM_SCHREIBEN=<name>  the first opening for writing of the file so
//                                      named is preceded by its removal, and
//                                      "Stoerung: <name> weg" goes to stderr;
//   VELKORA_WEG_NACH=<name>            it is renamed to that name instead.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

long Versatz() {
  static const long v = [] {
    const char* e = std::getenv("VELKORA_UHRVERSATZ");
    return e ? std::atol(e) : 0L;
  }();
  return v;
}

const char* Fehler() {
  static const char* f = std::getenv("VELKORA_SPERRE_FEHLER");
  return f ? f : "";
}

bool Sperrdatei(const char* pfad) {
  const size_t n = pfad ? std::strlen(pfad) : 0;
  return n >= 7 && std::strcmp(pfad + n - 7, ".vklock") == 0;
}

bool Sperrdatei_fd(int fd) {
  char link[64];
  char ziel[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, ziel, sizeof ziel - 1);
  if (n <= 0) return false;
  ziel[n] = 0;
  return Sperrdatei(ziel);
}

template <class F>
F Original(const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

const char* Umgebung(const char* name) {
  const char* e = std::getenv(name);
  return e && *e ? e : nullptr;
}

// Listings of the cached folder so far.
int sListungen = 0;

bool Zwischengespeichert() {
  const char* bis = Umgebung("VELKORA_LISTE_BIS");
  return !bis || sListungen <= std::atoi(bis);
}

const char* Name_von(const char* pfad) {
  const char* s = pfad ? std::strrchr(pfad, '/') : nullptr;
  return s ? s + 1 : pfad;
}

// Whether a path names the file the cached listing still shows although it is gone.
bool Alt(const char* pfad) {
  const char* alt = Umgebung("VELKORA_LISTE_ALT");
  return alt && pfad && Zwischengespeichert() && std::strcmp(Name_von(pfad), alt) == 0;
}

// VELKORA_WEG_BEIM_SCHREIBEN: removes (or renames) the file before its first opening
// for writing.
void Weg_vor_dem_Schreiben(const char* pfad, int flags) {
  static bool geschehen = false;
  const char* weg = Umgebung("VELKORA_WEG_BEIM_SCHREIBEN");
  if (geschehen || !weg || !pfad || (flags & O_ACCMODE) == O_RDONLY || std::strcmp(Name_von(pfad), weg) != 0) return;
  geschehen = true;
  const int alt = errno;
  if (const char* nach = Umgebung("VELKORA_WEG_NACH")) {
    char ziel[4096];
    const size_t ordner = static_cast<size_t>(Name_von(pfad) - pfad);
    std::snprintf(ziel, sizeof ziel, "%.*s%s", static_cast<int>(ordner), pfad, nach);
    static auto umbenennen = Original<int (*)(const char*, const char*)>("rename");
    umbenennen(pfad, ziel);
  } else {
    static auto löschen = Original<int (*)(const char*)>("unlink");
    löschen(pfad);
  }
  std::fprintf(stderr, "Stoerung: %s weg\n", weg);
  errno = alt;
}

int Öffnen(const char* name, const char* pfad, int flags, mode_t mode) {
  using Open = int (*)(const char*, int, ...);
  static Open open_ = Original<Open>("open");
  static Open open64_ = Original<Open>("open64");
  Weg_vor_dem_Schreiben(pfad, flags);
  if ((flags & O_CREAT) && std::strcmp(Fehler(), "rechte") == 0 && Sperrdatei(pfad)) {
    errno = EACCES;
    return -1;
  }
  if (Alt(pfad) && !(flags & O_CREAT)) {
    errno = ENOENT;
    return -1;
  }
  const int fd = (std::strcmp(name, "open64") == 0 ? open64_ : open_)(pfad, flags, mode);
  if (fd < 0 && errno == EEXIST && std::strcmp(Fehler(), "eperm") == 0 && Sperrdatei(pfad)) errno = EPERM;
  return fd;
}

// The listing being read of the cached folder, and whether it has given the file
// that is gone yet.
DIR* sListe = nullptr;
bool sAltGegeben = false;

template <class Eintrag>
Eintrag* Eintrag_lesen(DIR* d, Eintrag* (*original)(DIR*)) {
  for (;;) {
    Eintrag* e = original(d);
    if (d != sListe || !Zwischengespeichert()) return e;
    if (!e) {
      const char* alt = Umgebung("VELKORA_LISTE_ALT");
      if (!alt || sAltGegeben) return nullptr;
      sAltGegeben = true;
      static Eintrag eintrag;
      std::memset(&eintrag, 0, sizeof eintrag);
      std::snprintf(eintrag.d_name, sizeof eintrag.d_name, "%s", alt);
      eintrag.d_type = DT_REG;
      eintrag.d_ino = 4711;
      eintrag.d_reclen = sizeof eintrag;
      return &eintrag;
    }
    const char* ohne = Umgebung("VELKORA_LISTE_OHNE");
    if (ohne && std::strcmp(e->d_name, ohne) == 0) continue;
    const char* alt = Umgebung("VELKORA_LISTE_ALT");
    if (alt && std::strcmp(e->d_name, alt) == 0) continue;
    return e;
  }
}

bool Gecachter_Ordner(const char* pfad) {
  const char* ordner = Umgebung("VELKORA_LISTE_ORDNER");
  if (!ordner || !pfad) return false;
  size_t n = std::strlen(ordner);
  while (n > 1 && ordner[n - 1] == '/') --n;
  size_t m = std::strlen(pfad);
  while (m > 1 && pfad[m - 1] == '/') --m;
  return n == m && std::strncmp(ordner, pfad, n) == 0;
}

// Attributes of the file that is gone, as the cache still has them.
int Alte_Attribute(struct stat* st) {
  std::memset(st, 0, sizeof *st);
  st->st_mode = S_IFREG | 0644;
  st->st_nlink = 1;
  st->st_size = 64;
  st->st_ino = 4711;
  st->st_mtime = ::time(nullptr);
  return 0;
}

// Counts one file change; the one named by VELKORA_TOT_NACH is never made.
void Änderung() {
  static const long tot = [] {
    const char* e = std::getenv("VELKORA_TOT_NACH");
    return e ? std::atol(e) : 0L;
  }();
  static long n = 0;
  if (tot > 0 && ++n >= tot) ::raise(SIGKILL);
}

// The wait of a slow network after a sync (VELKORA_LANGSAM).
void Langsam() {
  static const long ms = [] {
    const char* e = std::getenv("VELKORA_LANGSAM");
    return e ? std::atol(e) : 0L;
  }();
  if (ms > 0) ::usleep(static_cast<useconds_t>(ms) * 1000);
}

}  // namespace

extern "C" {

int rename(const char* alt, const char* neu) {
  static auto f = Original<int (*)(const char*, const char*)>("rename");
  Änderung();
  return f(alt, neu);
}

int link(const char* alt, const char* neu) {
  static auto f = Original<int (*)(const char*, const char*)>("link");
  Änderung();
  return f(alt, neu);
}

int unlink(const char* pfad) {
  static auto f = Original<int (*)(const char*)>("unlink");
  Änderung();
  return f(pfad);
}

int fsync(int fd) {
  static auto f = Original<int (*)(int)>("fsync");
  const int r = f(fd);
  Langsam();
  return r;
}

int fdatasync(int fd) {
  static auto f = Original<int (*)(int)>("fdatasync");
  const int r = f(fd);
  Langsam();
  return r;
}

int clock_gettime(clockid_t uhr, struct timespec* ts) {
  using F = int (*)(clockid_t, struct timespec*);
  static F f = Original<F>("clock_gettime");
  const int r = f(uhr, ts);
  if (r == 0 && (uhr == CLOCK_REALTIME || uhr == CLOCK_REALTIME_COARSE)) ts->tv_sec += Versatz();
  return r;
}

int gettimeofday(struct timeval* tv, void* tz) {
  using F = int (*)(struct timeval*, void*);
  static F f = Original<F>("gettimeofday");
  const int r = f(tv, tz);
  if (r == 0) tv->tv_sec += Versatz();
  return r;
}

time_t time(time_t* t) {
  struct timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  if (t) *t = ts.tv_sec;
  return ts.tv_sec;
}

int open(const char* pfad, int flags, ...) {
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list a;
    va_start(a, flags);
    mode = static_cast<mode_t>(va_arg(a, int));
    va_end(a);
  }
  return Öffnen("open", pfad, flags, mode);
}

int open64(const char* pfad, int flags, ...) {
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list a;
    va_start(a, flags);
    mode = static_cast<mode_t>(va_arg(a, int));
    va_end(a);
  }
  return Öffnen("open64", pfad, flags, mode);
}

DIR* opendir(const char* pfad) {
  using F = DIR* (*)(const char*);
  static F f = Original<F>("opendir");
  DIR* d = f(pfad);
  if (d && Gecachter_Ordner(pfad)) {
    ++sListungen;
    sListe = d;
    sAltGegeben = false;
  }
  return d;
}

int closedir(DIR* d) {
  using F = int (*)(DIR*);
  static F f = Original<F>("closedir");
  if (d == sListe) sListe = nullptr;
  return f(d);
}

struct dirent* readdir(DIR* d) {
  static auto f = Original<struct dirent* (*)(DIR*)>("readdir");
  return Eintrag_lesen(d, f);
}

struct dirent64* readdir64(DIR* d) {
  static auto f = Original<struct dirent64* (*)(DIR*)>("readdir64");
  return Eintrag_lesen(d, f);
}

int stat(const char* pfad, struct stat* st) {
  static auto f = Original<int (*)(const char*, struct stat*)>("stat");
  return Alt(pfad) ? Alte_Attribute(st) : f(pfad, st);
}

int lstat(const char* pfad, struct stat* st) {
  static auto f = Original<int (*)(const char*, struct stat*)>("lstat");
  return Alt(pfad) ? Alte_Attribute(st) : f(pfad, st);
}

int statx(int dirfd, const char* pfad, int flags, unsigned int maske, struct statx* st) {
  static auto f = Original<int (*)(int, const char*, int, unsigned int, struct statx*)>("statx");
  if (Alt(pfad)) {
    std::memset(st, 0, sizeof *st);
    st->stx_mask = STATX_BASIC_STATS;
    st->stx_mode = S_IFREG | 0644;
    st->stx_nlink = 1;
    st->stx_size = 64;
    st->stx_ino = 4711;
    st->stx_mtime.tv_sec = ::time(nullptr);
    return 0;
  }
  return f(dirfd, pfad, flags, maske, st);
}

ssize_t write(int fd, const void* daten, size_t n) {
  using F = ssize_t (*)(int, const void*, size_t);
  static F f = Original<F>("write");
  Änderung();
  if (std::strcmp(Fehler(), "voll") == 0 && Sperrdatei_fd(fd)) {
    errno = ENOSPC;
    return -1;
  }
  return f(fd, daten, n);
}
}
