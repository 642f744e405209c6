#pragma once
// The apply step of the employee editor (Mitarbeiterdaten_aktualisieren, declared with
// the editor) and what it carries into other files: changed user names into the month
// records and the overtime files, removed employees out of the month records, changed
// and removed headings into the display permissions and every user's display groups.
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// (old, new) user names, in row order.
using Umbenennungen = std::vector<std::pair<QString, QString>>;

// Every line of "Mitarbeiteranzgru.dat" (line 1 first); the single line "NoGroups"
// while display groups are not in use. `alt`: the lines from the third on as read.
struct Anzeigegruppendatei {
  QStringList zeilen{QStringLiteral("NoGroups")};
  QString alt;
};

void Alle_Anzeigegruppen_lesen(Anzeigegruppendatei& d);
// Writes the non-empty lines; fewer than three remove the file instead.
void Alle_Anzeigegruppen_schreiben(const Anzeigegruppendatei& d);
// The block "[alt]" becomes "[neu]" (any letter case), in memory.
void BenId_in_AnzGru_umbenennen(Anzeigegruppendatei& d, const QString& alt, const QString& neu);
// Renamed headings, "Alle Mitarbeiter" with the headings of the rows, blocks of
// unknown users dropped, lists in the order of the employee table; written when changed.
void Anzeigegruppen_aktualisieren(Anzeigegruppendatei& d, const std::vector<std::pair<QString, QString>>& umbenannt,
                                  const QStringList& überschriftenDerZeilen);
// gAnzeigeberechtigungen after renamed, added and removed headings; written when changed.
void Anzeigeberechtigungen_aktualisieren(const std::vector<std::pair<QString, QString>>& umbenannt);

// A month record line ("A:" or "K:" from the fourth line on) with its user renamed.
QString Monatszeile_umbenannt(const QString& zeile, const Umbenennungen& umbenannt);
// Every month of the data folder through the month writer: the users renamed (written
// as typed), the lines of the removed users dropped; a month without any of them is
// left as it is. A month lock another workstation holds is waited for.
bool Monatsdateien_anpassen(const Umbenennungen& umbenannt, const QStringList& entfernt);
// Overtime section headers whose second field is the user, in every overtime file.
void BenId_in_ÜStd_umbenennen(const QString& alt, const QString& neu);

// Whether the employee with this user name (any letter case) has an entry in the window.
bool Erfassungsdaten_zu_Mitarbeiter_vorhanden(const QString& benutzer);
// Removes per-user settings files of users who are gone, older than 90 days.
void Alte_ini_Dateien_löschen();
