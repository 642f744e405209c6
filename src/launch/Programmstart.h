#pragma once
// The start sequence: reads the command line's switches, checks the date, finds the
// data folder, makes the day's and month's backups, loads the shared data, runs an
// open year change and shows the main window.
#include <QString>

void Main();
// Composes the main window's caption from the company name and the look-back mode
// into gHauptfensterTitel and applies it.
void Titelzeile();
// Wires the hooks through which the units below the data store reach the store and
// the start repair. Main sets them first, tests in their set-up; a reset of the state
// leaves them.
void Starthaken_setzen();
