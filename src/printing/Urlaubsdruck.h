#pragma once
// The printout of the vacation and special-leave overview: the name and the figure
// columns under a three-line heading that names the periods of the account.
#include <QList>
#include <QString>
#include <functional>

#include "platform/Haken.h"

class Raster;

// What the printout reads of the vacation overview.
struct Urlaubsdruckquelle {
  // Row 0 the headings; columns 0 name, 1 to 9 the figures (4 and 7 are spacers).
  Haken<const Raster&()> gitter{"gUrlaubsdruckquelle.gitter"};
  Haken<QString()> datum{"gUrlaubsdruckquelle.datum"};             // the reference date as displayed
  Haken<QString()> titel{"gUrlaubsdruckquelle.titel"};             // the heading above the grid
  Haken<bool()> sonderurlaub{"gUrlaubsdruckquelle.sonderurlaub"};  // the window shows special leave
};
extern Urlaubsdruckquelle gUrlaubsdruckquelle;

bool Urlaubsübersicht_drucken(int exemplare);

// The three heading lines of the printed figure columns, in printed order, for the
// displayed reference date, the vacation-year start month and the mode.
struct Urlaubsspalte {
  int spalte = 0;  // grid column
  QString zeile1, zeile2, zeile3;
};
QList<Urlaubsspalte> Urlaubsspalten(const QString& datum, int beginn, bool sonderurlaub);
