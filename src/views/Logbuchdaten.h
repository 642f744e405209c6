#pragma once
// The logbook viewer's data, without any window: the monthly logbooks of the log folder
// read into one list of lines with the cancelled pairs taken out, each line split into
// an entry record, the user filter lists and the completion of a typed user name.
//
// A user line is "dd.mm.yy hh:nn:ss|writer|employee|entry|ddmmyy|ddmmyy" with an optional
// separator and comment; an administration line is "dd.mm.yy hh:nn:ss|writer|VelkoraAdmin|"
// and free text.
#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// One logbook line split into its fields.
struct Logbucheintrag {
  QDate Datum;            // unset for a faulty first line
  QString Uhrzeit;        // "hh:nn"
  QString VonBenutzer;    // writer of a user line; empty on administration lines
  QString FürBenutzer;    // employee of a user line; "VelkoraAdmin" on administration and faulty lines
  QString Administrator;  // writer of an administration line
  QString Eintrag;        // the entry, the administration text or the fault text
  QString VonDatum;       // first day, ddmmyy (user lines)
  QString BisDatum;       // last day, ddmmyy (user lines)
  QString Kommentar;      // comment of a user line
};

// Reads every "*Velkora.log" of the log folder in name order, so in month order, and
// drops the cancelled pairs over all files at once and every empty line. The result is
// 1-based (element 0 unused); the single element "NoLog" when nothing remains. The
// viewer only reads: a file that is empty or cannot be opened is skipped without the
// channel's wait or repair, and one message after reading names the skipped files.
QStringList Logbuch_lesen();
// The same for one folder, without the message: the skipped file names go to
// übersprungen. For Logbuch_lesen and the benchmark.
QStringList Logbuchzeilen_lesen(const QString& ordner, QStringList& übersprungen);
// Takes the cancelled pairs and the empty lines out of 0-based lines read in order; the
// result is 1-based, {"", "NoLog"} when nothing remains.
QStringList Logbuchzeilen_bereinigen(const QStringList& gelesen);

// Splits one line. A line that does not split becomes an administration entry
// "Fehlerhafter Logbucheintrag: " with the first 255 characters of the line, dated like
// the entry before it (vorher; none for the first line).
Logbucheintrag Logbucheintrag_zerlegen(const QString& zeile, const Logbucheintrag* vorher);
// Splits all lines of a 1-based list into a 1-based vector (element 0 unused).
std::vector<Logbucheintrag> Logbucheinträge_zerlegen(const QStringList& zeilen);

// The names one user filter box lists: the list ":name1:name2:" in the order of first
// occurrence, and the names as written in the first entry that has them. Names that
// differ only in letter case count once.
class Benutzerliste {
 public:
  // Adds a name unless it is empty or already listed ignoring case; true when added.
  bool hinzufügen(const QString& name);
  const QString& liste() const { return mListe; }
  // The names sorted alphabetically ignoring case, as the box shows them.
  QStringList sortiert() const;

 private:
  QString mListe = QStringLiteral(":");
  QStringList mNamen;
  QSet<QString> mKlein;
};

// The three filter lists of the entries: 1 the writers of user lines, 2 the employees
// of user lines, 3 the writers of administration lines.
struct Benutzerlisten {
  Benutzerliste liste1, liste2, liste3;
};
Benutzerlisten Benutzerlisten_füllen(const std::vector<Logbucheintrag>& einträge);

// The one name of the list that begins with the typed text, ignoring case, written as in
// the list; nothing when no name or more than one name begins with it.
std::optional<QString> Benutzer_vervollständigen(const QString& liste, const QString& text);

// The text the administration log shows for an entry; empty when the row is left out
// (the "alt" half of a pair). mitBenutzernamen: employees have Windows user names.
QString Adminlogbuch_Text(const QString& eintrag, bool mitBenutzernamen);
