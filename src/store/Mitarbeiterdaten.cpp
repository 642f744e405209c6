#include "store/Mitarbeiterdaten.h"

#include "platform/Zustand.h"
#include "startup/Start.h"

int gPlanungsjahr = 0;

namespace {
void Zustand_zurücksetzen() { gPlanungsjahr = 0; }
VELKORA_ZUSTAND(Zustand_zurücksetzen);
}  // namespace

void Mitarbeiterdaten_lesen() {
  if (gPlanungsjahr == 0) gPlanungsjahr = gHeute.year() - 1;
}

QString ShowAdmins(bool) { return {}; }
