#pragma once
// Choosing, moving, finding and deleting the data folder, and the readme beside it.
//
// A data folder is recognised by holding at least one month record file ("*Data.dat").
// The folder shown to the user is always the parent of the data folder.
#include <QString>

#include "platform/Haken.h"

// A data folder typed by the user (Alt+F5): when set, it replaces the folder dialog once.
extern QString gUNCPfad;

// What the folder choice needs of the data store above it; set by the start sequence
// (launch/Programmstart.h, Starthaken_setzen) and left by a reset of the state.
struct Ordnerdienste {
  // The current user is an administrator.
  Haken<bool()> ist_administrator{"gOrdnerdienste.ist_administrator"};
};
extern Ordnerdienste gOrdnerdienste;

// The platform's folder dialog; empty when cancelled. The path ends in "/".
QString BrowseForFolder();
// Chooses a folder (gUNCPfad first) and turns it into a data folder path: a picked
// "Logs", "Backups" or "IniFiles" folder of a data folder gives that data folder, a
// folder without data gets "Data/". Empty when nothing was chosen or the choice was
// refused (a folder the pointer file cannot store, a foreign non-empty folder).
QString Ordner_wählen();
// True when the folder holds no file and no subfolder (also when it does not exist).
bool Check_ob_Ordner_leer(const QString& ordner);
// Whether the current user is an administrator in the configuration that the file
// holds (a configuration file or a backup of a data folder); reports when not.
bool Check_ob_Admin(const QString& konfigdatei);
// Writes "Lies mich - Velkora.txt" into the parent of the data folder; the program
// ends when that folder takes no file.
void Liesmichdatei_schreiben(const QString& datenordner);
// Copies every file of the source folder that matches the pattern into the target
// (created when missing), keeping the files' modification times. Warns when the target
// already holds such files. False when a file could not be copied (the rest is tried).
bool Verzeichnis_kopieren(const QString& quelle, const QString& ziel, const QString& muster);
// Deletes the matching files of a folder, then the folder itself; for the data folder
// also the readme in its parent.
void Verzeichnis_löschen(const QString& ordner, const QString& muster);
// Deletes all data: logbooks, per-user files, backups and data files. With questions
// (fragen) the user confirms twice, the pointer file goes too and the program ends with
// the result.
void Datenverzeichnis_löschen(bool fragen);
// At start: the data folder holds no data; offer to search for it or to reset.
void Datenverzeichnis_suchen();
