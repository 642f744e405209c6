#pragma once
// The program lock an administrator's long rewrite holds: "Lockfile.txt" in the data
// folder with the maintenance text, this user as holder. Other workstations cannot
// start, and their saves stop with the lock message. Set only when no lock file
// exists (an administrator's own lock stays as it is), removed when the object goes.
class Wartungssperre {
 public:
  Wartungssperre();
  ~Wartungssperre();
  Wartungssperre(const Wartungssperre&) = delete;
  Wartungssperre& operator=(const Wartungssperre&) = delete;

 private:
  bool mGesetzt = false;
};
