#pragma once
// The employee file "Mitarbeiterdaten.dat" and the lookups on the employee table.
//
// The employee table is six row-parallel arrays in the order of the employee list,
// 1-based: element 0 is unused, rows 1 to size() - 1 are the list entries, and all
// six always have the same size. A heading row has its text in gMitarbeiterNamen and
// the other five entries empty. The table without any entry holds the single name
// "NoNames".
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

extern QStringList gMitarbeiterNamen;       // "Name Vorname", or the text of a heading
extern QStringList gBenutzerIDs;            // Windows user name; empty on headings; compared in lower case
extern QStringList gEintrittsdaten;         // yymmdd, "000000" = none
extern QStringList gAustrittsdaten;         // yymmdd, "999999" = open
extern QStringList gUrlaubsdaten;           // Resturlaub:Urlaub1:..:Urlaub4, each "000,0" with the locale's separator
extern QStringList gSonderurlaubsanspruch;  // "000,0" with the locale's separator

extern int gPlanungsjahr;                // first year of the three-year window
extern bool gIstMitarbeiter;             // the current Windows user has a row
extern bool gUrlaub1Leer;                // no employee has an Urlaub1 entitlement while vacation lapses
extern QDateTime gMitarbeiterdatenZeit;  // time stamp of the file at the last read

// Number of list entries (rows) of the employee table.
inline int Mitarbeiterzeilen() { return static_cast<int>(gMitarbeiterNamen.size()) - 1; }
// Gives all six arrays rows 1 to n, keeping the contents of the rows that stay.
void Mitarbeitertabelle_dimensionieren(int n);
// The employee groups: the distinct headings of the employee list in list order (a
// heading is a row with a name and an empty Windows user name); empty for "NoNames".
QStringList Gruppenüberschriften();

void Mitarbeiterdaten_lesen();
// The planning year the employee file holds now, read from its first three lines only:
// the table in memory stays as it is. 0 when the file is missing, empty, or its header
// or planning-year line is none. Opens the file on the channel (nothing else may be
// open there).
int Planungsjahr_der_Mitarbeiterdatei();
// Whether the lines of an employee file (a copy in a backup) read without damage by the
// same rules as Mitarbeiterdaten_lesen reads the file.
bool Mitarbeiterdaten_lesbar(const QStringList& zeilen);
// "IgnoreErrors": a file that cannot be opened gives False instead of ending the program.
bool Mitarbeiterdaten_schreiben(const QString& modus = QString());
// Reads the file again when its time stamp differs from the one of the last read, and
// then sets gMerker.
void CheckMitarbeiterdaten();

// Caches built on the employee table (the month records' day table, the main window's
// rows) register here; every read of the employee file calls them once the new table
// is in place. The number returned unregisters the function.
int Nach_Mitarbeiterdaten_lesen_anmelden(std::function<void()> f);
void Nach_Mitarbeiterdaten_lesen_abmelden(int nummer);

// False (after telling the user) when no employee has been entered yet.
bool Mitarbeiter_erfasst();
// Display name of a Windows user from the employee table and the administrator lists,
// or "" when none is known.
QString Name_zu_BenutzerID(const QString& benutzer);
// The administrators (and, when asked, first the privileged users) for messages.
QString ShowAdmins(bool mitPrivilegierten);

// A window's employee grid as the employee search sees it: row 0 is the header, rows
// 1 and on hold the name in column 0 and the row's Windows user name in column 32
// (empty on a heading row).
class Mitarbeiterraster {
 public:
  virtual ~Mitarbeiterraster() = default;
  virtual const void* fenster() const = 0;  // the window the grid belongs to
  virtual int zeilen() const = 0;           // number of rows, header included
  virtual QString name(int zeile) const = 0;
  virtual QString benutzer(int zeile) const = 0;
  virtual int obersteZeile() const = 0;
  virtual void setzeObersteZeile(int zeile) = 0;
  virtual int sichtbareZeilen() const = 0;  // rows that fit into the grid's height
  virtual bool zeileSichtbar(int zeile) const = 0;
  virtual void zeileMarkieren(int zeile) = 0;  // selects the row and switches the highlight on
  // The comment dialog used as input box; the prompt is label, "|", preset, "||",
  // title. Returns the typed answer, "" when cancelled.
  virtual QString eingabe(const QString& aufforderung) = 0;
};

// Finds an employee in a window's grid, scrolls to the row and marks it. A new search
// asks for the name; otherwise the last search in this window goes on from the row
// after its last hit. The own-row search finds the current user's row.
void Mitarbeiter_suchen_G(Mitarbeiterraster& raster, bool neueSuche, bool eigeneZeile);
