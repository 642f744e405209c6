#pragma once
// The data-folder commands of the main window's file menu: change, export, import and
// restore, each followed by the main window's update to the data now behind it.
class frmVelkora;

// Connects the four menu items.
void Dateibefehle_verbinden(frmVelkora& f);
// Availability of the four items: export, import and restore for administrators only,
// none of the four in look-back mode. Part of the main window's menu availability.
void Dateibefehle_aktivieren(frmVelkora& f);

void mnuDatenordner_ändern_Click(frmVelkora& f);
void mnuDatenexport_Click(frmVelkora& f);
void mnuDatenimport_Click(frmVelkora& f);
void mnuRecovery_Click(frmVelkora& f);

// The report of a data-file problem found at start, shown with the first month: names
// the repaired file and bars users below administrator level while the repair's lock
// is set.
void Störungsmeldung_anzeigen();
