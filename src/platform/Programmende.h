#pragma once
// The one way the program ends outside the normal close of its main window. In the
// real program the terminator runs the main window's unload and ends the process; in
// tests it throws ProgrammBeendet, so a test sees the message and the logbook line of
// a fatal stop and goes on.
#include <exception>
#include <functional>

class ProgrammBeendet : public std::exception {
 public:
  explicit ProgrammBeendet(int code) : mCode(code) {}
  int code() const { return mCode; }
  const char* what() const noexcept override { return "Programm beendet"; }

 private:
  int mCode;
};

namespace programmende {

// What runs before the process ends (the main window's unload); set by the planner.
void setzeEntladen(std::function<void()> entladen);
// Registers what must be done on every end the program controls, after the unload
// and before the process ends (releasing lock files on a shared folder). Not run in
// the test mode, where unwinding the stack releases them.
void beimEnde(std::function<void()> aufräumen);
// In tests: end by throwing ProgrammBeendet instead of ending the process.
void setzeTestmodus(bool an);
bool testmodus();

// Unloads the main window (once) and ends the program with the exit code.
[[noreturn]] void beenden(int code);

}  // namespace programmende
