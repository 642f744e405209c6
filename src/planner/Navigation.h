#pragma once
// Moving between the years and months of the main window and between display groups;
// keeping the shown month's file compact.
#include <QString>
#include <QStringList>

#include "planner/Monatsquelle.h"

// A month file holding more entry lines than this many per row of the employee table
// is rewritten when it is shown.
inline constexpr double kVerdichtungsschwelle = 1.5;
