#pragma once
// Choosing, moving and restoring the data folder.
// At start: the data folder holds no data; offer to search for it or to reset.
void Datenverzeichnis_suchen();
