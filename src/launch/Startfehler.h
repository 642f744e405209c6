#pragma once
// The start repair of a missing, empty or damaged data file: with the user's consent
// it backs up the data folder, deletes the file, writes the default files, restores
// the file from the newest backup made before this run, locks the program for the
// other users and ends the program. Lower units reach it through Startfehler_melden
// (startup/Programmabbruch.h).
#include <QByteArray>
#include <QString>

#include "platform/Haken.h"

// Never returns.
[[noreturn]] void Startfehler(const QString& text, const QString& datei, const QString& protokoll);

// What the repair uses of the data store. Each member starts as the real function;
// tests put recording fakes in its place.
struct Reparaturdienste {
  Haken<bool(const QString& art)> backup_erstellen{"gReparaturdienste.backup_erstellen"};
  Haken<bool(const QString& sicherung, const QString& filter)> restore{"gReparaturdienste.restore"};
  Haken<void()> setup_datenordner{"gReparaturdienste.setup_datenordner"};
  Haken<void()> datenverzeichnis_suchen{"gReparaturdienste.datenverzeichnis_suchen"};
  Haken<void()> konfigdaten_lesen{"gReparaturdienste.konfigdaten_lesen"};
  // Writes a damaged month back from what can be read of it (its bytes before it was
  // deleted) or from a backup; false when nothing could be written.
  Haken<bool(const QString& datei, const QByteArray& roh)> monat_reparieren{"gReparaturdienste.monat_reparieren"};
};
extern Reparaturdienste gReparaturdienste;
// The real functions, as gReparaturdienste holds them at start.
Reparaturdienste Reparaturdienste_Standard();

// The backup the start repair restores from: the newest of kind T, M, A or E that was
// written before this run started (backups of this run may already hold the damage).
// Empty when there is none. Returns the full path.
QString Sicherung_vor_Programmstart(const QString& sicherungsordner);
