#pragma once
// The mouse over the main window's month grid, its calendar-week strip and its
// day-sum grid: marking, the hover highlight, the comment and holiday texts shown as
// the pointer passes, and the right button, Shift, Ctrl and the double click sent on
// to the grid's commands.
#include <QString>
#include <functional>

class frmVelkora;

// The grid's commands that the mouse reaches. Each does nothing until its owner
// installs it.
struct Tabellenbefehle {
  // Double click on a day cell: marks the day as not worked (or removes the mark).
  std::function<void()> Arbeitsfrei_kennzeichnen;
  // Double click on an employee's name: the year overview of that Windows user.
  std::function<void(const QString& benutzer)> Jahresübersicht_anzeigen;
  // Right button on a day header with Shift alone (kind 1: non-working day) or Ctrl
  // alone (kind 2: holiday): the day's exception of the month.
  std::function<void(int art, int spalte)> Wofeiausn_bearbeiten;
  // Right button with Shift alone: paste the entry clipboard at the pointer.
  std::function<void()> Eintrag_einfügen;
  // Right button with Ctrl alone: copy the marking to the entry clipboard.
  std::function<void()> Eintrag_kopieren;
  // Right button without Shift and Ctrl: the comment of the marking.
  std::function<void()> Kommentar_hinzufügen;
  // The comment of a day cell of the shown month; empty when none.
  std::function<QString(int zeile, int tag)> Kommentarmarke;
  // Shows a text in the comment box beside a cell of the month grid.
  std::function<void(const QString& text, int spalte, int zeile)> Kommentar_anzeigen;
  // Shows the name of the holiday under the pointer's column.
  std::function<void()> Feiertag_anzeigen;
  // The mouse wheel of the month grid: given back when the window is in front
  // again, taken away while another window is.
  std::function<void()> Mausrad_einhängen;
  std::function<void()> Mausrad_aushängen;
};
extern Tabellenbefehle gTabellenbefehle;

// Connects the handlers below to the window's grids.
void Tabellenmaus_verbinden(frmVelkora& f);

// Button: 1 left, 2 right, 4 middle. Shift: 1 the Shift key, 2 the Ctrl key, 4 Alt.
void msgFlexGrid_MouseDown(frmVelkora& f, int knopf, int umschalt);
void msgFlexGrid_MouseMove(frmVelkora& f, int knopf, int umschalt);
void msgFlexGrid_MouseUp(frmVelkora& f, int knopf, int umschalt);
void msgFlexGrid_DblClick(frmVelkora& f);
void msgFlexGrid_Scroll(frmVelkora& f);
void msgFlexGrid_RowColChange(frmVelkora& f);
