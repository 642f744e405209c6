#include "platform/Uhr.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QThread>
#include <cmath>
#include <random>

namespace uhr {
namespace {

std::mt19937& generator() {
  static std::mt19937 g(std::random_device{}());
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
  q.zufall = [] { return std::uniform_real_distribution<double>(0.0, 1.0)(generator()); };
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
