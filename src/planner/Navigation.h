#pragma once
// Moving between the years and months of the main window and between display groups;
// keeping the shown month's file compact.
#include <QString>
#include <QStringList>
#include <functional>

#include "planner/Monatsquelle.h"

// The report of a data-file problem found during the start, shown with the first month.
extern std::function<void()> gStörungsmeldung_anzeigen;

// A month file holding more entry lines than this many per row of the employee table
// is rewritten when it is shown.
inline constexpr double kVerdichtungsschwelle = 1.5;

// The lines of a compact month file after its three header lines: one "A:" line per
// employee of the table (in its order) with at least one entry, each followed by its
// comments as runs of days with the same text. Lines of users not in the table, empty
// entry lines and comments on days without an entry are dropped.
QStringList Monat_verdichten(const Monatsinhalt& monat);

// Rewrites the shown month's file compactly (today's version, older ones removed).
void Erfassungsdatei_defragmentieren();
