#pragma once
// What the list printouts (logbook, sums, vacation, overtime) share: the grid's rows
// page after page with the page head repeated, a footer on every full page and on the
// last one, and the portrait footer of the sums and overtime lists.
#include <functional>

// The parts of one list printout. Each is called while its copy's job is open, so it
// reads the page values (gSeite) of that copy.
struct Listenblatt {
  std::function<void()> kopf;                     // the head of every page
  std::function<void(int r, bool letzte)> zeile;  // grid row r
  std::function<bool()> voll;                     // after a row: the page is full
  std::function<void(int seite)> fuß;             // closes a full page and the last one
};

// Prints rows 1 to zeilen - 1 (row 0 holds the headings) in `exemplare` copies, each
// its own job; false when a job could not be opened.
bool Liste_drucken(int exemplare, int zeilen, const Listenblatt& blatt);

// The portrait footer: a rule, the page number at the left, today's date at the right.
// `links` moves it left, `breiter` widens it to the right and raises it as much,
// `abzug` raises it and the vertical shift `v` lowers it three times.
void Hochformat_Fußzeile_drucken(int seite, double links, double breiter, double abzug, double v);
