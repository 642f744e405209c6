#pragma once
// The program lock "Lockfile.txt" in the data folder: an administrator's lock that
// bars every other user, or the fault notice the start repair leaves for the next
// start. Line 1 is "text|owner" (optionally "|display name"), line 2 the file under
// repair or "NoFile " and the log text, line 3 the date and time of the repair.
#include <QString>

#include "store/Sperrdatei.h"

// Ends the program when "Lockfile.txt" bars the user.
void Sperrdatei_prüfen();
// Writes the start repair's lock with the repaired file (or, without one, the log
// text); an existing lock file stays as it is. Failures are ignored: the repair goes
// on without a lock.
void Sperrdatei_schreiben(const QString& datei, const QString& protokoll);
