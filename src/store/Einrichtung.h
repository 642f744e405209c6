#pragma once
// The default data of a new data folder: every missing default file is written,
// existing files are never overwritten.
#include <QString>
#include <memory>

class Dateisperre;

void Setup_Datenordner();
// The three-digit telephone code of the workstation's country ("049").
QString Ländercode_ermitteln();
// Fills the 16 template holiday definitions and the country name gLand from the
// country holiday master file beside the program.
void VelkoraFeiertageDat_lesen(const QString& ländercode);
void Inst_Konfigdaten_schreiben();
void Inst_Mitarbeiterdaten_schreiben();
void Inst_Feiertage_schreiben();
void Inst_Erfassungsdateien_anlegen();

// The folder-wide lock of a first start: workstations starting together on an empty
// data folder set it up once, the others wait for it and then find it set up, with one
// folder id line in every file. Held for its lifetime (nested: shared); the set-up
// freshens it while it writes.
inline constexpr double kEinrichtungssperreWartezeit = 120.0;
class Einrichtungssperre {
 public:
  Einrichtungssperre();
  ~Einrichtungssperre();
  Einrichtungssperre(const Einrichtungssperre&) = delete;
  Einrichtungssperre& operator=(const Einrichtungssperre&) = delete;
  // Taken over from a workstation that went away in the middle of a set-up: the
  // set-up is to be finished.
  bool übernommen() const;

 private:
  std::unique_ptr<Dateisperre> mSperre;
};
// Whether a first start of the data folder is running (its lock file exists).
bool Einrichtung_läuft();
