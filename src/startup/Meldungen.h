#pragma once
// The one message box of the program, the Yes/No question and the busy state.
#include <QString>

extern bool gBeschäftigt;  // busy state: the hourglass is on

// Beeps, ends the busy state and shows the text (exclamation icon, OK, "Velkora").
void Meldung(const QString& text);
// Yes/No question with the question icon and No preselected; true for Yes.
bool Frage(const QString& text, const QString& titel = QString());

void Sanduhr_ein();
void Sanduhr_aus();
void Sanduhr_Warten_ein();
void Sanduhr_Warten_aus();
// The screen's mouse pointer alone (hourglass or default), without the busy flag.
void Sanduhr_Mauszeiger(bool sanduhr);
