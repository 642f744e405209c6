#pragma once
// The main window's own clipboard of day codes, independent of the system clipboard.
// Ctrl and a right click on the month grid copy the marked day cells; Shift and a right
// click paste them at the clicked cell as if each code had been applied with its code
// button. A block that runs past the end of the month can be continued in the next
// month, for the same employees wherever their rows stand there.
#include <QString>
#include <QStringList>

// mZwischenablage: one element per copied employee row, one code character per copied
// day (a blank for no entry); the single element "NoEntry" when empty.
const QStringList& Zwischenablage();
// The clipboard becomes one code character (a code button or the non-working-day mark
// was applied).
void Zwischenablage_setzen(const QString& codezeichen);
// The clipboard becomes "NoEntry".
void Zwischenablage_leeren();

// Ctrl and a right click: copies the marked cells.
void Eintrag_kopieren();
// Shift and a right click: pastes at the grid's mouse row and column.
void Eintrag_einfügen();
// Pastes the clipboard with its first pasted character at day column
// ersterTagVersatz + 1 and its first element in grid row zeilenversatz + 1 (heading rows
// inside the block are passed over), leaving out `überspringen` leading characters of
// every element. `fertig`: the paste was carried out (False when refused or cancelled).
void Eintrag_einfg(int ersterTagVersatz, int zeilenversatz, int überspringen, bool& fertig);

// The message for a clipboard row whose employee the month pasted into does not show.
QString Einfügen_ohne_Mitarbeiter_Meldung(const QString& name);
