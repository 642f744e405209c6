#pragma once
// The commands of the main window's menus in one table: for each item the value its
// window reads from the main window's Tag, the command that shows the window, and what
// the main window brings up to date when the window has closed. Opening a menu clears
// the marking and its highlight.
#include <QString>
#include <vector>

class frmVelkora;

// What the main window brings up to date after a command, in this order.
enum Nachschritt : unsigned {
  kNichts = 0,
  kBerechtigungenLesen = 1 << 0,  // display permissions and groups read again
  kMenüs = 1 << 1,                // Menüpunkte_aktivieren
  kGruppeÜbernehmen = 1 << 2,     // the group chosen in an overview, and the month key from the tabs
  kLayout = 1 << 3,               // Form_Resize
  kAnzeigen = 1 << 4,             // Daten_anzeigen
  kGruppenprüfung = 1 << 5,       // CheckAnzeigegruppen unless the user has set a group
  kPuffer = 1 << 6,               // undo history and entry clipboard emptied
  kMausrad = 1 << 7,              // the mouse wheel back on the month grid
};

struct Menübefehl {
  const char16_t* name;  // the menu item, "mnuMitarbeiter"
  const char16_t* tag;   // written into the main window's Tag first; nullptr leaves it
  // Shows the window; true when it was shown (or the command succeeded), so that the
  // after-steps follow.
  bool (*befehl)(frmVelkora& f);
  unsigned danach;                   // Nachschritt values
  const char16_t* abschlussmeldung;  // shown after the after-steps; nullptr for none
};

// A click handler of the main window that does its whole command itself, as a row's
// command.
template <void (frmVelkora::*Klick)()>
bool Ganzer_Befehl(frmVelkora& f) {
  (f.*Klick)();
  return true;
}

// The display-permission and display-group commands (Anzeigemenues.cpp): false when a
// message took the dialog's place.
bool Anzeigeberechtigungen_zeigen(frmVelkora& f);
bool Anzeigegruppen_zeigen(frmVelkora& f);

// Every row of the table.
const std::vector<Menübefehl>& Menübefehle();
// The row of an item; nullptr when the item has none.
const Menübefehl* Menübefehl_zu(const QString& name);
// Runs the item's command with its Tag and after-steps (what a click on it does).
void Menübefehl_ausführen(frmVelkora& f, const QString& name);
// Connects every item of the table and the opening of the four menus.
void Menübefehle_verbinden(frmVelkora& f);
// Runs the after-steps on the main window.
void Nachschritte(frmVelkora& f, unsigned danach);
