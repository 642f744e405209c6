#pragma once
// The one message box of the program, the Yes/No question and the busy state.
#include <QString>

#include "platform/Haken.h"

extern bool gBeschäftigt;  // busy state: the hourglass is on

// Beeps, ends the busy state and shows the text (exclamation icon, OK, "Velkora").
void Meldung(const QString& text);
// Yes/No question with the question icon and No preselected; true for Yes.
bool Frage(const QString& text, const QString& titel = QString());

// The hourglass is one switch, not a stack: one Sanduhr_aus ends any number of
// Sanduhr_ein.
void Sanduhr_ein();
void Sanduhr_aus();
// The busy state of long work: input of the active window off, the caption dots of
// the main window running, pending events served once.
void Sanduhr_Warten_ein();
void Sanduhr_Warten_aus();
// The screen's mouse pointer alone (hourglass or default), without the busy flag.
void Sanduhr_Mauszeiger(bool sanduhr);

// What the waiting state needs of the windows. The window helpers fill in the input
// switch and the caption (the program's wiring); the main window fills in its
// caption-dot timer when it loads and empties it when it goes. Each hook is optional,
// and an empty one is skipped: the busy state belongs to the libraries below the
// windows, which also run without any window (the store's workers of the
// multi-workstation runs, the start before the main window, the end after it), and
// then there is no input to lock, no caption and no dots.
struct Wartehaken {
  // Input of the active window off (remembers that window).
  Haken<void()> eingabe_sperren{"gWartehaken.eingabe_sperren"};
  // Input of the window switched off before on again.
  Haken<void()> eingabe_freigeben{"gWartehaken.eingabe_freigeben"};
  // The caption-dot timer of the main window.
  Haken<void()> punkte_starten{"gWartehaken.punkte_starten"};
  Haken<void()> punkte_stoppen{"gWartehaken.punkte_stoppen"};
  Haken<QString()> titel{"gWartehaken.titel"};  // caption of the waiting window
  Haken<void(const QString&)> titel_setzen{"gWartehaken.titel_setzen"};
};
extern Wartehaken gWartehaken;

// A caption ending in " . . ." loses everything from its first " - Bitte warten" on;
// any other caption stays as it is.
QString Titel_ohne_Warten(const QString& titel);
