// A cold start of an organisation of 1,000 employees with 36 months of entries, from
// the start sequence to the first month shown in the main window, including the daily
// backup of the data folder that the first start of a day makes. Runs the program's
// start in this process on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Programmlauf.h"
#include "planner/frmVelkora.h"
#include "startup/Dateizugriff.h"
#include "store/Feiertage.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "widgets/Rasteransicht.h"

namespace {

constexpr int kMitarbeiter = 1000;

bool Kopieren(const QString& von, const QString& nach) {
  QDir().mkpath(nach);
  const QDir d(von);
  for (const QFileInfo& i : d.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
    const QString ziel = nach + u'/' + i.fileName();
    if (i.isDir() ? !Kopieren(i.filePath(), ziel) : !QFile::copy(i.filePath(), ziel)) return false;
  }
  return true;
}

// A data folder made by a first start on 1 March 2026 (with the month's backup), then
// filled with 1,000 employees in two groups and, in each of the 36 months, an entry
// line for every employee and a comment for every tenth.
struct Vorlage {
  QTemporaryDir tmp;
  QString basis;
  bool ok = false;
  Vorlage() {
    basis = tmp.path() + u'/';
    QDir().mkpath(basis + QStringLiteral("Programm"));
    QDir().mkpath(basis + QStringLiteral("Daten"));
    QDir().mkpath(basis + QStringLiteral("Temp"));
    qputenv("TEMP", QFile::encodeName(basis + QStringLiteral("Temp")));
    qputenv("USERNAME", "chefin");
    // A runtime folder of its own for the single-instance guard: another run of the
    // benchmark on this machine does not bar the starts.
    QDir().mkpath(basis + QStringLiteral("Laufzeit"));
    QFile::setPermissions(basis + QStringLiteral("Laufzeit"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(basis + QStringLiteral("Laufzeit")));
    QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"), basis + QStringLiteral("Programm/VelkoraFtg.dat"));
    frmVelkora* f = Programm_starten(basis, QStringLiteral("010326"));
    if (!f) return;
    Mitarbeitertabelle_dimensionieren(kMitarbeiter + 2);
    int i = 0;
    for (int n = 0; n < kMitarbeiter + 2; ++n) {
      ++i;
      if (n == 0 || n == kMitarbeiter / 2 + 1) {
        gMitarbeiterNamen[i] = QStringLiteral("Abteilung %1").arg(n);
        continue;
      }
      gMitarbeiterNamen[i] = QStringLiteral("Mitarbeiter %1").arg(n, 4, 10, QChar(u'0'));
      gBenutzerIDs[i] = QStringLiteral("m%1").arg(n);
      gEintrittsdaten[i] = QStringLiteral("000000");
      gAustrittsdaten[i] = QStringLiteral("999999");
      gUrlaubsdaten[i] = QStringLiteral("000,0:030,0:030,0:030,0:030,0");
      gSonderurlaubsanspruch[i] = QStringLiteral("000,0");
    }
    Mitarbeiterdaten_schreiben();
    for (int jahr = 2025; jahr <= 2027; ++jahr)
      for (int monat = 1; monat <= 12; ++monat) {
        const QString schlüssel =
            QStringLiteral("%1%2").arg(jahr % 100, 2, 10, QChar(u'0')).arg(monat, 2, 10, QChar(u'0'));
        QStringList zeilen;
        for (int m = 1; m <= kMitarbeiter; ++m) {
          QString codes(31, u' ');
          for (int t = 0; t < 4; ++t) codes[(m * 7 + t * 3 + monat) % 28] = QChar(u'1' + (m + t) % 6);
          zeilen << QStringLiteral("A:m%1:").arg(m) + codes;
          if (m % 10 == 0) zeilen << QStringLiteral("K:m%1:01-28:Projekt %2").arg(m).arg(monat);
        }
        gMonatsschlüssel = schlüssel;
        Monatsdatei_speichern(schlüssel, zeilen);
      }
    Programm_beenden(f);
    ok = true;
  }
};

}  // namespace

static void BM_Kaltstart_1000_Mitarbeiter_36_Monate(benchmark::State& state) {
  static Vorlage vorlage;
  if (!vorlage.ok) {
    state.SkipWithError("the data folder could not be made");
    return;
  }
  int zeilen = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir tmp;
    const QString basis = tmp.path() + u'/';
    Kopieren(vorlage.basis, tmp.path());
    qputenv("TEMP", QFile::encodeName(basis + QStringLiteral("Temp")));
    state.ResumeTiming();

    // 12 March: the month's backup exists, so this first start of the day makes the daily one.
    frmVelkora* f = Programm_starten(basis, QStringLiteral("120326"));

    state.PauseTiming();
    const bool gesichert = !Dateiliste(gSicherungsordner, QStringLiteral("260312*T.dat")).isEmpty();
    zeilen = f ? f->msgFlexGrid->raster().Rows() - 1 : 0;
    if (!f || !gesichert || gMonatsschlüssel != u"2603") {
      state.SkipWithError("the start did not show March 2026 with its daily backup");
      if (f) Programm_beenden(f);
      break;
    }
    Programm_beenden(f);
    state.ResumeTiming();
  }
  state.counters["Zeilen"] = zeilen;
  qint64 bytes = 0;
  for (const QString& n : Dateiliste(vorlage.basis + QStringLiteral("Daten/Data/"), QStringLiteral("*Data.dat")))
    bytes += QFileInfo(vorlage.basis + QStringLiteral("Daten/Data/") + n).size();
  state.counters["Monatsdateien_kB"] = static_cast<double>(bytes / 1024);
}
BENCHMARK(BM_Kaltstart_1000_Mitarbeiter_36_Monate)->Unit(benchmark::kMillisecond)->Iterations(5);
