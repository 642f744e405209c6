#include "platform/Dialoge.h"

namespace dialoge {
namespace {
std::unique_ptr<Dienst>& slot() {
  static std::unique_ptr<Dienst> d = std::make_unique<Skript>();
  return d;
}
}  // namespace

void setzeDienst(std::unique_ptr<Dienst> d) { slot() = std::move(d); }
Dienst& dienst() { return *slot(); }
Antwort zeigen(const Aufforderung& a) { return slot()->zeigen(a); }

Antwort Skript::zeigen(const Aufforderung& a) {
  protokoll.push_back(a);
  if (!antworten.empty()) {
    Antwort r = antworten.front();
    antworten.pop_front();
    return r;
  }
  switch (a.art) {
    case Art::Meldung:
    case Art::Information:
      return {kOK, {}};
    case Art::JaNein:
      return {kNein, {}};
    default:
      return {kAbbrechen, {}};
  }
}

std::vector<QString> Skript::texte() const {
  std::vector<QString> t;
  for (const auto& a : protokoll) t.push_back(a.text);
  return t;
}

Skript& skript() {
  auto s = std::make_unique<Skript>();
  Skript& r = *s;
  setzeDienst(std::move(s));
  return r;
}

}  // namespace dialoge
