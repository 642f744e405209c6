#pragma once
// The writes of a month as the data folder sees them: every write of a month takes the
// month's lock file, created anew for each one, so the folder's creations of that file
// count the writes, whatever path inside the program made them.
#include <sys/inotify.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <utility>

#include "store/Monatsdatei.h"

class Schreibvorgänge {
 public:
  explicit Schreibvorgänge(const QString& monatsschlüssel)
      : mName(QFileInfo(Monatssperre_Datei(monatsschlüssel)).fileName()), mFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    const QString ordner = QFileInfo(Monatssperre_Datei(monatsschlüssel)).absolutePath();
    // The removals too: the kernel folds equal events that follow each other unread,
    // and between two writes the lock goes.
    inotify_add_watch(mFd, QFile::encodeName(ordner).constData(), IN_CREATE | IN_DELETE | IN_MOVED_FROM);
  }
  ~Schreibvorgänge() { ::close(mFd); }
  Schreibvorgänge(const Schreibvorgänge&) = delete;
  Schreibvorgänge& operator=(const Schreibvorgänge&) = delete;

  // The writes since the last call (or since the start).
  int zählen() {
    alignas(inotify_event) char puffer[8192];
    for (;;) {
      const ssize_t n = ::read(mFd, puffer, sizeof puffer);
      if (n <= 0) break;
      for (ssize_t i = 0; i < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(puffer + i);
        if ((e->mask & IN_CREATE) && e->len > 0 && QFile::decodeName(e->name) == mName) ++mAnzahl;
        i += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      }
    }
    return std::exchange(mAnzahl, 0);
  }

 private:
  QString mName;
  int mFd;
  int mAnzahl = 0;
};
