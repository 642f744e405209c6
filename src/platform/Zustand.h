#pragma once
// Global state lives in module-level variables, as the program's units own them. Each
// unit registers how to put its state back to the start values, so tests begin from a
// clean program.
#include <functional>

namespace zustand {
// Registers a reset; returns true so it can initialise a static.
bool registrieren(std::function<void()> zurücksetzen);
// Puts every registered unit back to its start values.
void alleZurücksetzen();
}  // namespace zustand

#define VELKORA_ZUSTAND_CONCAT2(a, b) a##b
#define VELKORA_ZUSTAND_CONCAT(a, b) VELKORA_ZUSTAND_CONCAT2(a, b)
// In a unit's .cpp: VELKORA_ZUSTAND(Meine_Funktion_zurücksetzen);
#define VELKORA_ZUSTAND(fn) \
  static const bool VELKORA_ZUSTAND_CONCAT(velkoraZustand_, __LINE__) = zustand::registrieren(fn)
