#pragma once
// Days not worked, declared from the month grid: an employee's own non-working-day
// mark (a double click on a day cell), and an administrator's non-working days and
// holidays of a whole month (Shift or Ctrl and a right click on the day header), kept
// in the exceptions line of the month file.
#include <QString>

// The double click on a day cell: sets or removes the employee's non-working-day mark
// of that day; the entry clipboard then holds the mark.
void Arbeitsfrei_kennzeichnen();

// The right click on a day header with Shift alone (art 1: a non-working day of the
// month) or Ctrl alone (art 2: a holiday of the month), or back; spalte is the day.
void Wofeiausn_bearbeiten(int art, int spalte);

// The exceptions line with day `tag` added to (hinzufügen) or removed from one of its
// parts (art 1 the weekend part, art 2 the holiday part). Adding a day already listed
// and removing one not listed change nothing.
QString Ausnahmezeile_mit_Tag(const QString& zeile, int art, int tag, bool hinzufügen);
