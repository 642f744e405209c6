#pragma once
// The stamp check of the dialogs that write the employee file or the configuration:
// a dialog takes the stamps this workstation last read or wrote the two files with
// when it opens, and before it changes anything it asks whether the files still
// carry them. When another workstation wrote one of them meanwhile, writing the
// dialog's copy would undo that workstation's change, so the dialog changes nothing.
#include <QDateTime>
#include <QString>

inline constexpr char16_t kStammdatenGeändert[] =
    u"Änderungen können nicht gespeichert werden, da die Daten inzwischen an einem anderen Arbeitsplatz geändert "
    u"wurden. Bitte rufen Sie den Menüpunkt erneut auf.";

class Stammdatenstand {
 public:
  // The stamps of the last own read or write (gMitarbeiterdatenZeit, gKonfigdatenZeit).
  Stammdatenstand();
  // False, after the message, when another workstation wrote the employee file (with
  // mitarbeiter) or the configuration (with konfiguration) since. Always true while
  // settings position 39 is 1.
  bool unverändert(bool mitarbeiter, bool konfiguration) const;
  // The same question without the message: true when a file no longer carries its stamp.
  bool fremdGeschrieben(bool mitarbeiter, bool konfiguration) const;

 private:
  QDateTime mMitarbeiter;
  QDateTime mKonfiguration;
};
