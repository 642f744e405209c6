#pragma once
// Whether the loaded data are still the untouched default data of a first start: no
// entry in any loaded month, the default code buttons of the country, one or the 31
// sample employees, no overtime file and a logbook of this month that holds only the
// line of the set-up.
bool Check_ob_Ausgangszustand();
