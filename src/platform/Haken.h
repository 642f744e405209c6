#pragma once
// A link from a lower library up to a higher one: a function slot that the program's
// wiring (planner/Programm.cpp) fills at start, named as the code spells it. A caller
// that calls it relies on it: calling it empty is a programming error, raised as a
// run-time error that names the slot and goes to the central error handler like any
// other, instead of the click that silently does nothing. A slot that may be empty in
// a real state of the program is asked first (`if (slot)`), with a comment saying when.
#include <QString>
#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>

#include "platform/Laufzeitfehler.h"

namespace fehler {
// An object (here: a slot of the wiring) used before it was set.
inline constexpr int kObjektNichtFestgelegt = 91;
// The text of that error for a slot: "Objektvariable nicht festgelegt: <name>".
QString Haken_fehlt_Text(const char* name);
[[noreturn]] void Haken_fehlt(const char* name);
}  // namespace fehler

template <class Signatur>
class Haken;

template <class R, class... A>
class Haken<R(A...)> {
 public:
  using Funktion = std::function<R(A...)>;

  explicit Haken(const char* name) : mName(name) {}
  Haken(const char* name, Funktion f) : mName(name), mF(std::move(f)) {}

  // Filling keeps the slot's name: it belongs to the place, not to what is put in it.
  Haken(const Haken&) = default;
  Haken& operator=(const Haken& h) {
    mF = h.mF;
    return *this;
  }
  template <class F>
  requires(!std::is_same_v<std::remove_cvref_t<F>, Haken> && std::is_constructible_v<Funktion, F&&>) Haken& operator=(
      F&& f) {
    mF = std::forward<F>(f);
    return *this;
  }
  Haken& operator=(std::nullptr_t) {
    mF = nullptr;
    return *this;
  }

  explicit operator bool() const noexcept { return static_cast<bool>(mF); }
  const char* name() const noexcept { return mName; }
  const Funktion& funktion() const noexcept { return mF; }

  R operator()(A... a) const {
    if (!mF) fehler::Haken_fehlt(mName);
    return mF(std::forward<A>(a)...);
  }

 private:
  const char* mName;
  Funktion mF;
};

// For a caller that needs several slots before it starts (a printout that must not
// stop half-way): raises the error for the first one that is empty.
template <class... H>
void Haken_prüfen(const H&... haken) {
  ((haken ? void() : fehler::Haken_fehlt(haken.name())), ...);
}
