#pragma once
// The employee file "Mitarbeiterdaten.dat" and the lookups on the employee table.
#include <QString>

extern int gPlanungsjahr;  // first year of the three-year window

void Mitarbeiterdaten_lesen();
// The administrators (and, when asked, first the privileged users) for messages.
QString ShowAdmins(bool mitPrivilegierten);
