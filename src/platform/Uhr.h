#pragma once
// Today, the clock, waits and the random source of the line encoding, all
// replaceable by tests. Elapsed times and waits use a monotonic clock, never seconds
// since midnight, so a wait across midnight cannot freeze the program.
#include <QDate>
#include <QTime>
#include <functional>

namespace uhr {

struct Quellen {
  std::function<QDate()> heute;          // the system's date
  std::function<QTime()> zeit;           // the wall-clock time of day
  std::function<double()> monoton;       // seconds on a monotonic clock
  std::function<void(double)> schlafen;  // blocks for so many seconds
  std::function<double()> zufall;        // uniform in [0, 1)
};

// Replaces the sources that are set in q; the others stay.
void setze(const Quellen& q);
// Back to the machine's clock and a freshly seeded random source.
void zurücksetzen();

QDate heute();
QTime zeit();
double monoton();
void schlafen(double sekunden);
double zufall();
// Seeds the default random source (the start seeds it from the clock).
void säen(unsigned saat);

// A controllable clock for tests: sleeping advances the monotonic time, nothing blocks.
struct Testuhr {
  QDate datum{2026, 3, 10};
  QTime uhrzeit{9, 30, 0};
  double sekunden = 1000.0;
  std::vector<double> schlafprotokoll;
  void einsetzen();
};

}  // namespace uhr
