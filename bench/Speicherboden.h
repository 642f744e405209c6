#pragma once
// The floor of a save from the grid, measured beside it in the same run: the syncs the
// save makes, each of a file of the same size in the same folder (an append of one
// line to a file of the month's size and to one of the logbook's, or a whole new file
// of the month's size renamed over another).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

struct Speicherboden {
  QByteArray zeile = QByteArray(52, 'x') + "\r\n";
  QByteArray monatsinhalt;
  QString monat, logbuch, neu;

  // Files beside the month in `ordner`, as large as the month (`monatsinhalt`) and
  // its logbook.
  Speicherboden(const QString& ordner, const QByteArray& inhalt) : monatsinhalt(inhalt) {
    monat = ordner + QStringLiteral("boden-monat.bin");
    logbuch = ordner + QStringLiteral("boden-logbuch.bin");
    neu = ordner + QStringLiteral("boden-neu.bin");
    for (const QString& p : {monat, logbuch}) {
      QFile f(p);
      f.open(QIODevice::WriteOnly);
      f.write(p == monat ? monatsinhalt : QByteArray(200 * 60, 'x'));
      f.flush();
      ::fdatasync(f.handle());
    }
  }
  // One line appended and synced.
  void anhängen(const QString& pfad) const {
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    (void)!::write(fd, zeile.constData(), static_cast<size_t>(zeile.size()));
    ::fdatasync(fd);
    ::close(fd);
  }
  // A new file of the month's size, synced and renamed over another.
  void neu_schreiben() const {
    const QByteArray z = QFile::encodeName(neu + QStringLiteral(".tmp"));
    const int fd = ::open(z.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    (void)!::write(fd, monatsinhalt.constData(), static_cast<size_t>(monatsinhalt.size()));
    ::fdatasync(fd);
    ::close(fd);
    ::rename(z.constData(), QFile::encodeName(neu).constData());
  }
};

inline double Sekunden_seit(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The save and its floor in turns, so that both see the same load of the machine; the
// time is the save's, the counters give the floor, the ratio and the difference.
// `vorbereiten` runs before each save, untimed.
inline void Mit_Boden_messen(benchmark::State& state, const Speicherboden& b, const std::function<void()>& vorbereiten,
                             const std::function<void(int)>& speichern,
                             const std::function<void(const Speicherboden&)>& boden) {
  double zeit = 0, bodenzeit = 0;
  int j = 0;
  for (auto _ : state) {
    vorbereiten();
    auto t0 = std::chrono::steady_clock::now();
    speichern(j++);
    const double t = Sekunden_seit(t0);
    zeit += t;
    state.SetIterationTime(t);
    t0 = std::chrono::steady_clock::now();
    boden(b);
    bodenzeit += Sekunden_seit(t0);
  }
  const double n = std::max<double>(1, static_cast<double>(state.iterations()));
  state.counters["Boden_ms"] = 1000.0 * bodenzeit / n;
  state.counters["Faktor"] = bodenzeit > 0 ? zeit / bodenzeit : 0.0;
  // The save's own work beyond its syncs: what a slower disk would add its syncs to.
  state.counters["Eigen_ms"] = 1000.0 * (zeit - bodenzeit) / n;
}

inline double Kleinstes(const std::vector<double>& v) {
  return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}
