#pragma once
// The monthly logbooks of the log folder: "yymm Velkora.log" with one line per change
// of the shared data, and "yymm ÜStunden.log" for the overtime files.
//
// A logbook line is "dd.mm.yy hh:nn:ss|user|" (plus "VelkoraAdmin|" for an
// administrator line) and the event text. The 18-character head is the date and
// time; from character 19 on a line names the event, and a line whose text ends in
// ":Storno" cancels the nearest earlier line with the same event.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "platform/Haken.h"

extern bool gLogbuchPuffern;        // hold lines back instead of writing them
extern QStringList gLogbuchPuffer;  // the held-back lines; the single element "NoData" when empty
// Whether each line also goes to a copy of the logbook in the temporary folder: a
// setting of the shared configuration, which sits above the logbook writer. Set by
// the start sequence and left by a reset of the state. Until then (a program of the
// store alone) there is no copy.
extern Haken<bool()> gLogbuchKopieImTempordner;

// Kind 2 is an administrator line, any other kind an ordinary line. While
// gLogbuchPuffern is set a line is held back; an empty text then writes the
// held-back lines out in one go. An empty text otherwise writes nothing.
void Logbuch_ergänzen(int art, const QString& text);
// A lock path that was no lock (a link, a folder) was removed: an administrator line
// names it, now or, while a logbook line or another file is being written, with the
// next line.
void Sperrverweis_gemeldet(const QString& pfad);
// "M": the previous month's logbook, anything else the current month's. Drops every
// cancelled line together with its ":Storno" line.
void Logbuch_bereinigen(const QString& welches);
// Kind 2 is an administrator line ("UStdAdmin|").
void Logbuch_ÜStd_ergänzen(int art, const QString& text);

// Which lines of a logbook are cancelled, index for index: each line that ends in
// ":Storno" and is long enough to hold the head and the suffix (25 characters), together
// with the nearest earlier line not yet cancelled whose event (the text from character
// 19) equals the ":Storno" line's event without the suffix, letter case included. A
// ":Storno" line without such a line cancels nothing. The lines may span several
// monthly files, read in month order; the clean-up and the logbook viewer share it.
std::vector<bool> Stornierte_Zeilen(const QStringList& zeilen);
