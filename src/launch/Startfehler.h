#pragma once
// The start repair of a missing, empty or damaged data file: with the user's consent
// it backs up the data folder, deletes the file, writes the default files, restores
// the file from the newest backup made before this run whose copy of it reads without
// damage (a month keeps what can be read of it), locks the program for the other users
// and ends the program. Lower units reach it through Startfehler_melden
// (startup/Programmabbruch.h).
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/Haken.h"
#include "store/Sicherung.h"

// Never returns.
[[noreturn]] void Startfehler(const QString& text, const QString& datei, const QString& protokoll);

// What the repair uses of the data store. Each member starts as the real function;
// tests put recording fakes in its place.
struct Reparaturdienste {
  Haken<bool(const QString& art)> backup_erstellen{"gReparaturdienste.backup_erstellen"};
  Haken<bool(const QString& sicherung, const QString& filter)> restore{"gReparaturdienste.restore"};
  // How a backup holds the file: not at all, damaged or undamaged.
  Haken<Kopie(const QString& sicherung, const QString& datei)> kopie{"gReparaturdienste.kopie"};
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

// The backups the start repair may restore from, newest first: those of kind T, M, A
// or E that were written before this run started (backups of this run hold the damage
// the run found). Full paths.
QStringList Sicherungen_vor_Programmstart(const QString& sicherungsordner);
