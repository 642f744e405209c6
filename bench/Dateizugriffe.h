#pragma once
// Counting the file-system calls of one piece of work, as the kernel sees them: the
// benchmark program runs itself again under strace in a counting mode, where the work
// is done between two markers (a look-up of a path no one has), and the calls of the
// main thread between the markers are counted. What the program does before and after
// (setting up the data folder, putting a month back between saves) is left out.
//
// Counted are the calls on files, folders and file descriptors; waiting on descriptors
// (poll and the like) is no file-system call. A folder listing is an open of a folder.
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

namespace benchmark {
class State;
}

struct Dateizugriffe {
  bool gezählt = false;             // false when strace is missing or the run failed
  int arbeiten = 0;                 // how many pieces of work the run did
  double aufrufe = 0;               // file-system calls per piece of work
  double listen = 0;                // folder listings per piece of work
  double syncs = 0;                 // fsync and fdatasync per piece of work
  double monatsöffnungen = 0;       // opens of a month version ("... Data.dat") per piece of work
  QMap<QString, double> je_Aufruf;  // per piece of work, by call
};

// Marks the beginning (an) and the end of one counted piece of work.
void Zählmarke(bool an);

// A counting mode: the work `n` times, each between Zählmarke(true) and Zählmarke(false).
void Zählart_anmelden(const QString& name, std::function<void(int n)> arbeit);

// Runs the program itself in the counting mode `art` under strace and counts.
Dateizugriffe Dateizugriffe_zählen(const QString& art, int n);

// Called by main: true when the program was started in a counting mode (the mode has
// run, the program ends).
bool Zählart_ausführen(int argc, char** argv);

// The figures as lines for the benchmark's output (one per call kind).
QString Dateizugriffe_Text(const Dateizugriffe& z);

// A benchmark's run of the counting mode `art` with `n` pieces of work: the counts as
// the benchmark's counters and label, or the benchmark skipped when nothing was counted.
void Dateizugriffe_melden(benchmark::State& state, const QString& art, int n = 20);
