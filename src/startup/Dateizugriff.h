#pragma once
// The one file channel of the program: one open file at a time, opened by FOpen and
// closed by FClose, read and written line by line (LineIn/LineOut in the line
// encoding, or plain). A shared data folder means a file may be seen empty while
// another workstation writes it, and a whole-file write must never be seen half
// done: "Output" writes go to a temporary file in the same folder that replaces the
// target on FClose.
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/Haken.h"

struct stat;

// State of the channel.
extern QString gOffeneDatei;    // full path of the open file, empty when none
extern bool gDateiGeschrieben;  // some FOpen of this run wrote
extern bool gLangsamesNetz;     // a close took more than 0.2 s
// Called when a close took more than 0.2 s, so that the user's settings remember the
// slow share. Set by the start sequence, as the settings sit above the file channel,
// and left by a reset of the state.
extern Haken<void()> gLangsamesNetzGesehen;

bool FOpen(const QString& pfad, const QString& modus, const QString& option = QString());
// Opens an existing file for "Append" and never makes it: false, with nothing open and
// nothing said, when the file is not there or is a link (a month file another
// workstation replaced meanwhile: an append that made it anew would make a month without
// its header). Any other failure ends the program as FOpen does.
bool FOpen_anhängen_ohne_Anlegen(const QString& pfad);
// Closes the channel; a pending "Output" write replaces its target now.
void FClose();
// Closes the channel and drops a pending "Output" write (the target stays as it was):
// for the error paths, which must not leave a half-written file behind.
void FVerwerfen();
// Whether the error being handled came from FClose writing out the open file's lines
// (gOffeneDatei still names it): the file itself is intact, only the write failed.
bool Ausschreibfehler();
// True when the channel holds no further line (or no file is open for reading).
bool FEOF();

// Raw lines of the open channel, for the line encoding and for plain files.
QByteArray Kanal_Zeile_lesen();  // the next line without its line end
// The same as a view into the channel's content (valid until the channel closes, or
// as long as a copy of Kanal_Inhalt() lives).
QByteArrayView Kanal_Zeile_sehen();
// The whole content of the file open for reading (shared, not copied).
QByteArray Kanal_Inhalt();
bool Kanal_letzte_Zeile_unvollständig();  // the line just read had no line end
// The file open for reading holds bytes but does not end in a line end: a file written
// whole always does, so its last line was cut off.
bool Kanal_ohne_letztes_Zeilenende();
// A damaged data file (cut short, a line that does not split into its fields): hands
// it to the start repair, naming the line when one is given (> 0). Never returns.
[[noreturn]] void Datei_beschädigt(const QString& pfad, int zeile = 0);
void Kanal_Zeile_schreiben(const QByteArray& zeile);  // adds CR LF
// Bytes already made of whole lines (each with its CR LF), taken over without a copy
// when nothing was written before.
void Kanal_Bytes_schreiben(const QByteArray& bytes);
// Plain text lines (Windows-1252): the per-user settings, lock file, readme, CSV.
QString LineInPlain();
void LineOutPlain(const QString& text);

void Dateifehler(int code, const QString& pfad, const QString& header, const QString& prozedur);
bool Dateien_löschen(const QString& ordner, const QString& muster);
void Löschen(const QString& pfad);
// How Löschen removes one file and Verzeichnis_anlegen makes one folder: QFile::remove
// and QDir::mkdir, unless a test puts an operation in their place that fails as the
// file system would (no folder permission stops root).
extern std::function<bool(const QString& pfad)> gDateiEntfernen;
extern std::function<bool(const QString& pfad)> gOrdnerAnlegen;
QString ParentDir(const QString& pfad);
QString ShowDatei(const QString& pfad);
QString ShowPfad(const QString& pfad, int maxLaenge = 100);
void Verzeichnis_anlegen(const QString& ordner);
bool Verzeichnis_vorhanden(const QString& pfad);
void Verzeichnis_wechseln(const QString& ordner);

// File system helpers every unit shares.
bool Datei_vorhanden(const QString& pfad);
// Names (not paths) of the normal files of a folder matching a pattern with * and ?,
// compared without regard to letter case, sorted by name. `Alles`: every entry but a
// folder or a link to one (what deletion by pattern removes); `NurDateien`: plain files
// only, no link and no special file (what may be read as a month version); the other
// entries `Alles` would list go to *übrige when given.
enum class Listenart { Alles, NurDateien };
QStringList Dateiliste(const QString& ordner, const QString& muster, Listenart art = Listenart::Alles,
                       QStringList* übrige = nullptr);
