#pragma once
// The month record files of the three-year window: one file per month in the data
// folder, kept in versions "yymm yymmdd Data.dat" named by the day they were written;
// only the newest version is read. The lines after the header, the opaque line and
// the exceptions line are "A:" entry lines (user, ":", 31 code characters) and "K:"
// comment lines (user, ":", dd-dd, ":", text); a later line for a user wins.
//
// Writing a month goes through Monatsdatei.h, which holds the month lock.
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "startup/Monatsversion.h"

// The day table: employee row (1 to Mitarbeiterzeilen(), in the order of the employee
// list) x window month (1 to 36, 12 x (year - gPlanungsjahr) + month); each cell the
// 31 code characters of that employee and month, empty for no entries.
class Erfassungstabelle {
 public:
  static constexpr int kMonate = 36;
  // Rows 1 to n, every cell empty.
  void dimensionieren(int n);
  void leeren();
  int zeilen() const { return mZeilen; }
  QString& operator()(int zeile, int monat);
  const QString& operator()(int zeile, int monat) const;

 private:
  int mZeilen = 0;
  std::vector<QString> mZellen;  // row-major, (zeile - 1) * 36 + (monat - 1)
};

extern Erfassungstabelle gErfassungsdaten;
// The month read last: entry lines without "A:" ("NoData" when none), comment lines
// without "K:" ("NoComments" when none), 1-based (element 0 unused), and the
// exceptions line ("NoEx:NoEx" when the month has none or no file).
extern QStringList gMonatsEinträge;
extern QStringList gMonatsKommentare;
extern QString gMonatsAusnahmen;
// The last full read took less than 0.2 s.
extern bool gSchnellesLesen;
// Monotonic seconds at which the last full read began (the 30-second cache).
extern double gLesezeit;

// The newest version of a month as the month readers and writers take it, from the
// month's versions in one listing (Monatsversionen): the greatest stem, or today's
// version when opening it finds it, also while a share's cached listing does not show it
// yet (another workstation made it a moment ago).
struct Neueste_Erfassungsversion {
  std::optional<Monatsversion> version;  // nothing when the month has no file
  bool heuteGeprüft = false;             // today's version was looked for by opening it
  bool heuteDa = false;                  // and found
};
Neueste_Erfassungsversion Neueste_Erfassungsversion_aus(const QString& monatsschlüssel,
                                                        const QList<Monatsversion>& versionen);
// The newest version of a month from a fresh listing; nothing when it has no file.
std::optional<Monatsversion> Aktuelle_Erfassungsdatei(const QString& monatsschlüssel);
// The name of the newest version's file as it stands in the folder (its letter case
// may differ from stem + " Data.dat"), "" when none.
QString Erfassungsdatei_Name(const QString& monatsschlüssel);
// The file name of the version the last read of one month opened ("" when it found
// none): a listed version gone when opened is replaced by the newest one then.
QString Erfassungsdatei_gelesen();
// Opens the named version of a month for input on the file channel. A listed version
// gone when opened was replaced by another workstation meanwhile: the folder is listed
// again and the newest version then is opened, never a fatal stop for that. The name
// of the version open on the channel; "" (nothing open) when the month has no file.
QString Erfassungsversion_öffnen(const QString& monatsschlüssel, QString name);
// Reads one named version of a month like Erfassungsdaten_lesen (a version gone
// meanwhile gives the newest one then).
bool Erfassungsversion_lesen(const QString& monatsschlüssel, const QString& name);
// Deletes every other name of the version's month, under the month's lock, tried once:
// false (nothing deleted) when another workstation holds it.
bool Alte_Erfassungsdateien_löschen(const Monatsversion& version);
// Reads and checks the newest version of a month into gMonatsEinträge,
// gMonatsKommentare and gMonatsAusnahmen; true when it holds an entry line.
bool Erfassungsdaten_lesen(const QString& monatsschlüssel);
// The same with the newest version's file name just listed ("" for no file), so that
// the folder is not listed again.
bool Erfassungsdaten_lesen(const QString& monatsschlüssel, const QString& name);
// Reads all 36 months into gErfassungsdaten; with the cache allowed not again within
// 30 seconds of the last full read.
void Alle_Erfassungsdaten_einlesen(bool cacheErlaubt);
// Whether any cell holds the button's code character; for the erase button's number
// whether any cell holds anything but blanks.
bool Erfassungsdaten_vorhanden(int schaltfläche);
// Whether any cell of the window months von to bis holds anything but blanks.
bool Erfassungsdaten_zu_Monaten_vorhanden(int von, int bis);
// Days from `von` to `bis` (both in the window) on which the employee row holds the
// button's code character; 0 for button 0.
int AnAbwesenheitstage(int schaltfläche, const QDate& von, const QDate& bis, int zeile);
// Start check: every month of the window from this year on has a record file; older
// versions are removed.
void Erfassungsdateien_checken();

// The month key "yymm" of a window month index 1 to 36.
QString Monatsschlüssel_zu_Index(int index);
// Makes the next full read go to the files again.
void Erfassungsdaten_Cache_verwerfen();

// The check of one month's lines, shared by the reader and by the rewrite of a
// repaired month: lines 4 and on are checked, bad ones emptied; invalid code
// characters of entry lines become blanks.
struct Monatsprüfung {
  struct Fund {
    bool schlechteZeile = false;  // neither an entry nor a comment line
    QString benutzer;             // the user name of a bad entry
  };
  QStringList zeilen;       // the checked lines (bad ones empty)
  bool reparieren = false;  // a bad line or entry was found
  QList<Fund> funde;        // in line order
};
Monatsprüfung Monatszeilen_prüfen(const QStringList& zeilen);
