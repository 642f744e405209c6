#pragma once
// Holidays, weekend, school holidays and the exception markers of month files.
//
// Which days of a month are not worked follows from the holiday definitions of
// "Feiertage.dat" (evaluated for the three years of the window), the weekend
// (weekday codes "Mo".."So") and the exceptions line of each month record file,
// which freezes what applied to a past month and carries single extra days.
// The lists below are 1-based: element 0 is unused.
#include <QString>
#include <QStringList>
#include <functional>

extern QString gLand;                       // country or region of the holiday set; empty = none
extern QStringList gFeiertagsdefinitionen;  // [1..16] template definitions, [17..] further holidays "dd.mm."
extern QStringList gFeiertagsdaten;         // [1..m] "yymmdd:Name" or "yymmdd"; a single "000000" when none
extern QString gFeiertagsTabelle;           // "yymmdd|" per entry of gFeiertagsdaten
extern QStringList gFerientage;             // [1..k] "yymm:" + 31 day flags, or a single "NoData"
extern int gFerienIndex;                    // entry of the shown month in gFerientage, 0 = none
extern qint32 gFerienfarbe;                 // colour of school-holiday days (BBGGRR)

extern QString gMonatsschlüssel;  // yymm of the shown month

// The empty template definition.
inline const QString kLeereFeiertagsdefinition = QStringLiteral("0:000000:");

void Feiertage_lesen();
void Feiertage_konvertieren();
void Feiertage_schreiben();
void Feiertage_berechnen();
void Ferientage_lesen();
void Ferientage_suchen();
bool CheckFeiertag(int tag);
bool CheckWochenende(int tag);
void Ausnahmedaten_in_Erfassungdateien_übernehmen(const QString& art, const QString& wert);

// --- The evaluation underneath, free of global state. ---

// Evaluates columns 3 to 8 of a template definition (a fixed date "dd.mm." or a rule)
// for a calendar year: "dd.mm.yy", or empty when the text is no valid date or rule.
QString Feiertagsregel_auswerten(const QString& regel, int jahr);
// The holidays of the years erstesJahr .. erstesJahr + 2 from 1-based definitions, as
// gFeiertagsdaten holds them (1-based, a single "000000" when there is none).
QStringList Feiertage_ermitteln(const QStringList& definitionen, int erstesJahr);
// The holiday search text of computed holidays: "yymmdd|" per entry.
QString Feiertagstabelle_bilden(const QStringList& feiertagsdaten);
// The definitions of a holiday file from its fourth line on, made whole: always 16
// template definitions (missing ones empty), then the further holidays. A bare
// "dd.mm." line starts the further holidays even before the 16th line.
QStringList Feiertagsdefinitionen_ordnen(const QStringList& zeilenAbVier);

// Day d of the month yymm is a holiday under the exceptions line and the search text.
bool Ist_Feiertag(const QString& monatsschlüssel, int tag, const QString& ausnahmen, const QString& feiertagsTabelle);
// Day d of the month yymm is a non-working day under the exceptions line and weekend.
bool Ist_Wochenende(const QString& monatsschlüssel, int tag, const QString& ausnahmen, const QString& wochenende);

// One country block of the decoded lines of the holiday master file: the country name
// and exactly 16 definitions (all empty when the code has no block).
struct Ländervorlage {
  bool gefunden = false;
  QString land;
  QStringList definitionen;  // 0-based, always 16
};
Ländervorlage Länderblock(const QStringList& masterzeilen, const QString& ländercode);
