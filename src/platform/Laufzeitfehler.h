#pragma once
// The run-time error of the program: a numbered error with a text, as the error
// handler reports it. Procedures throw it; the wrapper of each procedure catches it
// and hands the procedure's name to the central error handler. No exception may
// leave a Qt event handler: every handler runs its body through `Prozedur`.
#include <QString>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

class Laufzeitfehler : public std::exception {
 public:
  Laufzeitfehler(int nummer, QString beschreibung);
  int nummer() const { return mNummer; }
  const QString& beschreibung() const { return mBeschreibung; }
  const char* what() const noexcept override { return mWhat.c_str(); }

 private:
  int mNummer;
  QString mBeschreibung;
  std::string mWhat;
};

// Error numbers the program raises itself (their texts follow the usual ones).
namespace fehler {
inline constexpr int kDateiNichtGefunden = 53;
inline constexpr int kDateiBereitsGeöffnet = 55;
inline constexpr int kEingabeHinterDateiende = 62;
inline constexpr int kFalscherDateimodus = 54;
inline constexpr int kZugriffVerweigert = 70;
inline constexpr int kPfadZugriffsfehler = 75;
inline constexpr int kPfadNichtGefunden = 76;
inline constexpr int kTypenUnverträglich = 13;
inline constexpr int kIndexAusserhalb = 9;
QString text(int nummer);
[[noreturn]] void auslösen(int nummer);
}  // namespace fehler

// The last trapped error, read by the central error handler.
struct Fehlerzustand {
  int nummer = 0;
  QString beschreibung;
};
extern Fehlerzustand gErr;

// The central error handler, installed by the start-up library. It returns only when
// the program is to go on (during the start with "/enforcestart").
using Fehlerbehandlung = std::function<void(const QString& prozedur)>;
void setzeFehlerbehandlung(Fehlerbehandlung f);
void behandleFehler(const QString& prozedur);

// Whether an exception is the planned end of the program (see Programmende.h); such
// exceptions pass through every procedure wrapper untouched.
bool istProgrammende(const std::exception& e);

// Runs body; a run-time error (or any other std::exception) is handed to the central
// handler with the procedure's name; the result is then the default value. The name
// may be given as a function that builds it: it is then built only when an error is
// raised (for procedures that run once per line of a file).
template <class N, class F>
requires std::is_invocable_r_v<QString, N&>
auto Prozedur(N&& name, F&& body) -> std::invoke_result_t<F> {
  using R = std::invoke_result_t<F>;
  try {
    return body();
  } catch (const Laufzeitfehler& e) {
    gErr = {e.nummer(), e.beschreibung()};
  } catch (const std::exception& e) {
    if (istProgrammende(e)) throw;
    gErr = {51, QString::fromUtf8(e.what())};
  }
  behandleFehler(name());
  if constexpr (!std::is_void_v<R>) return R{};
}

template <class F>
auto Prozedur(const QString& name, F&& body) -> std::invoke_result_t<F> {
  return Prozedur([&name] { return name; }, std::forward<F>(body));
}
