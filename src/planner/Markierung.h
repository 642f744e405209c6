#pragma once
// The marking of the month grid and the hover highlight of its row and column.
//
// The marking is the grid's own selection (current cell and selection end); it counts
// only while the grid's HighLight is 1. No marking: current cell (0, 0), HighLight 0.
// Every part of the main window that redisplays the grid saves the marking before and
// puts it back after, since a redisplay removes it.
//
// A saved marking remembers the rows by whose they are (the Windows user name of
// column 32, or the heading's text), not only by number: after a reload in which
// another workstation changed the employee list, it is put back on the same rows
// wherever they now stand, or dropped when they are gone. It never lands on another
// person's row.
//
// All procedures act on the running main window and do nothing without one.
#include <QString>
#include <QStringList>
#include <functional>

// gMauszelle, the cell under the pointer, shared by the grids of every window.
#include "widgets/Bildschirmstand.h"

// The saved marking: columns and rows, smaller first.
struct Gemerkte_Markierung {
  int links = 0;   // first marked column
  int rechts = 0;  // last marked column
  int oben = 0;    // first marked row
  int unten = 0;   // last marked row
  // Whose rows oben..unten were when the marking was saved (see Zeilenschlüssel).
  QStringList zeilen;
};
// The marking last saved by Markierung_merken. Callers may narrow the columns.
Gemerkte_Markierung& gemerkteMarkierung();

// The highlighted cell, row * 32 + column; 0 = none.
int Highlight_Zelle();

// Removes the marking: current cell (0, 0), HighLight 0. Redrawing stays off while
// logbook lines are buffered (multi-row edits, undo replays).
void Markierung_aufheben();
// Saves the marking, columns and rows each smaller first.
void Markierung_merken();
// Puts the saved marking back on the rows it was made on, wherever they stand now.
// False when one of them is gone or they no longer stand together: the marking is
// then removed (and must not be shown again).
bool Markierung_wiederherstellen();
// Markierung_aufheben, then Highlight_Off when the highlight follows the mouse.
void Markierung_und_Highlight_Off();
// Highlights a row and, in highlight mode 3, a column; the marking is kept.
void Highlight_On(int zeile, int spalte);
// Removes the highlight and the marking.
void Highlight_Off();

// Whether the grid shows a marking (its HighLight is on).
bool Markierung_sichtbar();
// Runs a reload of the grid and keeps the marking and its HighLight across it; a
// marking whose rows are gone stays removed.
void Markierung_beibehalten(const std::function<void()>& neuLaden);

// The key of a grid row for a saved marking: the lower-case Windows user name of an
// employee row, the text of a heading row, a mark of its own for the header row.
QString Zeilenschlüssel(int zeile);

// A marking over several rows that the user may not apply: the message for it, empty
// when the marking spans one row or the user may mark several (privileged users and
// administrators, unless settings position 44 is 1).
QString Mehrzeilige_Markierung_Meldung();
