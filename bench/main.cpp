#include <benchmark/benchmark.h>

#include <QApplication>

#include "Dateizugriffe.h"
#include "planner/Programm.h"
#include "platform/Arbeitsspeicher.h"

int main(int argc, char** argv) {
  // The cold start shows the main window; without a display it is drawn offscreen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The heap as the program sets it up.
  Arbeitsspeicher_einrichten();
  QApplication app(argc, argv);
  // Run again by a benchmark that counts file-system calls: only the counted work.
  if (Zählart_ausführen(argc, argv)) return 0;
  // Every link from a lower library up, as the program sets them: each benchmark runs
  // alone as well as after the others.
  Programm_verdrahten();
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
