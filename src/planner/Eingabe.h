#pragma once
// Entering absences with the code buttons: the marked days of one row of the month
// grid, or of several rows for privileged users and administrators, take the button's
// letter and colours (the erase button empties them), the row's month line is saved,
// and a user logbook line is written. The non-working-day mark of a double click goes
// the same way with the number of buttons + 1.
//
// The handlers take the button number and act on the running main window's grid; the
// window only turns its events into these calls. A change of a row goes to
// Datensatz_speichern (planner/Monatsspeicher.h) with the row's line before the change.
//
// Several workstations share the month files. An entry always looks for another
// workstation's change first; and when the past-period question stayed open, it looks
// again before it writes. After a reload it applies the entry to the employee whose
// row was marked and to the button of the same letter and colour, wherever they stand
// now, or changes nothing and says so when one of them is gone.
#include <QString>

class Raster;

// The click on code button Index (1 to the number of buttons; the last is the erase
// button).
void cmdAuswahl_Click(int Index);
// Applies button Index, or the non-working-day mark for the number of buttons + 1, to
// the marked days of the current row.
void Tabellenzeile_ändern(int Index);
// Applies button Index to every marked row; heading rows are skipped.
void Tabellenzeilen_ändern(int Index);
// The month line of a grid row: "A:" + user + ":" + 31 code characters.
QString Tabellenzeilendaten(int zeile);
// Whether the entry of button Index over the marking may go ahead; on False its
// message has been shown or the user declined. Narrows the saved marking's columns
// (gemerkteMarkierung) to the days that the entry concerns.
bool Plausibilitätsprüfung(int Index);

// The message of an entry given up because a reload took away its employee (name) or
// its button (caption).
QString Eintrag_verworfen_Meldung_Mitarbeiter(const QString& name);
QString Eintrag_verworfen_Meldung_Schaltfläche(const QString& beschriftung);

// Form state, for the window's lifetime: the marking hint was shown; entries for past
// periods need no more confirmation.
bool Markierungshinweis_gezeigt();
bool Vergangenheit_bestätigt();
