#include "startup/Umrechnungen.h"

#include "platform/Text.h"

namespace {
const QString kCodes = QStringLiteral("123456789ABCDEFGHIJKLMNOPQ");
}

QString FormatDatumDS(const QDate& d) {
  return QStringLiteral("%1%2%3")
      .arg(d.year() % 100, 2, 10, QChar(u'0'))
      .arg(d.month(), 2, 10, QChar(u'0'))
      .arg(d.day(), 2, 10, QChar(u'0'));
}

QDate FormatDatumSD(const QString& s) {
  return QDate(2000 + text::zahl(s.left(2)), text::zahl(s.mid(2, 2)), text::zahl(s.mid(4, 2)));
}

QString DecHex(int wert) { return (wert >= 1 && wert <= 26) ? QString(kCodes[wert - 1]) : QString(); }

int HexDec(const QString& zeichen) {
  if (zeichen.size() != 1) return 0;
  const qsizetype i = kCodes.indexOf(zeichen[0]);
  return i < 0 ? 0 : static_cast<int>(i) + 1;
}

int Anzahl_Monatstage(int jahr, int monat) {
  if (monat < 1 || monat > 12) return 0;
  return QDate(jahr, monat, 1).daysInMonth();
}

int Anzahl_Monatstage(const QString& monatsschlüssel, int monat) {
  if (monat == 0) return Anzahl_Monatstage(2000 + text::zahl(monatsschlüssel.left(2)), text::zahl(monatsschlüssel.mid(2, 2)));
  return Anzahl_Monatstage(text::zahl(monatsschlüssel), monat);
}

QDate Osterdatum(int jahr) {
  // Anonymous Gregorian algorithm.
  const int a = jahr % 19, b = jahr / 100, c = jahr % 100, d = b / 4, e = b % 4;
  const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
  const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
  const int m = (a + 11 * h + 22 * l) / 451;
  const int monat = (h + l - 7 * m + 114) / 31, tag = (h + l - 7 * m + 114) % 31 + 1;
  return QDate(jahr, monat, tag);
}

QString HexFarbe(qint32 farbe) {
  const auto teil = [&](int verschiebung) {
    return QStringLiteral("%1").arg((farbe >> verschiebung) & 0xFF, 2, 16, QChar(u'0')).toUpper();
  };
  return QStringLiteral("&H") + teil(16) + teil(8) + teil(0);
}
