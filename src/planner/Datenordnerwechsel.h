#pragma once
// "Datei - Datenordner ändern": points the program at another data folder that holds
// data, or (administrators) moves the data into a new folder.
void Datenverzeichnis_ändern();
