#pragma once
// Export of what a window's grid shows into a text file with separated values (plain
// Windows-1252, CR LF), for a spreadsheet. Every view with a grid "msgFlexGrid" calls
// it on F12; the main window adds its visible day-sum rows.
#include <QString>
#include <QStringList>

class QWidget;
class Raster;

// The file's lines: the title line, the grid's rows (visible columns only) and, when
// given, the day-sum rows of at least one twip height. The separator inside a field
// becomes "," (or ";" when the separator is not ";"), CR and LF become blanks, the
// header loses its "- " and its "Name".
QStringList CSV_Zeilen(const QString& titel, const Raster& grid, const Raster* tagessummen, const QString& trenner);
// The locale's list separator, ";" when it gives none.
QString CSV_Trennzeichen();
// Asks for the file (starting in gExportordner) and writes the export of the window's
// grid; reports the result.
void CSV_Export(QWidget& fenster, const QString& titel);
