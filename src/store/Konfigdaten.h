#pragma once
// The shared configuration "Konfigdaten.dat": settings string, organisation name,
// code buttons, colours, weekend, administrator lists; and the user's level.
//
// Arrays indexed by a button number or a colour number are 1-based: element 0 is
// unused, so a list of n buttons has size n + 1 (Schaltflächen_Anzahl() gives n).
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// The opaque second line of every data file of the data folder. Readers take it from
// their file while it is empty; writers write it back. Emptied before a reload so
// that the reload takes the line of the file as it now is.
extern QString gKennzeile;
// The opaque line after the settings string; it carries the month the data folder
// was set up (see Einrichtungszeile) and is written back as held.
extern QString gEinrichtungszeile;

extern QString gVersionszeile;  // the data version of the file ("1.16.1")
extern QString gFirmenname;
extern QString gFirmenzusatz;
extern QString gSettings;                    // the 50-position settings string
extern QString gSFVerbergenText;             // one hide digit per code button, or "void"
extern QString gWochenende;                  // two-letter day codes joined, "SaSo"
extern std::array<qint32, 10> gGrundfarben;  // display colours 1 to 9 (0xBBGGRR)

// The code-button table, buttons 1 to n, the erase button ("Löschen", letter " ") last.
extern QList<qint32> gSFTextfarben;
extern QList<qint32> gSFHintergrundfarben;
extern QList<int> gSFNurAdmins;        // 1: reserved for administrators
extern QStringList gSFKennbuchstaben;  // the letter shown in day cells
extern QStringList gSFTexte;           // the caption
extern QList<int> gSFVerbergen;        // 1: entries hidden from other users
// Leaves the code-button table with only its unused entry 0.
void Schaltflächen_leeren();

// The lines of the administrator section: "A:" lines and the privileged-user lines;
// each holds the single entry "NoAdmins" when it has no line.
extern QStringList gAdministratoren;
extern QStringList gPrivilegierte;
extern int gBenutzerstufe;           // 0 employee, 1 privileged user, 2 administrator
extern bool gAdministratorSchalter;  // the administrator-override switch was given

// Special buttons found from the letters of the settings string (0 = none).
extern int gSFUrlaub;               // position 20
extern int gSFUrlaubHalb;           // 21
extern int gSFUrlaub2;              // 22
extern int gSFUrlaubHalb2;          // 23
extern int gSFVerborgen;            // 24, only while position 5 is set
extern int gSFSonderurlaub;         // 34
extern int gSFSonderurlaubHalb;     // 35
extern int gSFSonderurlaub2;        // 36
extern int gSFSonderurlaubHalb2;    // 37
extern int gUrlaubsjahrBeginn;      // first month of the vacation year, 1 to 12
extern int gResturlaubVerfall;      // month in which carried-over vacation lapses, 0 = never
extern int gSFBreite;               // code button width in twips, 0 = automatic
extern int gMonateSeitEinrichtung;  // whole months since the folder was set up, 0 to 20
extern QDateTime gKonfigdatenZeit;  // the file's time stamp at the last read

// The settings string of a new data folder.
QString Standardeinstellungen();
// A Kennzeile for a new data folder.
QString Kennzeile_neu();
// The opaque line that records the month a data folder was set up, for a new folder.
QString Einrichtungszeile(const QDate& einrichtungsmonat);

void Konfigdaten_lesen();
// Whether the lines of a configuration file (a copy in a backup) read without damage by
// the same rules as Konfigdaten_lesen reads the file.
bool Konfigdaten_lesbar(const QStringList& zeilen);
void Konfigdaten_schreiben();
void CheckKonfigdaten();
void Versionsnr_checken();
// "/setting" followed by a position, "=" and one digit; ends the program.
void Modify_Setting();

int Setting(int position);
QString SettingStr(int position, int laenge);
// Sets one position to one digit; any other value or position is refused with a
// run-time error, so the string never changes its length.
void SetSetting(int position, int wert);

// n, the number of code buttons with the erase button.
int Schaltflächen_Anzahl();
// The code character of a button number for the record files.
QString SFHex(int nummer);
// The button number of a code character; n (the erase button) for any other.
int SFDec(const QString& zeichen);
// The button with this letter, 0 when none; kind "RTT" for the special-leave codes.
int Schaltflächen_Nummer(const QString& buchstabe, const QString& art);
