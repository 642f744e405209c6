#pragma once
// The holidays, weekend and country dialogs reached from the main window and the about
// box.

// The help of the holidays and weekend dialogs and the about box's country dialog
// (administrators only, which the about box checks).
void Feiertagsdialoge_verdrahten();
