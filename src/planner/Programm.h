#pragma once
// Runs the program in an existing QApplication: wires the windows into the start
// sequence, runs it and then the event loop. Returns the exit code.
class QApplication;
int Programm_ausführen(QApplication& app);
// Only the wiring (the prompts, the windows, the end), for drivers that run the start
// sequence themselves.
void Programm_verdrahten();
// Two parts of it, for tests and drivers that load the main window without the rest
// (the prompts, the end): the overviews' links (gAnsichtshaken) and the dialogs' links
// into the help window and the comment dialog.
void Ansichtshaken_verdrahten();
void Dialoghaken_verdrahten();
