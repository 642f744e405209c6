// Saving one line of a month of 1,000 employees: an append to today's version, and
// the first save of a day, which writes the month afresh from the newest version; and
// a save as the grid makes it, the appended line and its logbook line each synced to
// the disk. The folder lies below the working directory, not in a temporary folder
// that may live in memory, so that the syncs cost what they cost on a disk.
//
// The saves as the grid makes them (the line and its logbook line) are measured beside
// their floor in the same run: the syncs the save makes, each of a file of the same
// size (an append of one line to a file of the month's size and to one of the
// logbook's, or a whole new file of the month's size renamed over another). The
// file-system calls of each kind of save are counted under strace.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "Dateizugriffe.h"
#include "Grossbestand.h"
#include "Speicherboden.h"
#include "planner/Monatsspeicher.h"
#include "startup/Logbuch.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Monatsstand.h"

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
    f.close();
    // The grid shows the month as read, and took its stamp then.
    Monatsstand_merken(gMonatsschlüssel);
  }
};

Monatsordner& Ordner() {
  static Monatsordner o;
  return o;
}

// The grid's save of one changed day of an employee: the line, then its logbook line.
void Eingabe_speichern(int j, QChar code) {
  const QString benutzer = Großbenutzer(j % kMitarbeiter);
  const QString codes = QString(31, u' ').replace(j % 31, 1, code);
  // The row as the grid showed it before: the save lays the changed day over the row
  // as it stands in the file.
  benchmark::DoNotOptimize(Datensatz_speichern(QStringLiteral("A:") + benutzer + u':' + codes,
                                               QStringLiteral("A:") + benutzer + u':' + QString(31, u' ')));
  Logbuch_ergänzen(1, benutzer + QStringLiteral("|B2|") + QStringLiteral("%1").arg(j % 31 + 1, 2, 10, QChar(u'0')) +
                          QStringLiteral("0326|") + QStringLiteral("%1").arg(j % 31 + 1, 2, 10, QChar(u'0')) +
                          QStringLiteral("0326"));
}

// The floor of the saves: files beside the month, as large as the month and its logbook.
const Speicherboden& Boden() {
  static const Speicherboden b(Ordner().tmp.path() + u'/', Ordner().inhalt);
  return b;
}

// The counting modes: the saves run again under strace.
const bool kZählarten = [] {
  Zählart_anmelden(QStringLiteral("anhaengen"), [](int n) {
    Ordner().zurücksetzen(QStringLiteral("260310"));
    for (int j = 0; j < n; ++j) {
      Zählmarke(true);
      Eingabe_speichern(j, u'2');
      Zählmarke(false);
    }
  });
  Zählart_anmelden(QStringLiteral("erstes_des_Tages"), [](int n) {
    for (int j = 0; j < n; ++j) {
      Ordner().zurücksetzen(QStringLiteral("260309"));
      Zählmarke(true);
      Eingabe_speichern(j, u'3');
      Zählmarke(false);
    }
  });
  // The month file's part alone: the store's save of one changed day, without the
  // grid's checks around it and without the logbook line.
  Zählart_anmelden(QStringLiteral("anhaengen_Monatsdatei"), [](int n) {
    Ordner().zurücksetzen(QStringLiteral("260310"));
    for (int j = 0; j < n; ++j) {
      Zählmarke(true);
      Monatsdatei_zeilen_speichern(gMonatsschlüssel, {Monatszeile{QStringLiteral("A:") + Großbenutzer(j) + u':' +
                                                                      QString(31, u' ').replace(j % 31, 1, u'2'),
                                                                  1u << (j % 31 + 1)}});
      Zählmarke(false);
    }
  });
  Zählart_anmelden(QStringLiteral("erstes_des_Tages_Monatsdatei"), [](int n) {
    for (int j = 0; j < n; ++j) {
      Ordner().zurücksetzen(QStringLiteral("260309"));
      Zählmarke(true);
      Monatsdatei_zeilen_speichern(gMonatsschlüssel, {Monatszeile{QStringLiteral("A:") + Großbenutzer(j) + u':' +
                                                                      QString(31, u' ').replace(j % 31, 1, u'3'),
                                                                  1u << (j % 31 + 1)}});
      Zählmarke(false);
    }
  });
  Zählart_anmelden(QStringLiteral("kompaktieren"), [](int n) {
    for (int j = 0; j < n; ++j) {
      Ordner().zurücksetzen(QStringLiteral("260310"));
      Zählmarke(true);
      Datensatz_speichern(QString());
      Zählmarke(false);
    }
  });
  Zählart_anmelden(QStringLiteral("umschreiben"), [](int n) {
    for (int j = 0; j < n; ++j) {
      Ordner().zurücksetzen(QStringLiteral("260310"));
      Zählmarke(true);
      Monatsdatei_umschreiben(
          QStringLiteral("2603"), true,
          [](const std::optional<Monatsversion>&, const QStringList& z) -> std::optional<QStringList> { return z; });
      Zählmarke(false);
    }
  });
  return true;
}();

}  // namespace

