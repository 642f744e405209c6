#pragma once
// What the display-permission and display-group dialogs share: the employee groups
// (the headings of the employee list) and their tick boxes laid out in columns.
#include <QString>
#include <QStringList>
#include <vector>

class QCheckBox;
class QWidget;

// A heading as a caption: every "&" doubled, so it is shown and not taken as an
// access key.
QString Gruppenbeschriftung(const QString& überschrift);

// How many boxes a column holds: 10 for 16 to 20 groups, else 15.
int Gruppen_Spaltenhöhe(int anzahl);

struct Gruppenspalten {
  int letzterVersatz = 0;     // left offset of the last column, twips
  int letzteBreite = 0;       // widest caption of the last column, twips
  int höchsteZeilenzahl = 0;  // the most boxes in one column
};

// Places boxes 1 to n (element 0 unused) in columns from the top given (twips): each
// column's offset is the previous one + its widest caption + 600; each box at offset +
// 300, 360 twips below the one before, as wide as its caption + 600.
Gruppenspalten Gruppen_anordnen(const std::vector<QCheckBox*>& boxen, int oben);
