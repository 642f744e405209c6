#include "startup/Umrechnungen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Textfeld.h"
#include "platform/Zustand.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"

bool gDatumsprüfungOffen = false;

namespace {
const QString kCodes = QStringLiteral("123456789ABCDEFGHIJKLMNOPQ");

void Zustand_zurücksetzen() { gDatumsprüfungOffen = false; }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// Two digits straight into the string: dates are formatted once per row of the longest
// lists (the logbook viewer), where arg() was the larger part of the time.
QString zweistellig(int wert) {
  if (wert < 0 || wert > 99) return QStringLiteral("%1").arg(wert, 2, 10, QChar(u'0'));
  const char16_t z[2] = {static_cast<char16_t>(u'0' + wert / 10), static_cast<char16_t>(u'0' + wert % 10)};
  return QString(reinterpret_cast<const QChar*>(z), 2);
}

bool istZiffer(QChar c) { return c >= u'0' && c <= u'9'; }

// The value of a run of digits; an empty run is 0. Clamped far above any date part,
// so a long run of digits cannot overflow.
int ziffernwert(const QString& ziffern) {
  int v = 0;
  for (QChar c : ziffern) {
    v = v * 10 + (c.unicode() - u'0');
    if (v > 100000) return 100000;
  }
  return v;
}

// A date from year, month and day that rolls over like a date-from-parts function.
QDate datumAusTeilen(int jahr, int monat, int tag) { return QDate(jahr, 1, 1).addMonths(monat - 1).addDays(tag - 1); }

// A number formatted with at least `stellen` integer digits and one decimal, rounded
// half away from zero on its shortest decimal form (so 1,05 gives 1,1 although the
// single-precision value lies just below it).
QString zahlFormatieren(float wert, int stellen) {
  char puffer[64];
  const auto [ende, ec] = std::to_chars(puffer, puffer + sizeof puffer, wert, std::chars_format::fixed);
  if (ec != std::errc()) fehler::auslösen(6);
  QString s = QString::fromLatin1(puffer, ende - puffer);
  const bool negativ = s.startsWith(u'-');
  if (negativ) s = s.mid(1);
  const qsizetype punkt = s.indexOf(u'.');
  const QString ganz = punkt < 0 ? s : s.left(punkt);
  const QString bruch = punkt < 0 ? QString() : s.mid(punkt + 1);
  QString ziffern = ganz + (bruch.isEmpty() ? QChar(u'0') : bruch[0]);
  if (bruch.size() > 1 && bruch[1] >= u'5') {
    qsizetype i = ziffern.size() - 1;
    while (i >= 0 && ziffern[i] == u'9') ziffern[i--] = u'0';
    if (i < 0)
      ziffern.prepend(u'1');
    else
      ziffern[i] = QChar(ziffern[i].unicode() + 1);
  }
  QString g = ziffern.left(ziffern.size() - 1);
  while (g.size() > 1 && g.startsWith(u'0')) g = g.mid(1);
  while (g.size() < stellen) g.prepend(u'0');
  return (negativ ? QStringLiteral("-") : QString()) + g + gDezimaltrennzeichen + ziffern.right(1);
}

// The value of a day count typed as text. A day count has no thousands, so the
// workstation's separator, "," and "." all read as the decimal point.
float tageswert(const QString& s) {
  QByteArray c;
  qsizetype i = 0;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) c += static_cast<char>(s[i++].unicode());
  bool ziffer = false, punkt = false;
  for (; i < s.size(); ++i) {
    const QChar z = s[i];
    if (istZiffer(z)) {
      c += static_cast<char>(z.unicode());
      ziffer = true;
    } else if (!punkt && (z == u',' || z == u'.' || QString(z) == gDezimaltrennzeichen)) {
      c += '.';
      punkt = true;
    } else {
      fehler::auslösen(fehler::kTypenUnverträglich);
    }
  }
  if (!ziffer) fehler::auslösen(fehler::kTypenUnverträglich);
  // from_chars reads "." whatever the process locale (strtof would stop at it under a
  // decimal comma and cut the half day off). It takes no leading "+".
  const char* anfang = c.constData();
  if (*anfang == '+') ++anfang;
  float f = 0;
  const auto [ende, ec] = std::from_chars(anfang, c.constData() + c.size(), f, std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range) {
    // Too small a fraction reads as 0, as strtof gives; too large is an overflow.
    const QByteArray ganz = c.left(c.indexOf('.')).replace('-', "").replace('+', "");
    if (ganz.count('0') != ganz.size()) fehler::auslösen(6);
    return 0.0f;
  }
  if (ec != std::errc() || ende != c.constData() + c.size()) fehler::auslösen(fehler::kTypenUnverträglich);
  if (!std::isfinite(f)) fehler::auslösen(6);
  return f;
}
}  // namespace

