#pragma once
// How the program stops: the planned fatal stop, the central run-time error handler,
// the start repair, the program lock and the program's one wait.
#include <QString>
#include <functional>

extern QString gStörungsmeldung;  // pending fault notice (lock file line 2), or the file under repair
extern QString gSperrmeldung;     // lock text of the lock file; empty = no lock
extern QString gSperrzeit;        // lock file line 3, for the main window's notice

// Waits s seconds; a negative s waits until -s seconds after the start.
void Pause(double s);
// Message, logbook line (option empty: the standard line, "NoLog": none, any other
// text: that text), end.
[[noreturn]] void Programmabbruch(const QString& name, const QString& text, const QString& option);
// The central error handler: reports gErr for the procedure and ends the program;
// returns only during the start with "/enforcestart". During the start a failure with
// a file open goes to the start repair instead.
void Programmabbruch_Fehler(const QString& prozedur);
// The start repair of a missing, empty or damaged data file; never returns.
[[noreturn]] void Startfehler(const QString& text, const QString& datei, const QString& protokoll);
// Ends the program when "Lockfile.txt" bars the user.
void Sperrdatei_prüfen();

// The program's version as the error handler names it ("1.16.1").
QString Programmversion();

// What the stops and the start repair use of the other units. Each member starts as
// the real function; tests put recording fakes in its place.
struct Abbruchdienste {
  std::function<void(int art, const QString& text)> logbuch;
  std::function<bool(const QString& art)> backup_erstellen;
  std::function<bool(const QString& sicherung, const QString& filter)> restore;
  std::function<void()> setup_datenordner;
  std::function<void()> datenverzeichnis_suchen;
  std::function<void()> konfigdaten_lesen;
};
extern Abbruchdienste gAbbruchdienste;
// The real functions, as gAbbruchdienste holds them at start.
Abbruchdienste Abbruchdienste_Standard();

// The backup the start repair restores from: the newest of kind T, M, A or E that was
// written before this run started (backups of this run may already hold the damage).
// Empty when there is none. Returns the full path.
QString Sicherung_vor_Programmstart(const QString& sicherungsordner);
