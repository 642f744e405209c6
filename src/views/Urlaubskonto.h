#pragma once
// The vacation account of one employee, without widgets: carried-over vacation,
// entitlement, days taken up to a cut-off date, days planned after it, lapsed
// carry-over, and special leave of the year after the planning year. The year overview
// shows it and the vacation overview lists it.
#include <QDate>
#include <QString>
#include <functional>

// The account's settings.
struct Kontoeinstellungen {
  int P = 2000;               // planning year
  int S = 1;                  // first month of the vacation year
  int E = 0;                  // month on whose first day carry-over lapses; 0 never
  QDate heute;                // today
  bool urlaub1Leer = false;   // nobody has a planning-year entitlement while vacation lapses
  bool sonderurlaub = false;  // special leave in use
};

// The employee's stored values: carry-over R, entitlements A1 (P), A2 (P + 1),
// A3 (P + 2), special-leave entitlement SA.
struct Kontowerte {
  double R = 0, A1 = 0, A2 = 0, A3 = 0, SA = 0;
};

// Vacation (or special-leave) days of the employee in a range, half days halved.
using Tagezähler = std::function<double(const QDate& von, const QDate& bis)>;

struct Urlaubskonto {
  int J = 0;     // the account year
  QDate C;       // the cut-off date
  QDate Js, Je;  // first and last day of the account year
  double rest = 0, ansp = 0, taken = 0, planned = 0, lapsed = 0;
  double sa = 0, staken = 0, splanned = 0;
};

// The first and last day of vacation year x.
QDate Urlaubsjahr_Anfang(int x, int S);
QDate Urlaubsjahr_Ende(int x, int S);
// The account for shown year Y: J from Y (at most P + 1; P while today's month lies
// before S), the cut-off date, then carry-over, entitlement, taken, planned and lapse.
// Without an employee (werte null) every figure is 0.
Urlaubskonto Urlaubskonto_berechnen(int Y, const Kontoeinstellungen& k, const Kontowerte* werte,
                                    const Tagezähler& urlaub, const Tagezähler& sonderurlaub);
// The same with a given account year and cut-off date (the vacation overview's
// reference date).
Urlaubskonto Urlaubskonto_zum(int J, const QDate& C, const Kontoeinstellungen& k, const Kontowerte* werte,
                              const Tagezähler& urlaub, const Tagezähler& sonderurlaub);

// A number of days with one decimal or none, rounded half away from zero, with the
// workstation's decimal separator.
QString Tageszahl(double x, bool zehntel);
// Whether days are shown with one decimal: entitlements with decimals (settings
// position 30) or any half-day code of vacation or special leave.
bool Tage_mit_Zehnteln();

// The employee's values from the employee table row; the half-day-aware day counters
// of the employee row over the day table.
Kontowerte Kontowerte_lesen(int zeile);
Tagezähler Urlaubstage(int zeile);
Tagezähler Sonderurlaubstage(int zeile);
Kontoeinstellungen Kontoeinstellungen_lesen();
