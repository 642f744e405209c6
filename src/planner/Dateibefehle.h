#pragma once
// The data-folder commands of the main window's file menu: change, export, import and
// restore, each followed by the main window's update to the data now behind it.
class frmVelkora;

// The click handlers: the whole command of the item (Menuebefehle.h).
void mnuDatenordner_ändern_Click(frmVelkora& f);
void mnuDatenexport_Click(frmVelkora& f);
void mnuDatenimport_Click(frmVelkora& f);
void mnuRecovery_Click(frmVelkora& f);

// The commands of the menu table: true when the data behind the main window changed,
// so that the window is brought up to date.
bool Datenordner_ändern(frmVelkora& f);
bool Datenordner_exportieren(frmVelkora& f);
bool Datenordner_importieren(frmVelkora& f);
// The backup chooser, then the import of the chosen backup.
bool Datenordner_wiederherstellen(frmVelkora& f);

// The report of a data-file problem found at start, shown with the first month: names
// the repaired file and bars users below administrator level while the repair's lock
// is set.
void Störungsmeldung_anzeigen();
