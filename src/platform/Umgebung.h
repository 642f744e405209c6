#pragma once
// The user and the environment folders. Folders always end in "/".
#include <QString>

namespace umgebung {

// USERNAME when set, else the account's login name, else "NoName".
QString benutzername();

// TEMP when set, else a per-user folder below the system's temporary folder
// (created on demand, private to the user).
QString tempOrdner();
// Whether a folder is a real folder (no link) owned by this process's user.
bool eigenerOrdner(const QString& ordner);
// PUBLIC when set, else the user's writable data folder (a program folder that is
// not writable moves the base folder below it).
QString publicOrdner();
// ProgramFiles and ProgramData when set, else empty.
QString programFiles();
QString programData();

// The folder of the program file; tests may set it.
QString programmordner();
void setzeProgrammordner(const QString& ordner);

// Whether a folder lies "under the program-files folder": its first ten characters
// equal those of ProgramFiles (in lower case), or it cannot be written to.
bool unterProgrammdateien(const QString& ordner);

// Adds a trailing "/" unless there is one.
QString mitSchrägstrich(const QString& ordner);

}  // namespace umgebung
