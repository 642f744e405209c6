#pragma once
// The year change, the recovery after the system date was set back, and look-back mode.
//
// The planning window covers the three calendar years from gPlanungsjahr. The year
// change moves it on by one year: a year-change backup (kind "J"), the vacation
// balances carried over into the new first year, the entitlements shifted, empty month
// files for the new third year, the month files of the dropped year deleted. Several
// workstations may start at the same moment in a new year: the change runs under a
// lock of the data folder and looks at the employee file again inside it, so the
// window moves on once.
//
// The recovery undoes year changes from their backups when the system date lies in or
// before the planning year. Look-back mode restores a year-change backup or an export
// file into a new folder set of its own in the temporary folder (data, logbooks, backups,
// per-user settings) and shows it read-only.
#include <QDate>
#include <QString>
#include <functional>

#include "platform/Haken.h"

extern bool gRückblick;  // look-back mode: a read-only look at a backup

// Shows the backup chooser modally (in look-back mode it lists only year-change
// backups); afterwards gSicherungsdatei holds the chosen name, empty when cancelled.
// Set by the program's wiring at start.
extern Haken<void()> gSicherungsauswahl_zeigen;

// One year change. True when the window has moved on by one year, by this call or,
// seen inside the lock, by another workstation meanwhile; false when it could not be
// carried out (nothing changed but perhaps the year-change backup). During the start
// it first asks when the last entry lies more than 24 days back; a "No" ends the
// program.
bool Jahreswechsel();
// Completes a year change that a killed workstation left half done, before the start
// checks the month files: the missing empty months of the new third year, the months
// of dropped years deleted, its lock taken over. Under the year-change lock.
void Jahreswechsel_vollenden();
// Runs the year change while the window lags behind today, stopping at the first
// that fails. For the start and the data import. True when the window fits today.
bool Jahreswechsel_nachholen();
// The undo of year changes after the system date was set back (start only).
void Datumskorruption();
// Look-back mode for "/lookback" (start only, before the configuration is read).
void Datenrückblick();
// The look-back folder set of this run: a new owner-only folder in the temporary
// folder, its data folder, with "Logs/", "Backups/" and "IniFiles/" inside it; empty
// when none was made. A set left by a killed run goes with the next look-back.
QString Rückblickordner();
// Removes this run's look-back set and all in it, never following a link. For the
// main window's unload.
void Rückblickordner_entfernen();

// --- The computation underneath, free of global state. ---

// What the carry-over of one employee needs, as day counts of the vacation codes
// (full days and half days together, the half days already halved).
struct Urlaubsübertrag {
  float rest = 0;              // Resturlaub carried into the old planning year
  float anspruch = 0;          // Urlaub1, the entitlement of the old planning year
  float genommen = 0;          // taken over the old vacation year
  float vorVerfall = 0;        // taken from its start to the day before the lapse date
  bool verfall = false;        // carried-over vacation lapses (and gUrlaub1Leer is not set)
  bool gleicherMonat = false;  // the lapse month is the start month of the vacation year
  bool ohneAnspruch = false;   // Urlaub1 to Urlaub4 are all zero
};
// The remaining vacation for the new planning year, single precision.
float Neuer_Resturlaub(const Urlaubsübertrag& u);
// The first day of the vacation year of the planning year, the day before the next
// one, and the lapse date within it (invalid when nothing lapses): the first of the
// lapse month in that year, or in the year after when the lapse month lies before the
// start month.
struct Urlaubsjahr {
  QDate beginn, ende, verfall;
};
Urlaubsjahr Urlaubsjahr_des_Planungsjahrs(int planungsjahr, int beginnMonat, int verfallMonat);
// The vacation values after the year change: the new remaining vacation (display
// form), Urlaub2 to Urlaub4 moved up and a zero entitlement for the new fourth year.
// `alt` is "R:U1:U2:U3:U4" as the employee table holds it.
QString Urlaubsdaten_nach_Jahreswechsel(const QString& alt, float neuerRest);