// How many folders Dateiliste has listed since the program started (for measuring).
quint64 Dateilisten_bisher();
QDateTime Dateizeit(const QString& pfad);  // invalid when missing
qint64 Dateigröße(const QString& pfad);    // -1 when missing
// Writes a whole file so that no reader sees it half written: a temporary file in the
// same folder is renamed over the target. False when it could not be written.
bool Datei_sicher_schreiben(const QString& pfad, const QByteArray& inhalt);
// The first half of that: the temporary file beside the target, written and on disk,
// for the caller to rename over the target (or remove). Empty when it failed.
QString Zwischendatei_schreiben(const QString& ziel, const QByteArray& inhalt);
// A name for a temporary file beside `ziel` that no other workstation uses: the target's
// name, this machine's host name, the process id and a random part, ending in the
// channel's temporary ending. Create it exclusively.
QString Eigener_Zwischenname(const QString& ziel);
// Whether a file can be opened now, asked of the file server itself: on a share whose
// listings and file attributes are cached, a file made by another workstation a
// moment ago is missing from the listing, and one it removed is still listed. False
// only when the file is not there (a file that exists but cannot be read counts).
// With `verweisFolgen` false a link is not there: a month version is a plain file.
bool Datei_öffnenbar(const QString& pfad, bool verweisFolgen = true);
// Makes the next listing of a folder ask the file server: a share drops its cached
// listing of a folder in which this workstation itself made or removed a file, so a
// file of its own is made exclusively and removed again. Does nothing when the folder
// takes no file.
void Ordneransicht_erneuern(const QString& ordner);
// A file just created in the data folder (or the log folder, or below them) takes the
// rights of the folder it is shared in, whatever the process's umask: the mode of its
// family's files (a month version the mode and group of the version before it), the
// folder's group. A replaced file keeps its own mode and group instead (the channel's
// whole-file writes do that themselves). Files elsewhere are left as they are.
void Rechte_wie_Nachbarn(int fd, const QString& pfad);
// The rights Rechte_wie_Nachbarn gives a lock file ("….vklock", which belongs to no
// family: its folder's mode and group), looked up before the file is made, so that the
// exclusive create asks for the mode itself and in the usual case nothing is left to
// change. Nothing when the lock lies outside the data and log folders (the umask
// decides there) or its folder cannot be looked at.
struct Sperrdateirechte {
  unsigned modus = 0;  // permission bits (0666 at most)
  unsigned gruppe = 0;
};
bool Sperrdatei_Rechte(const QString& pfad, Sperrdateirechte& rechte);
// Gives a lock file just created the rights looked up for it, where the create did not
// (a umask that cut the mode, a group the folder does not pass on).
void Sperrdatei_Rechte_setzen(int fd, const Sperrdateirechte& rechte);
// The file whose mode and group the next whole-file write of `ziel` gives it when it
// makes `ziel` new, for a caller that knows it (a month writer: the version it read,
// the newest other version of the month), so that no listing looks for it. Holds for
// that one write only.
void Rechte_Vorbild_vormerken(const QString& ziel, const QString& vorbild);
// The attributes of an open file as its server holds them now, into *st (false when
// they cannot be had). A share may answer a plain fstat from attributes it cached a
// moment ago, and a FUSE client such as sshfs ends every read at the size it cached:
// a file another machine appended to just now would be read short, and a rewrite made
// from it would drop those lines. Asking afresh makes the client fetch the attributes,
// and with them the size its reads end at.
bool Attribute_vom_Server(int fd, struct stat* st);
// Reads all of an open file. The read asks for one byte more than the file's
// attributes give: a shorter answer past that size is the end, so a file costs one
// read, and one larger than its (cached) attributes say is read on to its end. False
// (and `inhalt` empty) when a read fails: part of a file is never taken for all of it.
bool Ganz_lesen(int fd, qint64 attributgröße, QByteArray& inhalt);
// The last file the channel read ("Input"): its path, its content (shared, not
// copied) and its attributes as the opening saw them; an empty path when none was read
// since the last reset. A month writer takes its stamp of the month from it instead of
// opening the file again.
struct Gelesene_Datei {
  QString pfad;
  QByteArray inhalt;
  qint64 zeit = 0;  // modification time, nanoseconds since the epoch
  quint64 gerät = 0;
  quint64 inode = 0;
  qint64 größe = -1;   // by the attributes
  unsigned modus = 0;  // permission bits
  unsigned gruppe = 0;
};
const Gelesene_Datei& Zuletzt_gelesen();
// Whether a file name is one of the channel's temporary files.
bool Ist_Zwischendatei(const QString& name);
// Whether a whole-file write of the target can have its temporary file beside it (the
// temporary name is longer than the target's name).
bool Zwischenname_möglich(const QString& ziel);
// Whether the last component of a path is a symbolic link. Appends never follow one,
// reads of the data and log folders refuse one, backups skip one, Löschen removes the
// link itself.
bool Ist_Verweis_Datei(const QString& pfad);
// Removes the temporary files of whole-file writes older than the given age from a
// folder: left behind by a write that was killed half-way.
void Zwischendateien_aufräumen(const QString& ordner, double alterSekunden = 3600.0);

// Puts the channel back to its start state: closed, a pending write dropped, nothing
// written yet. For tests.
void Dateizugriff_zurücksetzen();
