#pragma once
// How the program stops: the planned fatal stop, the central run-time error handler
// and the program's one wait. The start repair (launch/Startfehler.h) sits above the
// data store; the units below it reach it through Startfehler_melden.
#include <QString>

#include "platform/Haken.h"

extern QString gStörungsmeldung;  // pending fault notice (lock file line 2), or the file under repair

// Waits s seconds; a negative s waits until -s seconds after the start.
void Pause(double s);
// Message, logbook line (option empty: the standard line, "NoLog": none, any other
// text: that text), end.
[[noreturn]] void Programmabbruch(const QString& name, const QString& text, const QString& option);
// The central error handler: reports gErr for the procedure and ends the program;
// returns only during the start with "/enforcestart". During the start a failure with
// a file open goes to the start repair instead.
void Programmabbruch_Fehler(const QString& prozedur);
// Hands a missing, empty or damaged data file to the start repair; never returns.
// Without the repair hook it is still a fatal stop with the text: this path runs
// inside the central error handler, which must not fail itself.
[[noreturn]] void Startfehler_melden(const QString& text, const QString& datei, const QString& protokoll);

// The program's version as the error handler names it ("1.16.1").
QString Programmversion();

// What the stops use of the other units. Each member starts as the real function;
// tests put recording fakes in its place.
struct Abbruchdienste {
  Haken<void(int art, const QString& text)> logbuch{"gAbbruchdienste.logbuch"};
};
extern Abbruchdienste gAbbruchdienste;
// The real functions, as gAbbruchdienste holds them at start.
Abbruchdienste Abbruchdienste_Standard();

// The stops' hooks into the units above the data store, set by the start sequence
// (launch/Programmstart.h, Starthaken_setzen). Wiring rather than state: resetting the
// state leaves them. The stops and the central error handler are the last line: they
// must not fail themselves, so they alone ask these hooks before calling them (an
// error raised in them would hide the error they report); the wiring test keeps both
// set.
struct Abbruchhaken {
  Haken<void(const QString& text, const QString& datei, const QString& protokoll)> startfehler{
      "gAbbruchhaken.startfehler"};
  Haken<QString()> firmenname{"gAbbruchhaken.firmenname"};  // the error handler's message names it
};
extern Abbruchhaken gAbbruchhaken;

// Set while the start repair runs. A failure inside it (reaching the error handler
// or the repair again) throws Reparaturunterbrechung, which ends that repair step
// instead of stopping the program or asking a second time. Deliberately no
// std::exception, so that no procedure wrapper on the way takes it for an ordinary
// run-time error.
extern bool gReparaturLäuft;
struct Reparaturunterbrechung {
  QString text;
};
