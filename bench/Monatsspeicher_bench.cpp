// Saving one line of a month of 1,000 employees: an append to today's version, and
// the first save of a day, which writes the month afresh from the newest version.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "planner/Monatsspeicher.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {

constexpr int kMitarbeiter = 1000;

// A data folder holding month 2603 with one entry line and one comment per employee
// and a quarter of the employees with a second, later line.
struct Monatsordner {
  QTemporaryDir tmp;
  QByteArray inhalt;
  Monatsordner() {
    gDatenordner = tmp.path() + u'/';
    gLogordner = gDatenordner;
    gHeuteText = QStringLiteral("260310");
    gDatumstrennzeichen = QStringLiteral(".");
    gSettings = Standardeinstellungen();
    gPlanungsjahr = 2025;
    gBenutzerstufe = 2;
    gKennzeile = QStringLiteral("Kennung");
    gMonatsschlüssel = QStringLiteral("2603");
    gSFTexte = QStringList{QString()};
    for (int i = 1; i <= 12; ++i) gSFTexte << QStringLiteral("B%1").arg(i);
    gSFTexte << QStringLiteral("Löschen");
    QStringList ids{QString()};
    for (int i = 0; i < kMitarbeiter; ++i) ids << QStringLiteral("benutzer%1").arg(i);
    Mitarbeitertabelle_dimensionieren(kMitarbeiter);
    gBenutzerIDs = ids;
    gMitarbeiterNamen = ids;
    const auto zeile = [&](const QString& t) { inhalt += Zeile_kodieren(t, 65 + (inhalt.size() % 60)) + "\r\n"; };
    zeile(QStringLiteral("[2603]"));
    zeile(QStringLiteral("Kennung"));
    zeile(QStringLiteral("NoEx:NoEx"));
    for (int i = 0; i < kMitarbeiter; ++i) {
      zeile(QStringLiteral("A:benutzer%1:").arg(i) + QStringLiteral("11  A   3 2   BB     1   C  4  ").left(31));
      zeile(QStringLiteral("K:benutzer%1:01-02:Seminar in Berlin").arg(i));
    }
    for (int i = 0; i < kMitarbeiter; i += 4) zeile(QStringLiteral("A:benutzer%1:").arg(i) + QString(31, u'1'));
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
