#pragma once
// What a dialog holds while it rewrites shared data that other workstations read and
// write: the program lock that bars every other workstation's saves, and the month
// locks of every month of the data folder.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class Monatssperre;

// The lock text written while a dialog rewrites data files.
inline constexpr char16_t kWartungssperre[] = u"Wegen Wartungsarbeiten Programmaufruf zurzeit nicht möglich";

// Holds the program lock for its lifetime: runs the lock check (another user's lock
// ends the program) and, when no "Lockfile.txt" exists, writes one in this user's name,
// which it removes again at its end. A lock that was there before is left as it is.
class Wartungssperre {
 public:
  Wartungssperre();
  ~Wartungssperre();
  Wartungssperre(const Wartungssperre&) = delete;
  Wartungssperre& operator=(const Wartungssperre&) = delete;
  bool geschrieben() const { return mGeschrieben; }

 private:
  bool mGeschrieben = false;
};

// Holds the month lock of every month that has a record file in the data folder and
// of every month of the window, taken one after the other (each waited for as the
// month writer waits; a lock left behind is taken over). While held no workstation
// writes a month file.
class Alle_Monatssperren {
 public:
  Alle_Monatssperren();
  ~Alle_Monatssperren();
  Alle_Monatssperren(const Alle_Monatssperren&) = delete;
  Alle_Monatssperren& operator=(const Alle_Monatssperren&) = delete;
  // True when every lock is held; otherwise the key of the first month whose lock
  // could not be had is in `fehlend()` and no lock is held.
  bool gehalten() const { return mFehlend.isEmpty(); }
  const QString& fehlend() const { return mFehlend; }

 private:
  std::vector<std::unique_ptr<Monatssperre>> mSperren;
  QString mFehlend;
};
