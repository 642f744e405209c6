#pragma once
// The yearly overtime files "ÜStunden yyyy.dat" of the data folder. Another program
// writes them; this program reads them for the overtime overview and rewrites only
// the user names of their section headers when an employee is renamed.
//
// A file is stored through the line encoding: "[UStunden]", four lines of the writing
// program, "[UStdDaten]", the year, then one section per employee. A section starts
// with a header "[field 1|user name|...]" and holds a carry-over line "U<minutes>" or
// "U-<minutes>" and booking lines "mmdd" + kind ("+", "-", "€") + minutes + "|" +
// remark. The file is another program's: a line that does not read is skipped and
// reported, never a reason to stop the planner.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The file of a year in the data folder.
QString ÜStunden_Pfad(int jahr);

// Reads every line of an overtime file through the line encoding, an empty line as an
// empty line. False when the file could not be opened or read; zeile then names the
// line being read (0: the file did not open).
bool ÜStunden_Zeilen(const QString& pfad, QStringList& zeilen, int& zeile);

// Reads the file of a year: its lines from line 8 on, when the file holds them under a
// sound header. No file, a file without data lines and a file with a problem give
// nullopt; a problem is reported to the user first (Dateifehler_melden).
std::optional<QStringList> ÜStunden_lesen(int jahr);

// The message on a file that cannot be shown: a problem text without a blank is the
// name of a header line that was not recognised.
void Dateifehler_melden(const QString& problem, const QString& pfad);

// A line read as a section header: a line that begins with "[" and ends with "]".
// Its user name is field 2 (between the first and the second "|"); a header with
// fewer than two "|" names nobody and cannot be read. The overview and the rename of
// a user name read headers through this one reading.
struct ÜStd_Kopf {
  bool kopf = false;    // a section header line
  bool lesbar = false;  // with a field 2
  qsizetype von = 0;    // field 2 starts here (after the first "|")
  qsizetype bis = 0;    // and ends before this (the second "|")
  QString benutzer;     // field 2
};
ÜStd_Kopf ÜStd_Kopfzeile(const QString& zeile);
// The header with field 2 replaced by another user name; the rest stays as it was.
QString ÜStd_Kopf_umbenannt(const QString& zeile, const ÜStd_Kopf& kopf, const QString& neu);

// The fields of a record line as the overview shows them.
struct ÜStd_Satz {
  QString Datum;  // display date
  QString Art;    // "+", "-", "€" or another kind character
  qint64 Minuten = 0;
  qint64 Saldo = 0;  // the balance after this line
  QString Bemerkung;
  bool verborgen = false;  // the carry-over line "U0": not shown, still counted
};

// Parses a record line of a section for the year shown and applies it to the running
// balance in satz.Saldo (a carry-over replaces it). False for a line that does not
// read (empty, no "|", no digits, not a number, beyond 32 bits); satz stays then.
bool SplitDatensatz(const QString& zeile, int jahr, ÜStd_Satz& satz);

// The account of one user in the data lines of a year (1-based, as ÜStunden_lesen
// gives them from index 1): the first section whose user name equals the user's,
// ignoring case.
struct ÜStd_Konto {
  bool abschnitt = false;   // a section of the user was found
  int datenzeilen = 0;      // its record lines, readable or not
  QList<ÜStd_Satz> sätze;   // the records in file order with their balances
  QList<int> übersprungen;  // line numbers in the file of lines that did not read
};
ÜStd_Konto ÜStunden_Konto(const QStringList& daten, const QString& benutzer, int jahr);

// The message on lines of a file that were skipped.
void Übersprungene_Zeilen_melden(const QList<int>& zeilen, const QString& pfad);

// Minutes as hours, ":" and two-digit minutes of the absolute value: 0:00, 1:30, 10:00.
QString FormatMinStd(qint64 minuten);
