#pragma once
// The printout of the sums overview: a shaded heading band with the code letters in
// their colours, one row per grid row, the total bold, portrait while fewer than 14
// buttons exist.
#include <QString>
#include <functional>

#include "platform/Haken.h"

class Raster;

// What the printout reads of the sums overview.
struct Summendruckquelle {
  // Row 0 the headings (column 0 the name, column c code button c), then the rows the
  // window shows, normally ending with the "Gesamtsumme" row.
  Haken<const Raster&()> gitter{"gSummendruckquelle.gitter"};
  Haken<QString()> vonDatum{"gSummendruckquelle.vonDatum"};
  Haken<QString()> bisDatum{"gSummendruckquelle.bisDatum"};  // the date boxes' texts
};
extern Summendruckquelle gSummendruckquelle;

bool Summenübersicht_drucken(int exemplare);
