// Saving one line of a month of 1,000 employees: an append to today's version, and
// the first save of a day, which writes the month afresh from the newest version; and
// a save as the grid makes it, the appended line and its logbook line each synced to
// the disk. The folder lies below the working directory, not in a temporary folder
// that may live in memory, so that the syncs cost what they cost on a disk.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Grossbestand.h"
#include "planner/Monatsspeicher.h"
#include "startup/Logbuch.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {

// A data folder holding month 2603 of the large data folder.
struct Monatsordner {
  QTemporaryDir tmp{QDir::currentPath() + QStringLiteral("/velkora-bench-XXXXXX")};
  QByteArray inhalt;
  Monatsordner() {
    gDatenordner = tmp.path() + u'/';
    gLogordner = gDatenordner;
    Großbestand_einrichten();
    gSettings = Standardeinstellungen();
    gKennzeile = QStringLiteral("Kennung");
    gMonatsschlüssel = QStringLiteral("2603");
    inhalt = Großmonat(QStringLiteral("2603"));
  }
  // Puts the month back as one version written on the given day.
  void zurücksetzen(const QString& tag) {
    for (const QString& t : {QStringLiteral("260309"), QStringLiteral("260310")})
      QFile::remove(gDatenordner + QStringLiteral("2603 ") + t + QStringLiteral(" Data.dat"));
    QFile f(gDatenordner + QStringLiteral("2603 ") + tag + QStringLiteral(" Data.dat"));
    f.open(QIODevice::WriteOnly);
    f.write(inhalt);
  }
};

Monatsordner& Ordner() {
  static Monatsordner o;
  return o;
}

}  // namespace

static void BM_Datensatz_speichern_anhaengen(benchmark::State& state) {
  Monatsordner& o = Ordner();
  o.zurücksetzen(QStringLiteral("260310"));
  int j = 0;
  for (auto _ : state) {
    const QString codes = QString(31, u' ').replace(j % 31, 1, u'2');
    benchmark::DoNotOptimize(Datensatz_speichern(QStringLiteral("A:benutzer%1:").arg(j % kMitarbeiter) + codes));
    ++j;
  }
}
BENCHMARK(BM_Datensatz_speichern_anhaengen)->Unit(benchmark::kMillisecond);

static void BM_Datensatz_speichern_erstes_des_Tages(benchmark::State& state) {
  Monatsordner& o = Ordner();
  int j = 0;
  for (auto _ : state) {
    state.PauseTiming();
    o.zurücksetzen(QStringLiteral("260309"));  // the newest version is yesterday's
    state.ResumeTiming();
    benchmark::DoNotOptimize(
        Datensatz_speichern(QStringLiteral("A:benutzer%1:").arg(j % kMitarbeiter) + QString(31, u'3')));
    ++j;
  }
}
BENCHMARK(BM_Datensatz_speichern_erstes_des_Tages)->Unit(benchmark::kMillisecond);

static void BM_Datensatz_speichern_mit_Logbuchzeile(benchmark::State& state) {
  Monatsordner& o = Ordner();
  o.zurücksetzen(QStringLiteral("260310"));
  int j = 0;
  for (auto _ : state) {
    const QString benutzer = QStringLiteral("benutzer%1").arg(j % kMitarbeiter);
    const QString codes = QString(31, u' ').replace(j % 31, 1, u'2');
    benchmark::DoNotOptimize(Datensatz_speichern(QStringLiteral("A:") + benutzer + u':' + codes));
    Logbuch_ergänzen(1, QStringLiteral("Eingabe ") + benutzer + QStringLiteral(" 2603"));
    ++j;
  }
}
BENCHMARK(BM_Datensatz_speichern_mit_Logbuchzeile)->Unit(benchmark::kMillisecond);
