#pragma once
// The printout of the logbook viewer's list: plain text columns, no shading, page
// after page in landscape, the administrators' or the users' columns.
#include <QString>
#include <functional>

#include "platform/Haken.h"

class Raster;

// What the printout reads of the logbook viewer: its grid as it shows it. Row 0 holds
// the window's headings and is not printed.
struct Logbuchdruckquelle {
  Haken<const Raster&()> gitter{"gLogbuchdruckquelle.gitter"};
};
// The logbook viewer while it is open; empty otherwise.
extern Logbuchdruckquelle gLogbuchdruckquelle;

// modus "B" the users' logbook, anything else the administrators'.
bool Logbuch_drucken(const QString& modus, int exemplare);
