// Sixteen workstations, as separate processes, saving into one month at the same time,
// each on its own system date, so that nearly every save writes the month afresh. A
// save that does not get the month lock within its wait is refused (with the message,
// nothing lost); the counters give how many were refused. The month holds the lines of
// the writers' own employees, or of 1,000 employees besides.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "startup/Dateizugriff.h"
#include "startup/Zeilencodierung.h"

namespace {

QString Helfer() { return QStringLiteral(VELKORA_BIN_DIR "/velkora_monatsdatei_helfer"); }

// The month as one version with a line for each of n further employees.
void Monat_füllen(const QString& ordner, int n) {
  FOpen(ordner + QStringLiteral("2603 260301 Data.dat"), QStringLiteral("Output"));
  LineOut(QStringLiteral("[2603]"));
  LineOut(QStringLiteral("Kennung"));
  LineOut(QStringLiteral("NoEx:NoEx"));
  for (int i = 0; i < n; ++i)
    LineOut(QStringLiteral("A:m%1:").arg(i) + QStringLiteral("1 2 3 4 5").leftJustified(31, u' '));
  FClose();
}

}  // namespace

static void BM_Monat_umschreiben_16_Arbeitsplaetze(benchmark::State& state) {
  const int prozesse = static_cast<int>(state.range(0));
  const int speicherungen = static_cast<int>(state.range(1));
  const int mitarbeiter = static_cast<int>(state.range(2));
  if (!QFileInfo::exists(Helfer())) {
    state.SkipWithError("velkora_monatsdatei_helfer is not built");
    return;
  }
  long abgelehnt = 0, gesamt = 0;
  for (auto _ : state) {
    QTemporaryDir tmp;
    const QString ordner = tmp.path() + QStringLiteral("/Data/");
    QDir().mkpath(ordner);
    Monat_füllen(ordner, mitarbeiter);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELKORA_MITARBEITER"), QString::number(mitarbeiter));
    std::vector<std::unique_ptr<QProcess>> ps;
    for (int i = 0; i < prozesse; ++i) {
      auto p = std::make_unique<QProcess>();
      p->setProcessEnvironment(env);
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
    ->Args({16, 200, 0})
    ->Args({16, 200, 1000})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
