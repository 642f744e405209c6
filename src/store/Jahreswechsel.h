#pragma once
// The year change, the recovery after the system date was set back, and look-back mode.
extern bool gRückblick;  // look-back mode: a read-only look at a backup

// True when the year change was carried out.
bool Jahreswechsel();
void Datumskorruption();
void Datenrückblick();
