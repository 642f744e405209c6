#pragma once
// Backups of the data folder and the logbooks, and restoring from them.
//
// A backup file lies in the backup folder and is named "yymmdd hhnnss K.dat" (K the
// kind letter). Every line is line-encoded: "[VelkoraBackup]", then for every data
// file (of a month its newest version) and logbook a block of "[name]", "[n]" and the
// file's n lines.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// The name of the backup just written, or the one picked in the backup chooser
// (empty = cancelled).
extern QString gSicherungsdatei;

// Writes one backup of the given kind; true on success. Of every month the backup
// holds one whole version, the newest, even while other workstations write the month
// anew meanwhile; a month whose version cannot be read makes no backup at all: false,
// no file, and an administrator logbook line that says so.
bool Backup_erstellen(const QString& art);
// Called with the path of every file of the data and log folders a backup is about to
// read, after the folder was listed: for tests, to change the folder in between.
extern std::function<void(const QString& pfad)> gSicherung_vor_dem_Lesen;
// The start's monthly or daily backup: made only when the backup folder holds no file
// matching any of the patterns, checked again under the backup folder's lock, so that
// workstations starting at the same moment make one backup between them. True when
// this call made it.
bool Backup_erstellen_wenn_fehlend(const QString& art, const QStringList& muster);
// Writes the files held in a backup back. An empty path takes the newest backup of
// kind T, M, A or E. Filter empty: every file; "NoLogs": the data files only; a file
// name: that file only (the start repair picks a backup whose copy of it reads without
// damage, Kopie_in_Sicherung). Nothing is written unless the whole backup reads correctly.
// Every file is written beside its target, read back, and all are put in place
// together: on any failure the folders are as before and the message says so.
bool Restore_aus_Backupdatei(const QString& sicherung, const QString& filter);
enum class Übernahme { Ersetzt, Unverändert, Inkonsistent };
// The whole restore of an import or of a backup point. It first checks the backup:
// every name is a file of the data or log folder (matched regardless of letter case
// and written in its own form), none twice, no month version dated after today, the
// files the start needs are there; of a month with several versions only the newest
// is written. The data files and logbooks the backup does not hold go in the same
// step. Inkonsistent when putting the files in place failed and so did going back
// (nothing said yet).
Übernahme Sicherung_übernehmen(const QString& sicherung);
// One file held in a backup: its name and its lines.
struct Sicherungsblock {
  QString name;
  QStringList zeilen;
};
// Whether the lines of a data file, as a backup holds them, read without damage by the
// rules the start reads the live file with: a month record file and the employee and
// configuration files by their readers' checks, the other data files by their header.
bool Kopie_lesbar(const QString& name, const QStringList& zeilen);
// How a backup holds one data file (its name in any letter case): not at all (or the
// file is no backup), damaged, or undamaged by Kopie_lesbar. Of a month the newest
// version it holds counts.
enum class Kopie { Fehlt, Beschädigt, Heil };
Kopie Kopie_in_Sicherung(const QString& sicherung, const QString& name);
// The message of a repair that found no undamaged copy of a file in any backup;
// `standard`: the default version of the file stands in its place.
QString Keine_heile_Kopie_Meldung(const QString& name, bool standard);
// Reads and checks a whole backup without writing anything; false when it is not one
// (its header, any block's name or count, a line the program cannot have written).
bool Sicherung_einlesen(const QString& pfad, std::vector<Sicherungsblock>& blöcke);
// Removes the oldest files of one kind, keeping the newest `behalten`.
void Alte_Dateien_löschen(const QString& ordner, const QString& muster, int behalten);

// The backup points the backup chooser lists, as "key|file name", newest first: in
// look-back mode only year-change backups, otherwise neither year-change nor repair
// backups (nor the temporary import copy). The key is the date and time of the name
// (nachName) or of the file's time stamp, as yymmddhhnnss.
QStringList Sicherungspunkte(const QString& ordner, bool nachName, bool rückblick);
// "Sicherung vom <date>, hh:mm:ss Uhr" for an entry of that list (date and time of its key).
QString Sicherungspunkt_Text(const QString& eintrag);
