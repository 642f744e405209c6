#pragma once
// The keys of the main window: every key pressed anywhere in the window reaches
// Form_KeyDown before the control that has the focus. A key that finds its row in the
// window's key table (Tastatur.cpp: help, search, reload, printing, undo and redo, CSV
// export, row heights and button widths, and the support keys on F4 to F11) runs that
// command and goes no further; no key of the window is a shortcut of its own.
//
// While the program is busy (gBeschäftigt), the window takes no mouse or key input at
// all: events that a long save or an undo lets through in between must not start
// another entry, paste or undo.
class frmVelkora;

// Shift state as the handlers count it: 1 Shift, 2 Ctrl, 4 Alt, added up.
inline constexpr int kUmschalt = 1;
inline constexpr int kStrg = 2;
inline constexpr int kAlt = 4;
// A table row that applies whatever the shift state.
inline constexpr int kJederUmschalt = -1;

// One row of the key table: the key (a Qt::Key), the shift state, and the command.
struct Tastenbefehl {
  int taste;
  int umschalt;
  void (*befehl)(frmVelkora& f);
};

// Hides the comment box, then runs the command of the key's row. True when the key was
// handled (and is to go no further).
bool Form_KeyDown(frmVelkora& f, int taste, int umschalt);

// Installs the key preview and the input lock on the window.
void Tastatur_verbinden(frmVelkora& f);
