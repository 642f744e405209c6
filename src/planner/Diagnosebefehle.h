#pragma once
// The support commands of the main window's function keys that need more than a line:
// the write test of the data folder and a data folder typed in as a path.

#include <QString>

class frmVelkora;

// Writes, and deletes again, a test file of its own in the data folder, and says
// whether that worked ("Test OK") or which step failed. The file's name is unique, so
// the test never touches a file of the program or of another workstation.
void CheckSchreibberechtigung();
// Asks for the folder of a share's mount point (an absolute path) and changes the data
// folder to it as "Datei - Datenordner ändern" would, without the folder dialog.
void UNC_Pfad_eingeben(frmVelkora& f);
// The name the write test gives its file (for tests).
QString Schreibtest_Dateiname();
