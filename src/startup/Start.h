#pragma once
// The state the start sequence (launch/Programmstart.h) sets up and every unit reads:
// today, the folders, the user, the locale's date form; the command line; and the
// start sequence's hooks into the windows.
#include <QDate>
#include <QString>
#include <QStringList>

#include "platform/Haken.h"

extern bool gStörungAnzeigen;  // start-up phase: until the main window first shows a month
extern QDate gHeute;           // today, or the date of "/d:"
extern QString gHeuteText;     // gHeute as yymmdd
extern double gStartzeit;      // monotonic seconds at the start
extern bool gStartErzwingen;   // "/enforcestart"
extern QString gDezimaltrennzeichen;
extern QString gDatumstrennzeichen;
extern int gDatumsreihenfolge;  // 0 month-day-year, 1 day-month-year, 2 year-month-day
extern QString gBenutzername;
// The current folder the program was started in: relative names on the command line mean it.
extern QString gStartordner;
extern QString gProgrammordner;
extern QString gBasisordner;
extern QString gDatenordner;
extern QString gDatenordnerAlt;
extern QString gLogordner;
extern QString gTempOrdner;
extern QString gSicherungsordner;
extern QString gIniOrdner;
extern QString gIniDateiname;
extern bool gPfadVorgegeben;
extern bool gDatenordnerAngelegt;
extern bool gMerker;  // this start made a monthly or daily backup
extern bool gJahreswechselOffen;
extern QString gStartfehler;
extern QString gHauptfensterTitel;  // the caption Titelzeile composes

// The command line, one switch per argument (program name excluded); a switch whose
// value is empty takes the next argument as its value unless that is a switch itself.
void Kommandozeile_setzen(const QStringList& argumente);
bool Schalter_vorhanden(const QString& name);
QString Aufrufparameter(const QString& name);

// Hooks into the windows, which the start sequence loads and shows; set by the
// program's wiring (planner/Programm.cpp) and by tests. Each one is needed.
struct Fensterhaken {
  Haken<void()> splash_zeigen{"gFensterhaken.splash_zeigen"};
  Haken<void()> splash_entladen{"gFensterhaken.splash_entladen"};
  Haken<void()> hauptfenster_laden{"gFensterhaken.hauptfenster_laden"};
  Haken<void()> hauptfenster_zeigen{"gFensterhaken.hauptfenster_zeigen"};
  Haken<void()> hauptfenster_neu_zeichnen{"gFensterhaken.hauptfenster_neu_zeichnen"};
  // Applies gHauptfensterTitel to the main window.
  Haken<void()> titel_setzen{"gFensterhaken.titel_setzen"};
};
extern Fensterhaken gFensterhaken;

void CheckGebietsschema();
QString Gebietsschema_Info(int nummer);
void Datumsformat_ermitteln();
