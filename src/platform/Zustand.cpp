#include "platform/Zustand.h"

#include <vector>

namespace zustand {
namespace {
std::vector<std::function<void()>>& liste() {
  static std::vector<std::function<void()>> l;
  return l;
}
}  // namespace

bool registrieren(std::function<void()> f) {
  liste().push_back(std::move(f));
  return true;
}

void alleZurücksetzen() {
  for (auto& f : liste()) f();
}

}  // namespace zustand
