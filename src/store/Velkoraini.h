#pragma once
// The per-user settings file "Velkora_<user>.ini" in the ini folder.
#include <QString>
#include <array>
#include <cstdint>

// Per-user values 1 to 37 (element 0 is unused).
extern std::array<std::int32_t, 38> gBenutzerwerte;
// Font name for all windows; empty: every window keeps its own font.
extern QString gSchriftart;

void Velkoraini_lesen();
void Velkoraini_schreiben();
