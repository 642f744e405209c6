// Loaded with LD_PRELOAD into a helper process of the multi-workstation tests, to give
// it what a workstation of a real network can have:
//
//   VELKORA_UHRVERSATZ=<seconds>   its wall clock runs that far ahead (file times, which
//                                  the file system sets, do not);
//   VELKORA_SPERRE_FEHLER=voll     writing a lock file ("*.vklock") fails: disk full;
//   VELKORA_SPERRE_FEHLER=rechte   creating a lock file fails: no rights.
#include <dlfcn.h>
#include <fcntl.h>
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

int Öffnen(const char* name, const char* pfad, int flags, mode_t mode) {
  using Open = int (*)(const char*, int, ...);
  static Open open_ = Original<Open>("open");
  static Open open64_ = Original<Open>("open64");
  if ((flags & O_CREAT) && std::strcmp(Fehler(), "rechte") == 0 && Sperrdatei(pfad)) {
    errno = EACCES;
    return -1;
  }
  return (std::strcmp(name, "open64") == 0 ? open64_ : open_)(pfad, flags, mode);
}

}  // namespace

extern "C" {

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

ssize_t write(int fd, const void* daten, size_t n) {
  using F = ssize_t (*)(int, const void*, size_t);
  static F f = Original<F>("write");
  if (std::strcmp(Fehler(), "voll") == 0 && Sperrdatei_fd(fd)) {
    errno = ENOSPC;
    return -1;
  }
  return f(fd, daten, n);
}
}
