#pragma once
// One running copy per user and environment: a lock in the user's temporary folder.
// Two users, or two test workstations with their own TEMP, run side by side.
namespace einzelinstanz {
// True when this process now holds the instance lock (kept until it ends).
bool sichern();
void freigeben();
}  // namespace einzelinstanz
