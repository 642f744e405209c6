#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "planner/Programm.h"
#include "platform/Arbeitsspeicher.h"

int main(int argc, char** argv) {
  const bool ohneAnzeige = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  if (ohneAnzeige) {
    std::fprintf(stderr,
                 "velkora: no display found; run it on a desktop, or without one under a virtual display: "
                 "xvfb-run -a %s\n",
                 argv[0]);
    return 2;
  }
  Arbeitsspeicher_einrichten();
  QApplication app(argc, argv);
  return Programm_ausführen(app);
}
