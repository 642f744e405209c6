#pragma once
// One running copy per user on this machine. The user is the program's user name
// (USERNAME, else the login name), letter case ignored as in the employee lookups; the
// guard lies in the login account's runtime folder, not in the temporary folder, so a
// second start with another TEMP finds it. It is a lock the system lets go when its
// process ends, however it ends: a killed copy never bars the next start.
#include <QString>

namespace einzelinstanz {
// True when this process now holds the guard (kept until it ends or calls freigeben),
// false when another process holds it. Without a folder of the account's own to keep
// it in the start goes on unguarded.
bool sichern();
void freigeben();
// The folder the guard lives in: XDG_RUNTIME_DIR, else /run/user/<uid>, else the
// account's own folder /tmp/velkora-<uid>-laufzeit (made when missing), each only
// when it is a real folder of this account that no one else may write to; else the
// temporary folder when it is the account's own; else empty.
QString ordner();
}  // namespace einzelinstanz
