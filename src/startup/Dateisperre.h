#pragma once
// An exclusive lock file that workstations sharing a folder use to take turns at a
// read-modify-write of a shared file (a month, the display groups, a logbook).
//
// The lock is a small file created exclusively; it holds the holder's identity (host,
// kernel boot, process namespace, process id and a random part). It is made whole or
// not at all: every write and the close are checked, and a lock that could not be
// written completely is removed again, so a full disk never leaves an empty lock.
//
// A lock whose holder has gone away is taken over. Wall-clock time is not trusted for
// that, since workstations' clocks differ: a lock counts as left behind only when
//   - its holder ran on this very kernel and process namespace and that process no
//     longer exists, or
//   - the waiting workstation has watched it unchanged (same content, same file time)
//     for kDateisperreVeraltet seconds of its own monotonic clock (the watch is kept
//     across attempts, so a refused save followed by a retry counts the whole time),
//   - or it is empty and has stayed so for kLeereSperreVeraltet seconds: a holder
//     writes its identity right after creating the file, so an empty lock is one
//     whose holder ended in between (a holder slower than that finds its lock gone
//     before it writes and gives up).
// The holder freshens the file time during long work (auffrischen), and every held
// lock is released on each end of the program that the program controls.
#include <QByteArray>
#include <QString>

inline constexpr double kDateisperreVeraltet = 30.0;
inline constexpr double kLeereSperreVeraltet = 2.0;

class Dateisperre {
 public:
  // Tries for at most `wartezeit` seconds of the monotonic clock. A lock of the same
  // path already held by this program is shared (nested).
  Dateisperre(const QString& pfad, double wartezeit);
  ~Dateisperre();
  Dateisperre(const Dateisperre&) = delete;
  Dateisperre& operator=(const Dateisperre&) = delete;

  bool gehalten() const { return mGehalten; }
  // Not 0 when the lock file could not be created for another reason than another
  // holder (full disk, no rights, read-only folder): the errno value.
  int fehler() const { return mFehler; }
  // The lock was taken over from a holder that had gone away (files it left behind
  // may be cleaned up now).
  bool übernommen() const { return mÜbernommen; }
  // Whether the lock file still holds this program's identity; freshens it when so and
  // its last freshening (or its making) is a second old or more.
  bool noch_eigen();
  // Freshens the lock's file time (at most once a second), so waiting workstations see
  // the holder alive.
  void auffrischen();
  const QString& pfad() const { return mPfad; }

 private:
  QString mPfad;
  bool mGehalten = false;
  bool mÜbernommen = false;
  int mFehler = 0;
};

// A lock file that could not be created (full disk, no rights) is a failure of file
// access: raises the run-time error for the cause (61 disk full, 70 access denied, 76
// path not found, else 75) with the lock file as the file last opened, so the central
// handler's file-access message names the file and the cause.
[[noreturn]] void Dateisperre_Fehler(const QString& pfad, int fehlernummer);

// Creates a lock file exclusively and whole: 0 when made, EEXIST when it exists (also
// when the create failed with another error but the path stands there afterwards, as a
// share may answer a lost race with "no rights"), otherwise the errno of what failed,
// tried twice (a half-made file is removed again).
int Sperrdatei_anlegen(const QString& pfad, const QByteArray& inhalt);
// The identity a lock file of process `pid` on this machine holds (for tests: a lock
// of a process that has ended).
QByteArray Dateisperre_Kennung(qint64 pid);

// A lock path that holds no regular file (a symbolic link, a folder, a pipe) is no
// holder's lock: it is removed (a link itself, never what it points to; a folder only
// when empty), an administrator logbook line names it, and true is returned. False
// when the path is a regular file, missing, or could not be removed.
bool Unechte_Sperre_entfernen(const QString& pfad);

// Releases every lock this program holds (planned ends; the test reset).
void Dateisperren_freigeben();