QString FormatDatumDS(const QDate& d) {
  const int teile[3] = {d.year() % 100, d.month(), d.day()};
  if (std::any_of(std::begin(teile), std::end(teile), [](int t) { return t < 0 || t > 99; }))
    return zweistellig(teile[0]) + zweistellig(teile[1]) + zweistellig(teile[2]);
  QString r(6, Qt::Uninitialized);
  char16_t* z = reinterpret_cast<char16_t*>(r.data());
  for (int i = 0; i < 3; ++i) {
    z[2 * i] = static_cast<char16_t>(u'0' + teile[i] / 10);
    z[2 * i + 1] = static_cast<char16_t>(u'0' + teile[i] % 10);
  }
  return r;
}

QDate FormatDatumSD(const QString& s) {
  return Prozedur(QStringLiteral("modVelkora - FormatDatumSD"), [&] {
    const QString jj = s.left(2), mm = s.mid(2, 2), tt = s.mid(4, 2);
    if (jj.size() != 2 || mm.size() != 2 || tt.size() != 2 || !text::nurZiffern(jj + mm + tt))
      fehler::auslösen(fehler::kTypenUnverträglich);
    return datumAusTeilen(2000 + jj.toInt(), mm.toInt(), tt.toInt());
  });
}

QString In_Datumsreihenfolge(QStringView tag, QStringView monat, QStringView jahr, QStringView trenner) {
  QStringView a = tag, b = monat, c = jahr;
  if (gDatumsreihenfolge == 0) {
    a = monat;
    b = tag;
  } else if (gDatumsreihenfolge == 2) {
    a = jahr;
    c = tag;
  }
  QString r;
  r.reserve(a.size() + b.size() + c.size() + 2 * trenner.size());
  r.append(a).append(trenner).append(b).append(trenner).append(c);
  return r;
}

QString Datum_lang(const QDate& d, const QString& trenner) {
  return In_Datumsreihenfolge(zweistellig(d.day()), zweistellig(d.month()), QString::number(d.year()), trenner);
}

QString Datum_lang(const QDate& d) { return Datum_lang(d, gDatumstrennzeichen); }

QString FormatDatumSA(const QString& s) {
  const QStringView v(s);
  return In_Datumsreihenfolge(v.mid(4, 2), v.mid(2, 2), v.left(2), gDatumstrennzeichen);
}

QString FormatDatumAS(const QString& a) {
  const QString g1 = a.left(2), g2 = a.mid(3, 2), g3 = a.mid(6, 2);
  switch (gDatumsreihenfolge) {
    case 0:
      return g3 + g1 + g2;
    case 2:
      return g1 + g2 + g3;
    default:
      return g3 + g2 + g1;
  }
}

QString FormatDatumDA(const QDate& d) { return FormatDatumSA(FormatDatumDS(d)); }

QDate FormatDatumAD(const QString& a) {
  return Prozedur(QStringLiteral("modVelkora - FormatDatumAD"), [&] { return FormatDatumSD(FormatDatumAS(a)); });
}

bool CheckDatum(Textfeld& feld, bool meldungen, QDate* gelesen) {
  return Prozedur(QStringLiteral("modVelkora - CheckDatum"), [&] {
    if (gelesen) *gelesen = QDate();
    const auto ablehnen = [&](const QString& meldung) {
      if (meldungen) {
        Meldung(meldung);
        feld.setFocus();
        feld.selectAll();
      }
      return false;
    };
    QString t = text::trim(feld.text());
    feld.setText(t);
    if (t.isEmpty()) return true;
    gDatumsprüfungOffen = true;
    const QString S = gDatumstrennzeichen.left(1);
    const QChar s = S.isEmpty() ? QChar(u'.') : S[0];

    if (t.size() == 3 && t[1] == s) t = QStringLiteral("0") + t[0] + s + u'0' + t[2];
    if (t.size() < 4) return ablehnen(QStringLiteral("Das eingegebene Datum ist zu kurz"));
    if (!t.contains(s)) {
      if (t.size() == 4)
        t = t.left(2) + s + t.mid(2, 2) + s;
      else if (t.size() == 6)
        t = t.left(2) + s + t.mid(2, 2) + s + t.mid(4, 2);
    }
    int trenner = 0;
    for (QChar c : t) {
      if (c == s)
        ++trenner;
      else if (!istZiffer(c))
        return ablehnen(QStringLiteral("Unzulässiges Zeichen '") + c + QStringLiteral("' im Datum enthalten"));
    }
    if (trenner == 0) return ablehnen(QStringLiteral("Kein Datumstrennzeichen '") + s + QStringLiteral("' gefunden"));
    const QString unplausibel = QStringLiteral("Datumseingabe nicht plausibel");
    // A fourth part would be dropped without a word: refuse it.
    if (trenner > 2) return ablehnen(unplausibel);
    if (trenner == 1) t += s;
    const QStringList teile = t.split(s);
    const QString A = teile[0], B = teile[1], C = teile[2];

    // Day-month-year unless the workstation orders otherwise; year-month-day without
    // a year reads month and day.
    QString tag = A, monat = B, jahr = C;
    if (gDatumsreihenfolge == 0) {
      monat = A;
      tag = B;
    } else if (gDatumsreihenfolge == 2) {
      if (C.isEmpty()) {
        monat = A;
        tag = B;
      } else {
        jahr = A;
        monat = B;
        tag = C;
      }
    }
    const int T = ziffernwert(tag), M = ziffernwert(monat);
    if (T < 1 || T > 31 || M < 1 || M > 12) return ablehnen(unplausibel);
    // Stored dates keep two digits of the year and read them back as 20yy: a typed
    // year outside 2000 to 2099 would come back as another year. Two digits from 50 on
    // are a year of the last century, which a caller may refuse; the text is the same.
    int J;
    bool vierstellig = false;
    if (jahr.isEmpty()) {
      J = 2000 + gHeute.year() % 100;
    } else if (jahr.size() <= 2) {
      const int j = ziffernwert(jahr);
      J = j >= 50 ? 1900 + j : 2000 + j;
    } else {
      J = ziffernwert(jahr);
      vierstellig = true;
    }
    if (gelesen) *gelesen = J >= 1 && J <= 9999 ? QDate(J, M, std::min(T, QDate(J, M, 1).daysInMonth())) : QDate();
    if (vierstellig && (J < 2000 || J > 2099)) return ablehnen(unplausibel);
    const QDate datum(J, M, std::min(T, Anzahl_Monatstage(J, M)));
    t = FormatDatumDA(datum);
    if (feld.maxLength() > 0 && feld.maxLength() < 8) t = gDatumsreihenfolge == 2 ? t.mid(3, 5) + s : t.left(6);
    feld.setText(t);
    gDatumsprüfungOffen = false;
    return true;
  });
}

