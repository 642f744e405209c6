#pragma once
// What the month planner window needs of the month record files and of the display
// permissions and groups, in one small place. The window reads months and asks which
// employee groups the user sees only through these functions, so the store units
// behind them can change without touching the window.
#include <QString>
#include <QStringList>

// One month as read from its newest version.
struct Monatsinhalt {
  bool vorhanden = false;  // a version of the month exists
  QStringList einträge;    // entry lines without "A:" (user, ":", 31 codes), file order
  QStringList kommentare;  // comment lines without "K:" (user, ":", dd-dd, ":", text)
  QString ausnahmen = QStringLiteral("NoEx:NoEx");
};

// Reads the newest version of month yymm; a month without a file reads empty.
Monatsinhalt Monatsinhalt_lesen(const QString& monat);
// The user's permission: "AllGroups", or the visible employee groups each followed by ":".
QString Anzeigeberechtigung();
// The user's display groups, "Name|" and the member groups each followed by ":";
// the single entry "NoGroups" when the user has none.
QStringList Anzeigegruppen();
// The chosen display group (0 = the first), kept with the user's settings.
int Anzeigegruppe();
void Anzeigegruppe_setzen(int gruppe);

// Hands the newest version's name, just listed, to the next read of that month (one
// folder listing per shown month); an empty key takes it back.
void Monatsversion_vorgeben(const QString& monat, const QString& name);

// Path of today's version of a month: data folder, yymm, " ", today's yymmdd, " Data.dat".
QString Heutige_Monatsdatei(const QString& monat);
