#pragma once
// The busy caption: while a long operation runs, the caption of the window in front
// gets " - Bitte warten . . ." with a row of dots that grows every 1.5 s (the main
// window's timer tmrTimer2, started and stopped by the busy state).
#include <QString>
#include <functional>

class frmVelkora;

// The caption of the next tick: the suffix appended, or one more " ."; when the caption
// plus 1200 twips is wider than the window, it falls back to three dots.
QString Wartetitel_nächster(const QString& titel, const std::function<int(const QString&)>& breiteTwips,
                            int fensterbreiteTwips);
// One tick on the active window (the main window when none is active).
void tmrTimer2_Timer(frmVelkora& f);
// Connects the timer and lets the busy state start and stop it.
void Wartetitel_verbinden(frmVelkora& f);
