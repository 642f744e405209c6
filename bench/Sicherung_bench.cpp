// The daily backup of the large data folder (36 month files of 1,000 employees) that
// the first start of a day makes, beside its floor: a plain copy of the same files
// into one file, synced as the backup is.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Grossbestand.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Sicherung.h"

namespace {

struct Sicherungsordner {
  QTemporaryDir tmp;
  QString daten, sicherung, log;
  Sicherungsordner() {
    daten = tmp.path() + QStringLiteral("/Daten/");
    sicherung = tmp.path() + QStringLiteral("/Backup/");
    log = tmp.path() + QStringLiteral("/Log/");
    for (const QString& o : {daten, sicherung, log}) QDir().mkpath(o);
    Großbestand_einrichten();
    Großmonate_schreiben(daten);
  }
};

Sicherungsordner& Ordner() {
  static Sicherungsordner d;
  Großbestand_einrichten();
  gDatenordner = d.daten;
  gSicherungsordner = d.sicherung;
  gLogordner = d.log;
  return d;
}

}  // namespace

static void BM_Tagesbackup_36_Monate(benchmark::State& state) {
  Ordner();
  for (auto _ : state) benchmark::DoNotOptimize(Backup_erstellen(QStringLiteral("T")));
  state.counters["kB"] = static_cast<double>(Dateigröße(gSicherungsordner + gSicherungsdatei) / 1024);
}
BENCHMARK(BM_Tagesbackup_36_Monate)->Unit(benchmark::kMillisecond);

static void BM_Boden_Kopie_der_36_Monate(benchmark::State& state) {
  const Sicherungsordner& d = Ordner();
  const QStringList namen = QDir(d.daten).entryList({QStringLiteral("*.dat")}, QDir::Files);
  for (auto _ : state) {
    QByteArray alles;
    for (const QString& n : namen) {
      QFile f(d.daten + n);
      f.open(QIODevice::ReadOnly);
      alles += f.readAll();
    }
    QFile ziel(d.sicherung + QStringLiteral("Kopie.tmp"));
    ziel.open(QIODevice::WriteOnly | QIODevice::Truncate);
    ziel.write(alles);
    ziel.flush();
    benchmark::DoNotOptimize(::fdatasync(ziel.handle()));
  }
}
BENCHMARK(BM_Boden_Kopie_der_36_Monate)->Unit(benchmark::kMillisecond);
