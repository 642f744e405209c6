// Sixteen workstations, as separate processes, saving into one month at the same time,
// each on its own system date, so that nearly every save writes the month afresh. A
// save that does not get the month lock within its wait is refused (with the message,
// nothing lost); the counters give how many were refused.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace {

QString Helfer() { return QStringLiteral(VELKORA_BIN_DIR "/velkora_monatsdatei_helfer"); }

}  // namespace

static void BM_Monat_umschreiben_16_Arbeitsplaetze(benchmark::State& state) {
  const int prozesse = static_cast<int>(state.range(0));
  const int speicherungen = static_cast<int>(state.range(1));
  if (!QFileInfo::exists(Helfer())) {
    state.SkipWithError("velkora_monatsdatei_helfer is not built");
    return;
  }
  long abgelehnt = 0, gesamt = 0;
  for (auto _ : state) {
    QTemporaryDir tmp;
    const QString ordner = tmp.path() + QStringLiteral("/Data/");
    QDir().mkpath(ordner);
    std::vector<std::unique_ptr<QProcess>> ps;
    for (int i = 0; i < prozesse; ++i) {
      auto p = std::make_unique<QProcess>();
      p->start(Helfer(), {ordner, QStringLiteral("umschreiben"), QString::number(i), QString::number(prozesse),
                          QString::number(speicherungen), QStringLiteral("2603%1").arg(10 + i, 2, 10, QChar(u'0'))});
      p->waitForStarted(10000);
      ps.push_back(std::move(p));
    }
    for (auto& p : ps) {
      p->waitForFinished(-1);
      const QList<QByteArray> w = p->readAllStandardOutput().trimmed().split(' ');
      if (p->exitCode() != 0 || w.size() != 3 || w[0] != "abgelehnt") {
        state.SkipWithError("a workstation failed");
        return;
      }
      abgelehnt += w[1].toLong();
      gesamt += w[2].toLong();
    }
  }
  state.counters["Speicherungen"] = static_cast<double>(gesamt);
  state.counters["abgelehnt"] = static_cast<double>(abgelehnt);
  state.counters["abgelehnt_Prozent"] = gesamt > 0 ? 100.0 * static_cast<double>(abgelehnt) / gesamt : 0.0;
}
BENCHMARK(BM_Monat_umschreiben_16_Arbeitsplaetze)
    ->Args({16, 200})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
