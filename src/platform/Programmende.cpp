#include "platform/Programmende.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace programmende {
namespace {
std::function<void()> gEntladen;
bool gTestmodus = false;
bool gBeendetWird = false;
std::vector<std::function<void()>>& Aufräumer() {
  static std::vector<std::function<void()>> a;
  return a;
}
}  // namespace

void setzeEntladen(std::function<void()> entladen) { gEntladen = std::move(entladen); }
void beimEnde(std::function<void()> aufräumen) { Aufräumer().push_back(std::move(aufräumen)); }
void setzeTestmodus(bool an) { gTestmodus = an; }
bool testmodus() { return gTestmodus; }

void beenden(int code) {
  if (!gBeendetWird && gEntladen) {
    gBeendetWird = true;
    try {
      gEntladen();
    } catch (...) {
      // The end must not fail on the way out.
    }
    gBeendetWird = false;
  }
  if (gTestmodus) throw ProgrammBeendet(code);
  for (const auto& a : Aufräumer()) {
    try {
      a();
    } catch (...) {
    }
  }
  std::fflush(nullptr);
  // Every file is closed after each operation, so nothing is left to flush; skipping
  // static destructors avoids tearing down Qt from inside an event handler.
  std::_Exit(code);
}

}  // namespace programmende
