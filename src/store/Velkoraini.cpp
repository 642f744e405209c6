#include "store/Velkoraini.h"

#include "platform/Zustand.h"

std::array<std::int32_t, 38> gBenutzerwerte{};
QString gSchriftart;

namespace {
void Zustand_zurücksetzen() {
  gBenutzerwerte.fill(0);
  gSchriftart.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);
}  // namespace

void Velkoraini_lesen() {}
void Velkoraini_schreiben() {}
