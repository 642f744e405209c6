#pragma once
// The help menu, F1 and F12 of the main window, the mouse wheel of its month grid and
// its busy caption.
class frmVelkora;

// Connects the wheel hook of the month grid and the caption timer.
void Hilfebefehle_verbinden(frmVelkora& f);
// F1 (any modifiers): the help; F12 (any modifiers): the CSV export of the shown month.
// True when the key was one of them. Rows of the main window's key table.
bool Hilfe_und_Export_Tasten(frmVelkora& f, int taste, int umschalt);

void mnuHilfe_Click(frmVelkora& f);
void mnuInfo_Click(frmVelkora& f);
