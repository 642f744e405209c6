#pragma once
// How the program stops: the planned fatal stop, the central run-time error handler,
// the start repair, the program lock and the program's one wait.
#include <QString>

extern QString gStörungsmeldung;  // pending fault notice (lock file line 2), or the file under repair
extern QString gSperrmeldung;     // lock text of the lock file; empty = no lock
extern QString gSperrzeit;        // lock file line 3, for the main window's notice

// Waits s seconds; a negative s waits until -s seconds after the start.
void Pause(double s);
[[noreturn]] void Programmabbruch(const QString& name, const QString& text, const QString& option);
// The central error handler: reports gErr for the procedure and ends the program;
// returns only during the start with "/enforcestart".
void Programmabbruch_Fehler(const QString& prozedur);
[[noreturn]] void Startfehler(const QString& text, const QString& datei, const QString& protokoll);
void Sperrdatei_prüfen();

// The program's version as the error handler names it ("1.16.1").
QString Programmversion();
