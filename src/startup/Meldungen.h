#pragma once
// The one message box of the program, the Yes/No question and the busy state.
#include <QString>
#include <functional>

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
// switch and the caption; the main window fills in its caption-dot timer. An empty
// hook is skipped.
struct Wartehaken {
  std::function<void()> eingabe_sperren;    // input of the active window off (remembers that window)
  std::function<void()> eingabe_freigeben;  // input of the window switched off before on again
  std::function<void()> punkte_starten;     // the caption-dot timer of the main window
  std::function<void()> punkte_stoppen;
  std::function<QString()> titel;  // caption of the waiting window
  std::function<void(const QString&)> titel_setzen;
};
extern Wartehaken gWartehaken;

// A caption ending in " . . ." loses everything from its first " - Bitte warten" on;
// any other caption stays as it is.
QString Titel_ohne_Warten(const QString& titel);
