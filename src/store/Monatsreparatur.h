#pragma once
// Mending a damaged month record file without losing its entries: what can be read
// of the file stays, and only a file of which nothing can be read comes from the newest
// backup that holds the month undamaged. A month a backup holds is never replaced by
// an empty one.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The lines of a month as the newest backup holds them (kinds T, M, A and E, by file
// time) whose copy of it reads without damage: the month's own header, the opaque line,
// the exceptions line and only entry and comment lines after them. Nothing when no
// backup holds such a copy. `sicherung` gets the backup's file name.
std::optional<QStringList> Monat_aus_Sicherungen(const QString& monatsschlüssel, QString* sicherung = nullptr);

// The one rule for every path that is about to write a month afresh (the start repair,
// the year change, a restore): `inhalt` (the whole new file) when it holds an entry or
// comment line; otherwise, when a backup holds the month with entries (see
// Monat_aus_Sicherungen), those lines, so that the month is never emptied while a
// backup still has it; otherwise `inhalt`.
QStringList Monat_nie_leer(const QString& monatsschlüssel, const QStringList& inhalt);

// A copy of a month's lines (a backup's) checked as the start checks a month file: its
// own header, three lines at least, and after them entry and comment lines only (empty
// lines, which month files tolerate, left out). Nothing when it holds damage.
std::optional<QStringList> Monatskopie_unbeschädigt(const QString& monatsschlüssel, const QStringList& zeilen);

// What the start repair writes for a damaged month file, from the file's bytes as they
// were before it was deleted. The file's name says which month it is: a header that
// names another month or cannot be read is written anew from it, and every line that
// reads as an entry or comment line is kept, also one that stands where the opaque or
// the exceptions line belongs. A last line cut off and damaged lines are dropped; the
// administrator logbook names each line replaced and dropped. Only a file of which no
// entry line can be read gives way to the month from the newest backup whose copy of it
// reads without damage. `ohneHeileKopie`: the month keeps no entry or comment line and
// no backup holds an undamaged copy of it.
struct Monatsreparatur {
  QStringList zeilen;
  bool ohneHeileKopie = false;
};
Monatsreparatur Monatsinhalt_reparieren(const QString& pfad, const QByteArray& roh);

// Writes the repaired month (Monatsinhalt_reparieren) as today's version under the
// month lock, keeping lines another workstation appended to it meanwhile; with no
// undamaged copy anywhere it says so. False when it could not be written.
bool Monatsdatei_reparieren(const QString& pfad, const QByteArray& roh);
