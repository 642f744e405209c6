#pragma once
// The comment lines of a row of the month grid over the saved marking's days, as the
// undo stack records them: the commented run with its text, and lines with an empty
// text for the marked days before and after it.
#include <QString>

// "K:" + key + ":" + first day "00" + "-" + last day "00" + ":" + text, several lines
// joined by "||".
QString Tabellenzeilenkommentar(int zeile);
