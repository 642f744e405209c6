#pragma once
// The monthly logbooks of the log folder.
#include <QString>
#include <QStringList>

extern bool gLogbuchPuffern;       // hold lines back instead of writing them
extern QStringList gLogbuchPuffer; // the held-back lines; the single element "NoData" when empty

// Kind 2 is an administrator line, any other kind an ordinary line.
void Logbuch_ergänzen(int art, const QString& text);
// "M": the previous month's logbook, anything else the current month's.
void Logbuch_bereinigen(const QString& welches);
void Logbuch_ÜStd_ergänzen(int art, const QString& text);
