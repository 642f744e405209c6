#pragma once
// Writing month record files on a shared data folder that several workstations write
// at the same time, without a server.
//
// Every write of a month runs under the month lock: a file "~yymm.vklock" in the data
// folder, created exclusively, which no file pattern of the program matches. Inside
// the lock the writer looks at the folder afresh, so the choice between appending and
// rewriting and the write itself cannot be split by another workstation. A rewrite
// goes to a temporary file that is renamed over the target, so no reader ever sees a
// half-written month; an append adds whole lines in one write, after a line end for a
// last line that lost its own. A lock left behind by a workstation that went away is
// taken over by the rule of startup/Dateisperre.h (never by its file time), and every
// planned end of the program releases the locks it holds.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "startup/Monatsversion.h"

class Dateisperre;

// How long a writer waits for the lock. When a lock counts as left behind by a
// workstation that went away is the lock file's rule (startup/Dateisperre.h).
inline constexpr double kMonatssperreWartezeit = 5.0;

// The lock file of a month.
QString Monatssperre_Datei(const QString& monatsschlüssel);
// The message of a save refused because the lock could not be had.
QString Monatssperre_Meldung(const QString& monatsschlüssel);

// Holds the month lock for its lifetime. Nested locks of the same month within this
// program share the outer one. Taking over a lock left behind removes the temporary
// files of the month that its holder left.
class Monatssperre {
 public:
  // Waits at most `wartezeit` seconds for the lock; 0 tries once.
  explicit Monatssperre(const QString& monatsschlüssel, double wartezeit = kMonatssperreWartezeit);
  ~Monatssperre();
  Monatssperre(const Monatssperre&) = delete;
  Monatssperre& operator=(const Monatssperre&) = delete;
  bool gehalten() const { return mGehalten; }
  // Not 0 when the lock file could not be created (full disk, no rights): the errno.
  int fehler() const { return mFehler; }

 private:
  QString mSchlüssel;
  std::unique_ptr<Dateisperre> mSperre;
  bool mGehalten = false;
  bool mÄußere = false;
  int mFehler = 0;
};

// Saves lines ("A:" or "K:" lines) into a month: appended to today's version when it
// exists, otherwise today's version is written afresh from the newest version (the
// compact body of Monatsdatei_kompakte_Zeilen: every user's newest line) followed by the
// lines. With no lines the month is rewritten compactly under today's date. Beside a
// newer version today's version is written afresh from that one, not appended to. Then
// the version read and every older one are deleted; a newer version that appears only
// now (a share's cached listing hid it) is not deleted unread: today's version is
// written again from it.
// Still inside the lock the own stamp of the month is taken (Monatsstand.h), unless
// another workstation had written the month since the own stamp; a rewrite first reads
// the employee file again when it changed.
// False, after the refusal message, when the lock could not be had: nothing written.
// A lock file that cannot be created at all (full disk, no rights) ends the program
// with the file-access message naming the lock file and the cause.
bool Monatsdatei_speichern(const QString& monatsschlüssel, const QStringList& zeilen);

// One line to save. An entry line ("A:" + user + ":" + 31 code characters) with `tage`
// is a change of those days only (bit d for day d): the line written is the
// employee's newest line as read inside the month lock, with only these days taken
// from `zeile`, so that another workstation's entry on other days of the same row,
// saved a moment earlier, stays. Without `tage` (and for comment lines) the line is
// written as given.
struct Monatszeile {
  QString zeile;
  std::optional<quint32> tage;
};
bool Monatsdatei_zeilen_speichern(const QString& monatsschlüssel, const QList<Monatszeile>& zeilen);
// The version the last save of this month appended to, when it appended: its listing
// inside the lock showed no newer version, so that is the newest. Nothing after any
// other save: a rewrite's deletions may leave a version beside its own that only a new
// listing shows.
std::optional<Monatsversion> Monatsdatei_angehängte_Version(const QString& monatsschlüssel);
// The days (bit d for day d) in which two rows of 31 code characters differ; a row may
// be given as its whole entry line. Nothing when either is not such a row.
std::optional<quint32> Geänderte_Tage(const QString& vorher, const QString& nachher);
// The entry line `zeile` with only the days `tage` laid over the row `basis` (31 code
// characters; blanks when empty); a line that is no good entry line as it is.
QString Tage_übernehmen(const QString& basis, const QString& zeile, quint32 tage);
// The compact rewrite of a month under today's date.
bool Monatsdatei_kompaktieren(const QString& monatsschlüssel);

// Rewrites a month under its lock from its newest version, as read inside the lock:
// `ändern` gets the newest version (none when the month has no file) and its
// lines (lines 1 to 3 and on; an unterminated last line is left out unless it is a whole
// line of the month) and returns the
// whole new content, or nothing to leave the month as it is. The content replaces the
// newest version under its own name, or with `unterHeute` (or when the month has no
// file) becomes today's version, after which the version read and every older one are
// deleted.
// `meldenBeiSperre` shows the refusal message when the lock cannot be had;
// `fehlerIgnorieren` gives False instead of ending the program when the file cannot
// be written. A last line cut off (damage inside the lock, left out of the lines
// `ändern` gets) is reported as a read reports a damaged line (logbook, the day's "F"
// backup) and left out, or, when it cannot be so reported, kept at the end as it
// stands: never dropped without a word. `schnittMelden` false: the caller is the repair
// of that damage and has reported it itself. True when written or when nothing was to
// be written.
using Monatsänderung =
    std::function<std::optional<QStringList>(const std::optional<Monatsversion>& version, const QStringList& zeilen)>;
bool Monatsdatei_umschreiben(const QString& monatsschlüssel, bool unterHeute, const Monatsänderung& ändern,
                             bool meldenBeiSperre = true, bool fehlerIgnorieren = false, bool schnittMelden = true);

// Rewrites every month that has a record file in the data folder, one month after the
// other, each under today's date (Monatsdatei_umschreiben with `unterHeute`). A month
// whose lock another workstation holds is waited for and never skipped: one still
// refused after two minutes is reported, and the wait goes on once the user has read
// the message. Pending window events run between the attempts.
void Alle_Monatsdateien_umschreiben(const Monatsänderung& ändern);

// The compact body of a month as a rewrite writes it: for every user with a non-blank
// line, its last entry line and its comments as day runs; the employees of the table in
// list order first, then users the table does not know. Built from gMonatsEinträge and
// gMonatsKommentare.
QStringList Monatsdatei_kompakte_Zeilen();