QString DecHex(int wert) { return (wert >= 1 && wert <= 26) ? QString(kCodes[wert - 1]) : QString(); }

int HexDec(const QString& zeichen) {
  if (zeichen.size() != 1) return 0;
  const qsizetype i = kCodes.indexOf(zeichen[0]);
  return i < 0 ? 0 : static_cast<int>(i) + 1;
}

int Anzahl_Monatstage(int jahr, int monat) {
  if (monat == 0) {
    monat = jahr % 100;
    jahr /= 100;
  }
  if (monat < 1 || monat > 12) return 0;
  if (jahr < 100) jahr += 2000;
  return QDate(jahr, monat, 1).daysInMonth();
}

int Anzahl_Monatstage(const QString& monatsschlüssel, int monat) {
  if (monat == 0) return Anzahl_Monatstage(text::zahl(monatsschlüssel.left(2)), text::zahl(monatsschlüssel.mid(2, 2)));
  return Anzahl_Monatstage(text::zahl(monatsschlüssel), monat);
}

QDate Osterdatum(int jahr) {
  // Gauss's rule with M = 24 and N = 5, which holds from 1900 to 2099.
  const int a = jahr % 19, b = jahr % 4, c = jahr % 7;
  const int d = (19 * a + 24) % 30;
  const int e = (2 * b + 4 * c + 6 * d + 5) % 7;
  if (22 + d + e <= 31) return QDate(jahr, 3, 22 + d + e);
  int tag = d + e - 9;
  if (tag == 26)
    tag = 19;
  else if (tag == 25 && d == 28 && e == 6 && a > 10)
    tag = 18;
  return QDate(jahr, 4, tag);
}

QString Monatsname(int monat) {
  static const char* const kNamen[] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                       "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  return QString::fromUtf8(kNamen[((monat - 1) % 12 + 12) % 12]);
}

QString HexFarbe(qint32 farbe) {
  const auto teil = [&](int verschiebung) {
    return QStringLiteral("%1").arg((farbe >> verschiebung) & 0xFF, 2, 16, QChar(u'0')).toUpper();
  };
  return QStringLiteral("&H") + teil(16) + teil(8) + teil(0);
}

QString BenFormat(const QString& zahl) {
  return Prozedur(QStringLiteral("modVelkora - BenFormat"), [&] {
    QString s = text::trim(zahl);
    if (s.isEmpty()) s = QStringLiteral("0");
    const float wert = tageswert(s);
    s = zahlFormatieren(wert, wert < 0 ? 2 : 3);
    if (wert < -99)
      s = QStringLiteral("-99") + s.right(2);
    else if (wert > 999)
      s = QStringLiteral("999") + s.right(2);
    return s;
  });
}

QString Ersetzen(const QString& text, const QString& suche, const QString& ersatz) {
  if (suche.isEmpty()) return text;
  QString r = text;
  return r.replace(suche, ersatz, Qt::CaseSensitive);
}

QString Extrahiere_Konsonanten(const QString& text) {
  static const QString kKonsonanten = QStringLiteral("bcdfghjklmnpqrstvwxyzBCDFGHJKLMNPQRSTVWXYZ");
  QString r;
  for (QChar c : text)
    if (kKonsonanten.contains(c)) r += c;
  return r;
}
