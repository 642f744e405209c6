#pragma once
// Runs the program in an existing QApplication: wires the windows into the start
// sequence, runs it and then the event loop. Returns the exit code.
class QApplication;
int Programm_ausführen(QApplication& app);
// Only the wiring (the prompts, the windows, the end), for drivers that run the start
// sequence themselves.
void Programm_verdrahten();
