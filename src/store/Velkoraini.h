#pragma once
// The per-user settings file "Velkora_<user>.ini" in the ini folder, with a fallback
// copy in the temporary folder: window placements, personal colours, the chosen
// display group, the last folders, display and print switches, the day-sum choice,
// the font, the printer and the code-button width. Plain text, Windows-1252, CR LF.
//
// Nothing about this file ever stops the program: a file that cannot be opened is
// logged and the values in force stay; a damaged file is logged, deleted and written
// afresh at the end of the run.
#include <QString>
#include <array>
#include <cstdint>

// Per-user values 1 to 37 (element 0 is unused):
//  1-5   main window: state (1 = minimised), left, top, width, height (twips)
//  6-10  vacation overview, 11-15 sums overview, 16-20 logbook window: the same
//  21    not used (stored as "0")
//  22    highlight mode; 23 print grid lines; 24 print legend; 25 day-sum rows shown
//  26    header rows highlighted; 27 school holidays marked; 28 calendar-week strip
//  29    calendar weeks printed; 30 day sums printed; 31 a slow display was seen
//  32    grid row height in twips (285 to 1200); 33-35 switches of the main window
//  36    1 = the code-button width was set by hand; 37 that width in twips
extern std::array<std::int32_t, 38> gBenutzerwerte;
// The check value of the settings as last read. 0 makes the file be written at the
// end of the run; -1 (after a deletion) keeps it from being written again.
extern std::int32_t gBenutzerwerteSumme;
// The day-sum choice, strings 1 to 4 (element 0 unused): one "0"/"1" per code button;
// string 1 is the main window's and is 24 digits long.
extern std::array<QString, 5> gTaSum;
extern QString gImportordner;  // folder of the last data export or import
extern QString gExportordner;  // folder of the last CSV export
extern QString gSchriftart;    // the program font; empty leaves the fonts alone
extern QString gDruckername;   // the printer last chosen; empty = the default printer

// "Velkora_" + user + ".ini", with the characters that a file name cannot hold (and
// "%") written as "%" and their hexadecimal code, so that no two users share a file.
QString Velkoraini_Dateiname(const QString& benutzer);

void Velkoraini_lesen();
// Writes the file when a value changed since the last read.
void Velkoraini_schreiben();
// Deletes the file in the ini folder and in the temporary folder; nothing is written
// for the rest of the run.
void Velkoraini_löschen();
// Whether a copy of the user's file is there, in the ini folder or the temporary folder.
bool Velkoraini_vorhanden();
