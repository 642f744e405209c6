#pragma once

// Builds an April month grid the way the month display lays it out, for tests that drive
// the grid without loading a month: header row, one row per person (a heading when the
// user ID is empty), the user ID in the hidden column 32, day cells in colour 1.

#include <QString>
#include <vector>

#include "platform/Raster.h"
#include "store/Konfigdaten.h"

struct Person {
  QString name;
  QString benutzer;  // empty: a heading
};

inline void Monatsraster_aufbauen(Raster& g, const std::vector<Person>& leute) {
  g.setRedraw(false);
  g.Clear();
  g.setRows(1);
  g.setCols(33);
  g.setTextMatrix(0, 0, QStringLiteral("Name"));
  for (int d = 1; d <= 30; ++d) g.setTextMatrix(0, d, QStringLiteral("X %1").arg(d));
  for (const Person& p : leute) {
    g.AddItem(p.name);
    const int r = g.Rows() - 1;
    g.setTextMatrix(r, 32, p.benutzer);
    g.setCellBackColor(r, 0, gGrundfarben[p.benutzer.isEmpty() ? 5 : 4]);
    for (int d = 1; d <= 31; ++d) {
      g.setCellForeColor(r, d, gGrundfarben[1]);
      g.setCellBackColor(r, d, gGrundfarben[1]);
    }
  }
}
