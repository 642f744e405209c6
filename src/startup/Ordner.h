#pragma once
// The folder pointer file "Velkora.dat" and the base folder.
//
// The pointer file lies in the base folder (gBasisordner) and names the data folder,
// the log folder and, while a change of the data folder is pending, the previous data
// folder. It is written in the line encoding; an older plain form is still read.
//
// The base folder is the program folder, unless that is not writable or lies under
// ProgramFiles: then it is the public folder SetPublicPfad sets up.
#include <QString>

// Sets gDatenordner, gLogordner and gDatenordnerAlt from the pointer file (looked for
// in the base folder, then in the program folder); without a file they stay as they
// are. Every folder read ends in "/".
void Velkoradat_lesen();
// Writes the pointer file into the base folder; the program ends when it cannot.
void Velkoradat_schreiben();
void Velkoradat_löschen(bool mitMeldung);
// The public folder that takes the base folder's files when the program folder is
// not writable: PUBLIC (or the user's data folder) & "AppData/Local/VirtualStore/
// Program Files/Velkora/".
QString Öffentlicher_Ordner();
// Moves the base folder to the public folder, copying the country holiday master file
// there and migrating the files of the older location under ProgramData.
void SetPublicPfad();
// Copies a file so that the target is never seen half written, and gives the copy the
// modification time of its source (a start compares the times of the two copies of the
// country file; backups are chosen by their times). False when it could not be copied.
bool Datei_kopieren(const QString& quelle, const QString& ziel);
// Ends the program when the temporary folder is a link or is not the user's own: the
// instance lock, the logbook copies and the look-back set live there.
void Tempordner_prüfen(const QString& ordner);
