#pragma once
// The per-user settings file "Velkora_<user>.ini" in the ini folder.
#include <array>
#include <cstdint>

// Per-user values 1 to 37 (element 0 is unused).
extern std::array<std::int32_t, 38> gBenutzerwerte;

void Velkoraini_lesen();
void Velkoraini_schreiben();
