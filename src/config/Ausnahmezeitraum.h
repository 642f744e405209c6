#pragma once
// What the holidays and weekend dialogs ask of the month window: a change applies from
// the first day of the current month on, so the months before it keep what they had
// once they hold data, and data already entered after it may need correcting.
#include <QString>

// The current month's index in the window (1 = January of the planning year).
int Aktueller_Monatsindex();
// The data folder is at least two whole months old and a month before the current one
// holds an entry: a change must freeze those months.
bool Vergangene_Monate_einfrieren();
// A month after the current one holds an entry.
bool Künftige_Daten_vorhanden();
// The first day of the current month as displayed ("01.12.26").
QString Wirksamkeitsdatum();
// " (Änderungen werden ab 01.12.26 wirksam)" while past months are frozen, else empty.
QString Wirksamkeitshinweis();
