#pragma once
// Saving the shown month from the main window: one changed entry or comment line at a
// time, or the lines held back during a multi-row change in one go, and the compaction
// of a month file that has grown from appended lines. The file work itself (month
// lock, append or rewrite, removing older versions, the own stamp) is the month
// writer's (store/Monatsdatei.h).
#include <QChar>
#include <QMap>
#include <QString>
#include <QStringList>

#include "store/Monatsdatei.h"

// The month lines held back while gLogbuchPuffern is set, in order; the single element
// "NoData" when empty (like gLogbuchPuffer).
extern QStringList gUndoPuffer;

// Whether month lines are held back for the one save at the end of a multi-row change.
bool Zeilen_zurückgehalten();

// Saves one line of the shown month (gMonatsschlüssel). A non-empty line ("A:" or
// "K:") is held back in gUndoPuffer while gLogbuchPuffern is set, else written. An
// empty line while gLogbuchPuffern is set writes the held-back lines; an empty line
// otherwise rewrites the month compactly. The program lock is checked first (a barred
// user's program ends). False when the month writer refused the save (another
// workstation held the month too long; the user has been told): the own stamp is then
// forgotten, so the next change check shows the month as it is on disk.
//
// With `vorher`, the row's entry line (or its 31 code characters) as it was before the
// change, an "A:" line is a change of the days in which the two differ: the month
// writer lays just these days over the employee's newest row in the file, so that
// another workstation's entry on other days of the same row is kept. Every path that
// changes a row should pass it (entry, erase, double click, paste, undo, range
// dialog); without it the line is written whole.
bool Datensatz_speichern(const QString& zeile, const QString& vorher = QString());
// The same change given as the days it sets: these days (1 to 31) of the employee's
// row become these code characters (a blank empties a day); every other day stays as
// the newest row in the month file has it.
bool Tage_speichern(const QString& benutzer, const QMap<int, QChar>& tage);

// Rewrites the shown month's file compactly, after a daily backup for privileged users
// and administrators (a failed backup is logged and the compaction goes on). Nothing
// while a data-file problem is pending.
void Erfassungsdatei_defragmentieren();

// The warning of a save after which a version of the month dated after today is still
// the newest, for the display date of that day.
QString Datumskorruption_Meldung(const QString& anzeigedatum);
