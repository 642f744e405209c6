#pragma once
// The captions of the year overview's account block by element number (3 to 17 the
// vacation account, 18 to 28 special leave), without widgets: the labels show them
// and the printout reads them.
#include <map>

#include "views/Urlaubskonto.h"

// Y the shown year; werte null when no employee is chosen.
std::map<int, QString> Kontobeschriftung(int Y, const Kontoeinstellungen& k, const Kontowerte* werte,
                                         const Tagezähler& urlaub, const Tagezähler& sonderurlaub, bool zehntel);
