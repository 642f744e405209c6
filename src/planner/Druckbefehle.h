#pragma once
// Printing from the main window: "&Drucken ...", Ctrl+P, Alt+P (quick print) and
// Ctrl+Shift+P (all months of the year), reached through the menu and key tables. The
// window serves the month printout as its source of grids and tabs.
#include <QString>

class frmVelkora;

// Makes the window the month printout's source and the print dialog's Tag.
void Druckbefehle_verbinden(frmVelkora& fenster);
// mode "E" the shown month, "G" every month of the shown year.
void Monatsansicht_drucken(const QString& modus);
