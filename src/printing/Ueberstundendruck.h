#pragma once
// The printout of the overtime list: portrait pages with the employee's name, four
// text columns and a footer on every page.
#include <QString>
#include <functional>

#include "platform/Haken.h"

class Raster;

// What the printout reads of the overtime overview and the year overview under it.
struct Überstundendruckquelle {
  // Rows 1 on: columns 0 date, 1 hours and minutes, 2 balance, 3 remark. Rows of
  // height 0 and merged rows (the "no overtime" message) are not printed.
  Haken<const Raster&()> gitter{"gÜberstundendruckquelle.gitter"};
  Haken<QString()> name{"gÜberstundendruckquelle.name"};  // the employee's name as the year overview shows it
};
extern Überstundendruckquelle gÜberstundendruckquelle;

bool Überstunden_drucken(int exemplare);
