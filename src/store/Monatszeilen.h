#pragma once
// What a line of a month record file is, and how one is written: the decisions on the
// form of a month line live here and nowhere else.
//
// From the fourth line on a month holds, in any mix and order:
//   - entry lines: "A:" + user + ":" + exactly 31 code characters;
//   - comment lines: "K:" + user + ":" + first day "dd" + "-" + last day "dd" + ":" +
//     text, with 1 <= first <= last <= 31 (any other range addresses days no month has).
// The user ends at the first ":" after the prefix, so it never holds one. Whether the
// line ends in CR LF or is the file's last line without one makes no difference here.
//
// Decided here, and nowhere else:
//   - whether a line is a good entry or comment line, a bad one (prefix and user, but
//     not the form) or none at all (`Form_der_Monatszeile`). The month reader, the
//     start repair with its check of a backup's copy, the writer (its merge, and
//     whether a month's last line is cut: `Letzte_Zeile_abgeschnitten`) and the
//     renaming of users in the months all go by it, so that none of them keeps a line
//     another one drops.
//   - where a line's user, codes, day range and comment text stand: the accessors of
//     `Monatszeilenform`, for whole lines and for the lines of the month lists, which
//     hold them without their prefix (`Form_des_Kommentars`, `Form_des_Eintrags`). A
//     comment that fails the rule has no days, and the reader drops it, so the month
//     grid, undo and the writer's merge of comments into day runs, which read a
//     comment's days from here, clamp no range of their own.
//   - how an entry or comment line is written (`Eintragszeile`, `Kommentarzeile`, and
//     `Kommentarmitte` for the writer, which joins a rewrite's lines from pieces): every
//     line the planner saves or keeps for undo, and every comment run a rewrite writes,
//     is built by them.
#include <QString>
#include <QStringView>
#include <array>

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
  // Where the user begins: after the prefix, or at 0 in a line of the month lists.
  qsizetype anfang = 2;
  // The day range of a good comment line; 0 for every other line.
  int von = 0;
  int bis = 0;

  bool gut() const { return art == Monatszeilenart::Eintrag || art == Monatszeilenart::Kommentar; }
  bool eintrag() const { return art == Monatszeilenart::Eintrag; }
  bool kommentar() const { return art == Monatszeilenart::Kommentar; }
  // Entry or comment line by prefix and user, good or bad.
  bool monatszeile() const { return art != Monatszeilenart::Fremd; }
  // The user of an entry or comment line, good or bad.
  QStringView benutzer(QStringView zeile) const { return zeile.mid(anfang, trenner - anfang); }
  // What follows the user's ":": the 31 code characters of an entry line.
  QStringView rest(QStringView zeile) const { return zeile.mid(trenner + 1); }
  // First and last day of a good comment line (1 <= first <= last <= 31); 0 otherwise.
  int erster_Tag() const { return von; }
  int letzter_Tag() const { return bis; }
  // The text of a good comment line, after its "dd-dd:"; empty for every other line.
  QStringView kommentartext(QStringView zeile) const { return kommentar() ? zeile.mid(trenner + 7) : QStringView(); }
};

namespace monatszeilen {
// The form of what follows a prefix, the user beginning at `anfang`. Checked in place,
// once per line of every month read: no copy, no allocation.
inline Monatszeilenform Form_ab(QStringView z, qsizetype anfang, bool eintrag) {
  Monatszeilenform f;
  f.anfang = anfang;
  // The names are short: looked for from the prefix on.
  for (qsizetype k = anfang; k < z.size(); ++k) {
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
  int von = 0, bis = 0;
  if (gut) {
    von = zahl(rest[0], rest[1]);
    bis = zahl(rest[3], rest[4]);
    gut = von >= 1 && von <= bis && bis <= 31;
  }
  f.art = gut ? Monatszeilenart::Kommentar : Monatszeilenart::Fehlerhaft;
  if (gut) {
    f.von = von;
    f.bis = bis;
  }
  return f;
}
}  // namespace monatszeilen

// Checked in place, once per line of every month read: no copy, no allocation.
inline Monatszeilenform Form_der_Monatszeile(QStringView z) {
  if (z.size() < 2 || z[1] != u':' || (z[0] != u'A' && z[0] != u'K')) return {};
  return monatszeilen::Form_ab(z, 2, z[0] == u'A');
}

// The month lists hold their lines without the prefix: a comment as user + ":" +
// "dd-dd" + ":" + text, an entry as user + ":" + 31 codes. Its form is the one the whole
// line has, and the accessors are used on the text as the list holds it.
inline Monatszeilenform Form_des_Kommentars(QStringView ohnePräfix) {
  return monatszeilen::Form_ab(ohnePräfix, 0, false);
}
inline Monatszeilenform Form_des_Eintrags(QStringView ohnePräfix) { return monatszeilen::Form_ab(ohnePräfix, 0, true); }

inline bool Gute_Monatszeile(QStringView z) { return Form_der_Monatszeile(z).gut(); }
inline bool Gute_Eintragszeile(QStringView z) { return Form_der_Monatszeile(z).eintrag(); }

// "A:" + user + ":" + the codes, which are the 31 code characters of days 1 to 31.
inline QString Eintragszeile(QStringView benutzer, QStringView codes) {
  QString z;
  z.reserve(3 + benutzer.size() + codes.size());
  z += u"A:";
  z += benutzer;
  z += u':';
  z += codes;
  return z;
}

// What stands between a comment line's user and its text: ":" + first day "dd" + "-" +
// last day "dd" + ":", for days of a month (1 to 31). As characters, for a writer
// that puts a line together from pieces without building it.
inline std::array<char16_t, 7> Kommentarmitte(int von, int bis) {
  const auto ziffer = [](int n) { return static_cast<char16_t>(u'0' + n % 10); };
  return {u':', ziffer(von / 10), ziffer(von), u'-', ziffer(bis / 10), ziffer(bis), u':'};
}

// "K:" + user + ":" + first day "dd" + "-" + last day "dd" + ":" + text. An empty text
// takes the days' comments away. The days are those of a month, first not after last,
// or the line is none the reader keeps.
inline QString Kommentarzeile(QStringView benutzer, int von, int bis, QStringView text) {
  const std::array<char16_t, 7> mitte = Kommentarmitte(von, bis);
  QString z;
  z.reserve(2 + benutzer.size() + 7 + text.size());
  z += u"K:";
  z += benutzer;
  z += QStringView(mitte.data(), 7);
  z += text;
  return z;
}

// Whether a month file's last line, which has no line end, is cut: another
// workstation's append in flight, or a line cut off. `zeilennummer` is its number in
// the file (1 for the header). The header, the opaque line and the exceptions line are
// no entry or comment lines: one of them without its line end is taken as it stands
// (the header's own check judges the first); from the fourth line on, a line that is no
// whole entry or comment line is cut. A comment cut inside its text cannot be told
// from a whole one and is taken as it stands.
inline bool Letzte_Zeile_abgeschnitten(QStringView zeile, qsizetype zeilennummer) {
  return zeilennummer >= 4 && !Gute_Monatszeile(zeile);
}
