#include "store/Jahreswechsel.h"

#include "platform/Zustand.h"

bool gRückblick = false;

namespace {
void Zustand_zurücksetzen() { gRückblick = false; }
VELKORA_ZUSTAND(Zustand_zurücksetzen);
}  // namespace

bool Jahreswechsel() { return false; }
void Datumskorruption() {}
void Datenrückblick() {}