static void BM_Datensatz_speichern_anhaengen(benchmark::State& state) {
  Monatsordner& o = Ordner();
  o.zurücksetzen(QStringLiteral("260310"));
  int j = 0;
  for (auto _ : state) {
    const QString codes = QString(31, u' ').replace(j % 31, 1, u'2');
    benchmark::DoNotOptimize(Datensatz_speichern(QStringLiteral("A:") + Großbenutzer(j % kMitarbeiter) + u':' + codes));
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
        Datensatz_speichern(QStringLiteral("A:") + Großbenutzer(j % kMitarbeiter) + u':' + QString(31, u'3')));
    ++j;
  }
}
BENCHMARK(BM_Datensatz_speichern_erstes_des_Tages)->Unit(benchmark::kMillisecond);

static void BM_Datensatz_speichern_mit_Logbuchzeile(benchmark::State& state) {
  Monatsordner& o = Ordner();
  o.zurücksetzen(QStringLiteral("260310"));
  int j = 0;
  for (auto _ : state) {
    const QString benutzer = Großbenutzer(j % kMitarbeiter);
    const QString codes = QString(31, u' ').replace(j % 31, 1, u'2');
    benchmark::DoNotOptimize(Datensatz_speichern(QStringLiteral("A:") + benutzer + u':' + codes));
    Logbuch_ergänzen(1, QStringLiteral("Eingabe ") + benutzer + QStringLiteral(" 2603"));
    ++j;
  }
}
BENCHMARK(BM_Datensatz_speichern_mit_Logbuchzeile)->Unit(benchmark::kMillisecond);

// An appended save as the grid makes it, beside the two appends with their syncs it
// makes (the month file and the logbook).
static void BM_Eingabe_speichern_anhaengen(benchmark::State& state) {
  Monatsordner& o = Ordner();
  o.zurücksetzen(QStringLiteral("260310"));
  Mit_Boden_messen(
      state, Boden(), [] {}, [](int j) { Eingabe_speichern(j, u'2'); },
      [](const Speicherboden& b) {
        b.anhängen(b.monat);
        b.anhängen(b.logbuch);
      });
}
BENCHMARK(BM_Eingabe_speichern_anhaengen)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->ComputeStatistics("min", Kleinstes);

// The first save of a day as the grid makes it, beside a new file of the month's size
// and the logbook's append, each synced.
static void BM_Eingabe_speichern_erstes_des_Tages(benchmark::State& state) {
  Monatsordner& o = Ordner();
  Mit_Boden_messen(
      state, Boden(), [&] { o.zurücksetzen(QStringLiteral("260309")); }, [](int j) { Eingabe_speichern(j, u'3'); },
      [](const Speicherboden& b) {
        b.neu_schreiben();
        b.anhängen(b.logbuch);
      });
}
BENCHMARK(BM_Eingabe_speichern_erstes_des_Tages)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->ComputeStatistics("min", Kleinstes);

// File-system calls per save, counted under strace: an append and the first save of a
// day as the grid makes them (with the program lock check, the date check and the
// logbook line), the same two of the month file alone, a compaction of today's version
// and a rewrite of the month through Monatsdatei_umschreiben.
static void BM_Dateizugriffe_je_Speicherung(benchmark::State& state, const char* art) {
  Dateizugriffe_melden(state, QString::fromLatin1(art));
}
BENCHMARK_CAPTURE(BM_Dateizugriffe_je_Speicherung, anhaengen, "anhaengen")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Dateizugriffe_je_Speicherung, erstes_des_Tages, "erstes_des_Tages")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Dateizugriffe_je_Speicherung, anhaengen_Monatsdatei, "anhaengen_Monatsdatei")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Dateizugriffe_je_Speicherung, erstes_des_Tages_Monatsdatei, "erstes_des_Tages_Monatsdatei")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Dateizugriffe_je_Speicherung, kompaktieren, "kompaktieren")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Dateizugriffe_je_Speicherung, umschreiben, "umschreiben")->Iterations(1)->Unit(benchmark::kSecond);
