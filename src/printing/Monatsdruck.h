#pragma once
// The printout of the month planner: the month the main window shows, one row per
// grid row in the screen's letters and colours, with its page head, the day sums
// and the legend when they are switched on.
#include <QString>

class Raster;

// What the printout reads of the main window: its three grids by row and column
// (the marking never moves), the tabs, and the month switch of the all-months job.
class Monatsdruckquelle {
 public:
  virtual ~Monatsdruckquelle() = default;
  virtual Raster& Monatsraster() = 0;    // the month grid
  virtual Raster& Kalenderwochen() = 0;  // the calendar-week strip
  virtual Raster& Tagessummen() = 0;     // the day sums
  virtual QString Jahr() const = 0;      // caption of the year tab
  virtual int Monat() const = 0;         // month tab, 0 to 11
  // Shows month tab i (the window loads and shows that month) and repaints.
  virtual void Monat_wählen(int i) = 0;
};
// The main window while it is open; nullptr otherwise.
extern Monatsdruckquelle* gMonatsdruckquelle;

bool Monatsübersicht_drucken(int exemplare);
void Monatsraster_drucken();
void Mitarbeiterzeile_drucken(const Raster& raster, int zeile);
