#pragma once
// The comment lines of a row of the month grid over the saved marking's days, as the
// undo stack records them: one line per run of days with the same comment, days
// without a comment included (their lines have an empty text), so that saving the
// lines again gives every day its own comment back and none to the others.
#include <QString>

// "K:" + key + ":" + first day "00" + "-" + last day "00" + ":" + text, several lines
// joined by "||".
QString Tabellenzeilenkommentar(int zeile);
