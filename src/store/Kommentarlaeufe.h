#pragma once
// The comments of one employee's days become comment lines by runs: each run of
// consecutive days with the same text is one comment line over its first and last day
// (of the form `Kommentarzeile` in store/Monatszeilen.h writes). A month rewrite writes
// the runs of the commented days; the comment state of a row that is to be put back
// takes every run of a period, those without a text too, so that the days that had
// none get none.

// Calls lauf(von, bis) for each run of consecutive days from `erster` to `letzter`
// whose texts in `tage` (indexed by the day, 1 to 31) are equal, in day order; runs
// of days without a text are runs too. `Text` is any string type with ==.
template <class Text, class Lauf>
void Kommentarläufe(const Text (&tage)[32], int erster, int letzter, Lauf&& lauf) {
  if (erster < 1) erster = 1;
  if (letzter > 31) letzter = 31;
  for (int d = erster; d <= letzter;) {
    int e = d;
    while (e < letzter && tage[e + 1] == tage[d]) ++e;
    lauf(d, e);
    d = e + 1;
  }
}
