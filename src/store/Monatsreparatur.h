#pragma once
// Mending a damaged month record file without losing its entries: what can be read
// of the file stays, and what cannot be read comes from the newest backup that holds
// the month undamaged. A month a backup holds is never replaced by an empty one.
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

// What the start repair writes for a damaged month file, from the file's bytes as they
// were before it was deleted: every entry and comment line that can be read (a last
// line cut off and damaged lines dropped, each named in the administrator logbook).
// A file whose header names another month, or that keeps no entry or comment line,
// gives the month from the newest undamaged backup instead. Nothing when neither the
// file nor any backup has anything to give.
std::optional<QStringList> Monatsinhalt_reparieren(const QString& pfad, const QByteArray& roh);

// Writes the repaired month (Monatsinhalt_reparieren) as today's version under the
// month lock, keeping lines another workstation appended to it meanwhile. False when
// there was nothing to write or it could not be written.
bool Monatsdatei_reparieren(const QString& pfad, const QByteArray& roh);
