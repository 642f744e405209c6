#include "widgets/Bildschirmstand.h"

#include "platform/Zustand.h"

int gBildschirmDPI = 96;
double gSkalierung = 1.0;
int gMauszelle = 0;

namespace {
void Zustand_zurücksetzen() {
  gBildschirmDPI = 96;
  gSkalierung = 1.0;
  gMauszelle = 0;
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);
}  // namespace
