#pragma once
// The printout of the year overview: one landscape page per employee with the
// coloured year grid, the vacation account, the day sums under their code boxes and
// the legend, exactly as the window shows them.
#include <QString>
#include <functional>

#include "platform/Haken.h"

class Raster;

// What the printout and the all-employees job read of the year overview window.
struct Jahresdruckquelle {
  Haken<int()> anzahl{"gJahresdruckquelle.anzahl"};      // entries of the name list
  Haken<void(int)> wählen{"gJahresdruckquelle.wählen"};  // shows entry i (redisplayed on return)
  Haken<QString()> name{"gJahresdruckquelle.name"};      // the shown entry's text
  Haken<QString()> jahr{"gJahresdruckquelle.jahr"};      // the year shown
  // The year grid: row 0 the headings, rows 1 to 12 the months; column 0 the month
  // name, columns 1 to 31 the days.
  Haken<const Raster&()> gitter{"gJahresdruckquelle.gitter"};
  // The caption of a label element by its number ("" for one that does not exist),
  // and the highest element number.
  Haken<QString(int element)> beschriftung{"gJahresdruckquelle.beschriftung"};
  Haken<int()> letztesElement{"gJahresdruckquelle.letztesElement"};
  // Special leave is in use: the account block takes its wider layout.
  Haken<bool()> sonderurlaub{"gJahresdruckquelle.sonderurlaub"};
  // Called with true before the pages of every employee are made one after another and
  // with false after: in between, the window may read each month only once.
  Haken<void(bool)> serie{"gJahresdruckquelle.serie"};
};
// The year overview while it is open; empty otherwise.
extern Jahresdruckquelle gJahresdruckquelle;

// True when the pages were printed. True also for 0 copies.
bool Jahresübersicht_drucken(int exemplare);

// Waits for the files of the all-employees job still being written (see Pdf_Serie);
// one that failed is reported as a print error of the printout. False then.
bool Jahresübersichten_abwarten();
