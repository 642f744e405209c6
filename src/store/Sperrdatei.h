#pragma once
// The program lock an administrator sets: "Lockfile.txt" in the data folder bars every
// other user at start and before every save of a month record (Sperrdatei_prüfen).
#include <QString>

// Writes the lock file as one plain line: the lock text, "|", the current Windows user
// name, and "|" with the user's display name when one is known. It always writes,
// replacing a lock file that is there, and holds the lock text in gSperrmeldung.
// False when the file could not be written.
bool Sperrdatei_anlegen(const QString& sperrtext);
// Removes the lock file and the held lock text; false when the file is still there.
bool Sperrdatei_entfernen();
