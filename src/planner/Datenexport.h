#pragma once
// Export of the whole data folder into one file, import of such a file and restore of
// a backup point. An export file holds exactly what a backup holds.
#include <QString>
#include <functional>

// The name the save dialog proposes: "Velkora Datenexport vom " + today in the
// locale's form with "/" replaced by "-" + ".vel".
QString Datenexport_Vorgabename();
// Asks for the file and writes the export; reports the result.
void Datenexport();
// Replaces every data file and logbook by those of an export file (empty path: the
// user chooses it) or of a backup of the backup folder (a restore). True when the data
// were replaced. While it replaces the folder it holds the program lock, so that other
// workstations stop at their next save.
bool Datenimport(const QString& pfad);

// Called while an import holds the program lock, right before it replaces the data
// folder. Empty in the program; a test acts there as another workstation.
extern std::function<void()> gDatenimport_vor_dem_Ersetzen;
