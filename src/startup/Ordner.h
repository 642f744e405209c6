#pragma once
// The folder pointer file "Velkora.dat" and the base folder.
void Velkoradat_lesen();
void Velkoradat_schreiben();
void Velkoradat_löschen(bool mitMeldung);
void SetPublicPfad();
