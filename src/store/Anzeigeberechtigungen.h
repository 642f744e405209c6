#pragma once
// Display permissions and display groups: which employee groups (headings of the
// employee list) a user sees.
//
// Display permissions (settings position 1 = 2) live in the shared file
// "Mitarbeiteranzber.dat", one line per employee group: the heading, "|", then each
// group its members may see followed by ":". Display groups (unless settings
// position 17 is 1) are named selections of employee groups that each user defines;
// all users' groups live in the shared file "Mitarbeiteranzgru.dat", one block
// "[user]" per user.
//
// The lists are 1-based: element 0 is unused.
#include <QString>
#include <QStringList>

// One line per employee group; the single entry "AllGroups" when permissions are not
// in force, "NoGroups" when they are but none are defined.
extern QStringList gAnzeigeberechtigungen;
// The current user's permission: "AllGroups", or the visible groups each followed by ":".
extern QString gAnzeigeberechtigung;
// The current user's display groups, each "name|" and the member groups each followed
// by ":"; the single entry "NoGroups" when the user has none.
extern QStringList gAnzeigegruppen;
// The display group chosen in the main window, an index into gAnzeigegruppen from 0
// (entry gAnzeigegruppe + 1); 0 = the first group, or all employees without groups.
extern int gAnzeigegruppe;

// Sets up permissions and display groups (at start and after a configuration reload).
void Anzber_und_Anzgru_init();
// Works out gAnzeigeberechtigung; a user without a permission gets the start error.
void Anzeigeberechtigungen_ermitteln();
// Drops the employee groups that no longer exist or are no longer visible from the
// user's display groups.
void Anzeigegruppen_bereinigen();
void Mitarbeiteranzber_lesen();
// Writes gAnzeigeberechtigungen; deletes the file when no line is left.
void Mitarbeiteranzber_schreiben();
// Reads the current user's block into gAnzeigegruppen.
void Mitarbeiteranzgru_lesen();
// Replaces the current user's block by gAnzeigegruppen and keeps every other user's
// block, under the display-group lock. False, after Anzgru_Sperre_Meldung, when the
// lock could not be had: nothing written.
bool Mitarbeiteranzgru_schreiben();
QString Anzgru_Sperre_Meldung();

// The number of the user's display groups; 0 for "NoGroups".
int Anzeigegruppen_Anzahl();
// Whether the user's permission lets them see the employee group.
bool Anzeigeberechtigung_enthält(const QString& gruppe);

// The lock around every read-modify-write of "Mitarbeiteranzgru.dat": the file holds
// all users' groups and is rewritten whole, so two workstations saving at the same
// moment would otherwise lose one user's groups. An exclusive lock file in the data
// folder; a lock whose holder has not changed for some seconds was left behind by a
// program that ended without releasing it and is taken over. Held for the lifetime
// of the object; after a minute of waiting for a working holder it gives up.
class Anzgru_Sperre {
 public:
  Anzgru_Sperre();
  ~Anzgru_Sperre();
  Anzgru_Sperre(const Anzgru_Sperre&) = delete;
  Anzgru_Sperre& operator=(const Anzgru_Sperre&) = delete;
  // False when the lock could not be had: the write must not go ahead.
  bool gehalten() const { return mGehalten; }
  // Not 0 when the folder allowed no lock file (full disk, no rights): the errno.
  int fehler() const { return mFehler; }
  // The lock file's path.
  static QString Pfad();

 private:
  QString mKennung;
  bool mGehalten = false;
  int mFehler = 0;
};
