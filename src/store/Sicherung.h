#pragma once
// Backups of the data folder and the logbooks, and restoring from them.
#include <QString>

// Writes one backup of the given kind; true on success.
bool Backup_erstellen(const QString& art);
// Writes the files held in a backup back (filter empty: all, "NoLogs": the data
// files, a file name: that file only); true on success.
bool Restore_aus_Backupdatei(const QString& sicherung, const QString& filter);
// Removes the oldest files of one kind, keeping the newest `behalten`.
void Alte_Dateien_löschen(const QString& ordner, const QString& muster, int behalten);
