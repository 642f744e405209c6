#pragma once
// The shown month in the grids of the main window: the calendar-week strip, the month
// grid with one row per visible employee and group heading, and the day sums. Works
// on the grid models only, so that it runs the same in the window, in tests and in
// the benchmark.
#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

#include "planner/Monatsquelle.h"
#include "platform/Raster.h"
#include "store/Erfassungsdaten.h"

// The comment text of each cell of the month grid (rows 1 to the last, days 1 to 31),
// empty when the cell has none. Rebuilt on every display.
class Kommentarmarken {
 public:
  void dimensionieren(int zeilen);  // rows 1 to zeilen, all empty
  int zeilen() const { return mZeilen; }
  QString text(int zeile, int tag) const;
  void setzen(int zeile, int tag, const QString& text);

 private:
  int mZeilen = 0;
  std::vector<QString> mTexte;
};
extern Kommentarmarken gKommentarMarken;

class Monatsanzeige {
 public:
  Monatsanzeige(Raster& grid, Raster& kalenderwochen, Raster& tagessummen);

  // Steps the window adds: fitting the grid heights after the number of rows changed,
  // and removing the marking (which also switches painting back on).
  std::function<void()> zeilenzahl_geändert;
  std::function<void()> markierung_aufheben;
  // Whether the day header takes its two-line form, as the window's layout decided
  // it from the header font; without it, day columns wider than 360 twips wrap.
  std::function<bool()> kopf_zweizeilig;

  // The row count for which the grid was last laid out; 0 before the first layout.
  int zeilenLetztesLayout = 0;

  // Redisplays the month gMonatsschlüssel. `beschäftigt`: the caller shows the busy
  // state already, so no hourglass of its own on a slow share.
  void anzeigen(bool beschäftigt);
  // The cells of every employee row from the month record, the comment marks and the
  // day-sum counts.
  void Daten_in_Tabellenfeld_ausgeben();

  // What the last display read.
  const Monatsinhalt& monat() const { return mMonat; }
  // How many visible cells of day `tag` carry button `knopf`.
  int tagessumme(int knopf, int tag) const;

 private:
  void Kalenderwochen(int jahr, int monat, int tage);
  void Zeilen_anlegen();

  Raster& mGrid;
  Raster& mKaWo;
  Raster& mTaSu;
  Monatsinhalt mMonat;
  int mKnöpfe = 0;
  std::vector<int> mSummen;  // (knopf - 1) * 31 + (tag - 1)
};

// The header text of day `tag` of a month: weekday abbreviation, separator, day.
QString Tageskopf(int jahr, int monat, int tag, bool zweizeilig);
