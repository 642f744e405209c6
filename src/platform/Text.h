#pragma once
// String helpers with the semantics the data files rely on.
#include <QString>

namespace text {

// Trimming removes blanks (character 32) only: character 160 is the grid's
// non-working-day mark and must survive.
QString trim(const QString& s);
QString ltrim(const QString& s);
QString rtrim(const QString& s);

// The value of a leading run of digits (after blanks and an optional sign), as a
// forgiving number conversion does; 0 when there is none. Never overflows: a value
// beyond the int range is clamped.
int zahl(const QString& s);

// True when s is one or more ASCII digits and nothing else.
bool nurZiffern(const QString& s);

// Case-insensitive wildcard match with '*' and '?', as directory patterns do.
bool passtMuster(const QString& name, const QString& muster);

}  // namespace text
