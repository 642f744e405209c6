#pragma once
// What a line of a month record file is: the one rule that the month reader, the
// writer's merge, the start repair and the check of a backup's copy all go by, so that
// none of them keeps a line another one drops.
//
// From the fourth line on a month holds, in any mix and order:
//   - entry lines: "A:" + user + ":" + exactly 31 code characters;
//   - comment lines: "K:" + user + ":" + first day "dd" + "-" + last day "dd" + ":" +
//     text, with 1 <= first <= last <= 31 (any other range addresses days no month has).
// The user ends at the first ":" after the prefix, so it never holds one. Whether the
// line ends in CR LF or is the file's last line without one makes no difference here.
#include <QStringView>

enum class Monatszeilenart {
  Eintrag,     // a good entry line
  Kommentar,   // a good comment line
  Fehlerhaft,  // prefix and user of an entry or comment line, but not its form: a bad entry
  Fremd,       // no entry or comment line at all: a bad line
};

struct Monatszeilenform {
  Monatszeilenart art = Monatszeilenart::Fremd;
  // The ":" after the user; -1 for a bad line.
  qsizetype trenner = -1;

  bool gut() const { return art == Monatszeilenart::Eintrag || art == Monatszeilenart::Kommentar; }
  bool eintrag() const { return art == Monatszeilenart::Eintrag; }
  // Entry or comment line by prefix and user, good or bad.
  bool monatszeile() const { return art != Monatszeilenart::Fremd; }
  // The user of an entry or comment line, good or bad.
  QStringView benutzer(QStringView zeile) const { return zeile.mid(2, trenner - 2); }
  // What follows the user's ":": the 31 code characters of an entry line.
  QStringView rest(QStringView zeile) const { return zeile.mid(trenner + 1); }
};

// Checked in place, once per line of every month read: no copy, no allocation.
inline Monatszeilenform Form_der_Monatszeile(QStringView z) {
  Monatszeilenform f;
  if (z.size() < 2 || z[1] != u':' || (z[0] != u'A' && z[0] != u'K')) return f;
  const bool eintrag = z[0] == u'A';
  // The names are short: looked for from the prefix on.
  for (qsizetype k = 2; k < z.size(); ++k) {
    if (z[k] == u':') {
      f.trenner = k;
      break;
    }
  }
  if (f.trenner < 0) return f;
  const QStringView rest = z.mid(f.trenner + 1);
  if (eintrag) {
    f.art = rest.size() == 31 ? Monatszeilenart::Eintrag : Monatszeilenart::Fehlerhaft;
    return f;
  }
  const auto ziffer = [](QChar c) { return c >= u'0' && c <= u'9'; };
  const auto zahl = [](QChar a, QChar b) { return (a.unicode() - u'0') * 10 + (b.unicode() - u'0'); };
  bool gut = rest.size() >= 6 && rest[2] == u'-' && rest[5] == u':' && ziffer(rest[0]) && ziffer(rest[1]) &&
             ziffer(rest[3]) && ziffer(rest[4]);
  if (gut) {
    const int von = zahl(rest[0], rest[1]);
    const int bis = zahl(rest[3], rest[4]);
    gut = von >= 1 && von <= bis && bis <= 31;
  }
  f.art = gut ? Monatszeilenart::Kommentar : Monatszeilenart::Fehlerhaft;
  return f;
}

inline bool Gute_Monatszeile(QStringView z) { return Form_der_Monatszeile(z).gut(); }
inline bool Gute_Eintragszeile(QStringView z) { return Form_der_Monatszeile(z).eintrag(); }
