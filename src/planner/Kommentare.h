#pragma once
// Comments on the days of one employee in the month grid, and the small box in which a
// window shows a comment or a holiday's name beside a cell of its grid.
//
// A comment is stored as a "K:" line of the month (user, first and last day, text)
// beside the employee's "A:" line; the commented cells that hold an entry are set in
// bold and show the text when the pointer rests on them.
#include <QString>

class QWidget;
class frmVelkora;

// The right click on a marking of the month grid: asks for the comment of the marked
// days of one row and saves it.
void Kommentar_hinzufügen();

// Shows the text in the comment box (picKommentar with its label lblKommentar) beside
// the cell (zeile, spalte) of the window's grid msgFlexGrid; all three are found by
// name, so that every window with such a grid shares it. When the box is hidden and
// the pointer is on that cell, the box waits for the pointer to rest there 0.4 s and
// does not appear when it moves on meanwhile.
void Kommentar_anzeigen(QWidget* fenster, const QString& text, int spalte, int zeile);

// The text shown over the day header of a holiday of the shown month: the holiday's
// name, "Jährlich wiederkehrender Feiertag" for a yearly holiday without a name, or
// "Einmaliger Feiertag " and the date for a holiday of this month only.
QString Feiertag_Text(int spalte);
// Shows Feiertag_Text of the pointer's column over the main window's day header.
void Feiertag_anzeigen();

// The period of a comment as its label names it: one date, or first and last date.
QString Kommentar_Zeitraum(const QString& monatsschlüssel, int erster, int letzter);
