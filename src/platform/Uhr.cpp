#include "platform/Uhr.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QThread>
#include <cmath>
#include <random>

namespace uhr {
namespace {

// SplitMix64: one step per draw, which matters where a key is drawn for every line
// of a month that is written; the draws only need to be spread, not unguessable.
struct Generator {
  quint64 zustand = 0;
  void seed(quint64 saat) { zustand = saat; }
  quint64 operator()() {
    quint64 z = (zustand += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
};

Generator& generator() {
  static Generator g = [] {
    Generator n;
    std::random_device quelle;
    n.seed((static_cast<quint64>(quelle()) << 32) ^ quelle());
    return n;
  }();
  return g;
}

Quellen standard() {
  Quellen q;
  q.heute = [] { return QDate::currentDate(); };
  q.zeit = [] { return QTime::currentTime(); };
  q.monoton = [] {
    static QElapsedTimer t = [] {
      QElapsedTimer e;
      e.start();
      return e;
    }();
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
  };
  q.schlafen = [](double s) {
    if (s > 0) QThread::msleep(static_cast<unsigned long>(std::lround(s * 1000.0)));
  };
  // The upper 53 bits as a fraction: uniform in [0, 1).
  q.zufall = [] { return static_cast<double>(generator()() >> 11) * 0x1.0p-53; };
  return q;
}

Quellen& aktiv() {
  static Quellen q = standard();
  return q;
}

}  // namespace

void setze(const Quellen& q) {
  auto& a = aktiv();
  if (q.heute) a.heute = q.heute;
  if (q.zeit) a.zeit = q.zeit;
  if (q.monoton) a.monoton = q.monoton;
  if (q.schlafen) a.schlafen = q.schlafen;
  if (q.zufall) a.zufall = q.zufall;
}

void zurücksetzen() { aktiv() = standard(); }

QDate heute() { return aktiv().heute(); }
QTime zeit() { return aktiv().zeit(); }
double monoton() { return aktiv().monoton(); }
void schlafen(double s) { aktiv().schlafen(s); }
double zufall() {
  const double r = aktiv().zufall();
  return (r >= 0.0 && r < 1.0) ? r : 0.0;
}
void säen(unsigned saat) { generator().seed(saat); }

void Testuhr::einsetzen() {
  Quellen q;
  q.heute = [this] { return datum; };
  q.zeit = [this] { return uhrzeit; };
  q.monoton = [this] { return sekunden; };
  q.schlafen = [this](double s) {
    schlafprotokoll.push_back(s);
    if (s > 0) sekunden += s;
  };
  setze(q);
}

}  // namespace uhr
