#pragma once
// The default data of a new data folder: every missing default file is written,
// existing files are never overwritten.
#include <QString>

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
