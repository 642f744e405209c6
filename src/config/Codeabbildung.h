#pragma once
// Rewriting the stored day codes when the code-button table changes. Month record
// files store a button's number as a code character, so after buttons were deleted,
// added or moved every day code is carried from its old number to its new one by one
// mapping of characters: only the characters after the key of the "A:" lines of month
// record files change; comment lines and every other file stay as they are.
#include <QHash>
#include <QList>
#include <QString>
#include <vector>

struct Sicherungsblock;

// Old code character -> new code character; a character not in the map stays.
using Codeabbildung = QHash<QChar, QChar>;

// The code character of a button number (1 to 26), or a blank.
QChar Codezeichen(int nummer);

// The mapping of a save of the code-button editor: the old table had `alteAnzahl`
// buttons (erase button not counted), the ascending numbers in `gelöscht` were
// deleted and the new table has `neueAnzahl` buttons. A kept button's code moves down
// by the deleted buttons below it, a deleted button's days become blank and the old
// non-working-day mark (alteAnzahl + 2) becomes the new one (neueAnzahl + 2).
Codeabbildung Codeabbildung_Schaltflächen(int alteAnzahl, const QList<int>& gelöscht, int neueAnzahl);
// The mapping of moving button `von` to the place of button `nach`: the buttons in
// between close up by one toward `von`.
Codeabbildung Codeabbildung_Verschieben(int von, int nach);

// One month record line mapped: an "A:" line keeps everything up to and including the
// first ":" from its third character on; every other line is returned unchanged.
QString Tageszeile_umschlüsseln(const QString& zeile, const Codeabbildung& abbildung);
// The "A:" lines of every month record file (" Data.dat") block of a backup mapped.
void Sicherung_umschlüsseln(std::vector<Sicherungsblock>& blöcke, const Codeabbildung& abbildung);
// Writes blocks as a backup file (header, then "[name]", "[count]" and the lines).
void Sicherung_schreiben(const QString& pfad, const std::vector<Sicherungsblock>& blöcke);
