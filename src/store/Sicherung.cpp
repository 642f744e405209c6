#include "store/Sicherung.h"

bool Backup_erstellen(const QString&) { return false; }
bool Restore_aus_Backupdatei(const QString&, const QString&) { return false; }
void Alte_Dateien_löschen(const QString&, const QString&, int) {}
