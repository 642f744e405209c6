#pragma once
// How this workstation notices that another one has written the shown month.
//
// The stamp of a month is the newest version's file name, modification time, size and
// file identity. Comparing only the time of today's version would miss a workstation
// with another system date (or one left running past midnight): it writes a version
// under another day's name. A rewrite under the same name with the same size is told
// apart by its time, and by its new file identity (every rewrite renames a new file
// over the old one). A share may give whole-second file times and inode numbers of
// its own and cache both for seconds, so the stamp also holds a hash of the content
// (of all of a compact month, of the beginning and end of one grown long by appends),
// read when the stamp is taken, which also makes the share look at the file afresh.
//
// The own stamp is taken by the month writer inside the month lock right after the
// own write, and by the month display before it reads. A foreign change that came
// before the own write leaves the own stamp unknown, so that the next check still
// reloads the month instead of taking the foreign lines for its own.
#include <QString>
#include <QtGlobal>

struct Monatsstand {
  QString schlüssel;     // month key "yymm"
  QString name;          // the newest version's file name, "" when the month has no file
  qint64 zeit = 0;       // modification time, nanoseconds since the epoch
  qint64 größe = -1;     // bytes; -1 when there is no file
  quint64 datei = 0;     // file identity (device and inode mixed)
  quint64 inhalt = 0;    // hash of the content
  bool bekannt = false;  // false: no stamp; differs from every stamp read from the folder

  bool operator==(const Monatsstand&) const = default;
};

// The own stamp of the shown month.
extern Monatsstand gMonatsdateiStand;

// The stamp of the month's newest version as it is on disk now.
Monatsstand Monatsstand_lesen(const QString& monatsschlüssel);
// Takes the month's stamp as the own one (before the month is read for display).
void Monatsstand_merken(const QString& monatsschlüssel);
// Forgets the own stamp: the next check reloads the month.
void Monatsstand_verwerfen();
// Whether the month on disk differs from the own stamp (also when the own stamp is of
// another month or unknown).
bool Monatsstand_geändert(const QString& monatsschlüssel);
// For the month writer, inside the month lock: `vorher` is the stamp taken in the lock
// before the own write. When it equals the own stamp, the stamp after the write
// becomes the own one; otherwise another workstation wrote since the last own read,
// and the own stamp is forgotten so that the next check reloads. An own stamp of
// another month stays.
void Monatsstand_nach_eigenem_Schreiben(const QString& monatsschlüssel, const Monatsstand& vorher);

// For the month writer, which has listed the folder once inside the month lock: the
// stamp of the version `name` (the newest as that listing and the open of today's
// version tell), read in one opening. With `inhalt` all of the file's bytes are read
// into it (for a writer that appends, which needs the rows as they stand); without,
// only what the stamp takes. False when the version cannot be opened (gone meanwhile)
// or not read whole:
// the writer then takes the stamp by Monatsstand_lesen.
bool Monatsstand_der_Version(const QString& monatsschlüssel, const QString& name, Monatsstand& s,
                             QByteArray* inhalt = nullptr);
// The stamp of the version `name` as the channel read it last (Zuletzt_gelesen), for a
// writer that has just read it inside the month lock. False when the channel's last
// read was of another file.
bool Monatsstand_aus_Gelesenem(const QString& monatsschlüssel, const QString& name, Monatsstand& s);
// The stamp of the version `name` whose whole content this program has just written
// under the month lock: the content hash from `inhalt`, time and identity from one look
// at the file; a writer that appended gives what it appended as `angehängt` after the
// content it read. False when the file does not have the size of the content (then the
// writer reads the stamp as usual).
bool Monatsstand_aus_Inhalt(const QString& monatsschlüssel, const QString& name, const QByteArray& inhalt,
                            Monatsstand& s, const QByteArray& angehängt = QByteArray());
// As Monatsstand_nach_eigenem_Schreiben, with the stamp after the own write already
// known (`nachher`; one not `bekannt` is read from the folder).
void Monatsstand_nach_eigenem_Schreiben(const QString& monatsschlüssel, const Monatsstand& vorher,
                                        const Monatsstand& nachher);

// Before a month is rewritten: the employee file is read again when its time stamp
// differs from the last read, whatever the settings say about reload checks. A
// rewrite keeps only the lines of employees in the table; a table that missed an
// employee added at another workstation would drop that employee's entries.
void Mitarbeiterdaten_vor_Umschreiben_prüfen();
