#pragma once
// Undo and redo of the changes this workstation made to the month records: entries,
// erasures, non-working-day marks, pastes and comments. Each change is recorded as the
// state of the employee's row before and after it; Ctrl+Z saves the state before
// again, Ctrl+Y the state after, through the ordinary month save, so that other
// workstations see the result like any other entry.
//
// The stack lives only in memory, for the main window's lifetime, and is emptied
// whenever the code buttons, the employee list or the data behind the window change.
//
// A step whose employee another workstation changed since is refused before anything
// is written: every employee's row of the step is compared with the state the step
// expects to find first.
#include <QString>

// The stack's rows, numbered 1 to kUndoZeilen.
inline constexpr int kUndoZeilen = 2000;

struct Undoeintrag {
  // "NoData" (a free row), ">" (a group begins), "<" (a group ends), or the view key
  // followed by a row's month line ("A:...") or comment lines ("K:...", joined by "||").
  QString eintrag;
  // The logbook text of the change, on the entry with the state after it.
  QString text;
};

// mUndoStapel, rows 1 to kUndoZeilen.
const Undoeintrag& Undostapel(int zeile);
// mUndoPosition: the row of the newest entry in use; 0 = empty.
int Undoposition();
// mUndoLäuft: an undo or redo is running.
bool Undo_läuft();

// The view the grid shows, 12 characters: year tab, month tab "00", "|", group list
// index + 1 "00", "|", top row "0000", "|".
QString Ansichtsschlüssel();

// Empties the entry clipboard, the undo stack and both held-back buffers.
void Puffer_zurücksetzen();
// Counts every Puffer_zurücksetzen, so that a procedure that let a reload run can tell
// whether the stack and the clipboard it worked on are still the same.
int Puffer_Generation();

// Records one entry: 1 the month line of the grid's current row, 2 its comment lines
// over the saved marking's days, 3 ">", 4 "<" (an empty group is dropped instead),
// 5 "<" with ">" put before the four entries below it; -1 removes the newest entry.
// Kinds 1 and 2 carry the logbook text.
void SaveForUndo(int art, const QString& text);

// -1 undo, 1 redo. Beeps when there is nothing to do. A step made in another view
// first only switches the window to that view.
void Undo_Redo(int richtung);

// The message of a step refused because another workstation changed the row of the
// employee with this name.
QString Undo_verweigert_Meldung(const QString& name);
