#pragma once
// The mouse over the main window's month grid, its calendar-week strip and its
// day-sum grid: marking, the hover highlight, the comment and holiday texts shown as
// the pointer passes, and the right button, Shift, Ctrl and the double click sent on
// to the grid's commands.
class frmVelkora;

// Connects the handlers below to the window's grids. They call the grid's commands
// directly: the comments and the holiday text (planner/Kommentare.h), the
// non-working-day mark and the day's exception (planner/Arbeitsfrei.h), copy and paste
// (planner/Zwischenablage.h), the year overview (planner/Ansichtsbefehle.h) and the
// mouse wheel (planner/Mausrad.h).
void Tabellenmaus_verbinden(frmVelkora& f);

// Button: 1 left, 2 right, 4 middle. Shift: 1 the Shift key, 2 the Ctrl key, 4 Alt.
// The right button on a day header with Shift alone edits the day's exception as a
// non-working day, with Ctrl alone as a holiday; on a day cell with Shift alone it
// pastes the entry clipboard, with Ctrl alone it copies the marking, without either it
// comments on the marking.
void msgFlexGrid_MouseDown(frmVelkora& f, int knopf, int umschalt);
void msgFlexGrid_MouseMove(frmVelkora& f, int knopf, int umschalt);
void msgFlexGrid_MouseUp(frmVelkora& f, int knopf, int umschalt);
// On a day cell: the non-working-day mark; on an employee's name: the year overview of
// that Windows user.
void msgFlexGrid_DblClick(frmVelkora& f);
void msgFlexGrid_Scroll(frmVelkora& f);
void msgFlexGrid_RowColChange(frmVelkora& f);
