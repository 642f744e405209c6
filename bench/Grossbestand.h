#pragma once
// The large data folder the month benchmarks share: 1,000 employees, twelve code
// buttons and the erase button, and month files with one entry line and one comment
// per employee plus a quarter of the employees with a second, later line (appended
// saves). Its user names are spelt as on a German site, a quarter each: plain ASCII in
// lower case, ASCII with a capital, with an umlaut in lower case, with an umlaut, "ß"
// and capitals. The same folder with every name in lower-case ASCII, in ASCII with a
// capital, with umlauts, or with letters of the code page's upper block (Š, ž, Œ, Ÿ:
// characters above U+00FF that still have a byte), shows what the spelling costs.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <array>

#include "platform/Cp1252.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

inline constexpr int kMitarbeiter = 1000;

enum class Namensart { Gemischt, Ascii, AsciiGroß, Umlaute, Sonderzeichen };

// The user name of employee i (from 0). Every spelling is eight letters and the
// number, so that the folders differ in their names' characters only.
inline QString Großbenutzer(int i, Namensart art = Namensart::Gemischt) {
  static const QString stämme[] = {QStringLiteral("benutzer"), QStringLiteral("Benutzer"), QStringLiteral("müllerin"),
                                   QStringLiteral("JörgWeiß"), QStringLiteral("ŠašŽižek"), QStringLiteral("ŒdœŸšman")};
  int k = i % 4;
  if (art == Namensart::Ascii) k = 0;
  if (art == Namensart::AsciiGroß) k = 1;
  if (art == Namensart::Umlaute) k = 2 + i % 2;
  if (art == Namensart::Sonderzeichen) k = 4 + i % 2;
  return stämme[k] + QString::number(i);
}

// The employee and button tables, the planning year 2025 and an administrator.
inline void Großbestand_einrichten(int mitarbeiter = kMitarbeiter, Namensart art = Namensart::Gemischt) {
  gHeuteText = QStringLiteral("260310");
  gDatumstrennzeichen = QStringLiteral(".");
  gPlanungsjahr = 2025;
  gBenutzerstufe = 2;
  gSFTexte = QStringList{QString()};
  for (int i = 1; i <= 12; ++i) gSFTexte << QStringLiteral("B%1").arg(i);
  gSFTexte << QStringLiteral("Löschen");
  QStringList ids{QString()};
  for (int i = 0; i < mitarbeiter; ++i) ids << Großbenutzer(i, art);
  Mitarbeitertabelle_dimensionieren(mitarbeiter);
  gBenutzerIDs = ids;
  gMitarbeiterNamen = ids;
}

// The encoded month file of month yymm.
inline QByteArray Großmonat(const QString& schlüssel, int mitarbeiter = kMitarbeiter,
                            Namensart art = Namensart::Gemischt) {
  QByteArray inhalt;
  const auto zeile = [&](const QString& t) { inhalt += Zeile_kodieren(t, 65 + (inhalt.size() % 60)) + "\r\n"; };
  zeile(u'[' + schlüssel + u']');
  zeile(QStringLiteral("Kennung"));
  zeile(QStringLiteral("NoEx:NoEx"));
  for (int i = 0; i < mitarbeiter; ++i) {
    const QString benutzer = Großbenutzer(i, art);
    zeile(QStringLiteral("A:") + benutzer + u':' + QStringLiteral("11  A   3 2   BB     1   C  4  ").left(31));
    zeile(QStringLiteral("K:") + benutzer + QStringLiteral(":01-02:Seminar in Berlin"));
  }
  for (int i = 0; i < mitarbeiter; i += 4)
    zeile(QStringLiteral("A:") + Großbenutzer(i, art) + u':' + QString(31, u'1'));
  return inhalt;
}

// The 36 months of the window as files of the folder.
inline void Großmonate_schreiben(const QString& ordner, int mitarbeiter = kMitarbeiter,
                                 Namensart art = Namensart::Gemischt) {
  for (int m = 1; m <= 36; ++m) {
    const QString schlüssel = Monatsschlüssel_zu_Index(m);
    QFile f(ordner + schlüssel + QStringLiteral(" 250101 Data.dat"));
    f.open(QIODevice::WriteOnly);
    f.write(Großmonat(schlüssel, mitarbeiter, art));
  }
}

// The floor of reading a month: the raw bytes of the file, split at the line ends and
// each line decoded into a string through a 256-entry table (no checks, no records).
inline qsizetype Roh_mit_Tabelle_dekodieren(const QString& pfad) {
  static const std::array<char16_t, 256> tabelle = [] {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = cp1252::zeichen(static_cast<unsigned char>(b)).unicode();
    return t;
  }();
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QByteArray inhalt = f.readAll();
  const auto* d = reinterpret_cast<const unsigned char*>(inhalt.constData());
  const qsizetype n = inhalt.size();
  qsizetype zeichen = 0;
  for (qsizetype i = 0; i < n;) {
    qsizetype e = i;
    while (e < n && d[e] != '\r' && d[e] != '\n') ++e;
    if (e > i) {
      QString s(e - i - 1, Qt::Uninitialized);
      char16_t* q = reinterpret_cast<char16_t*>(s.data());
      int zähler = d[i] & 63;
      for (qsizetype k = i + 1; k < e; ++k) {
        zähler = (zähler + 1) & 63;
        int b = d[k] - zähler;
        if (b < 32) b += 224;
        *q++ = tabelle[b];
      }
      zeichen += s.size();
    }
    i = e;
    if (i < n && d[i] == '\r') ++i;
    if (i < n && d[i] == '\n') ++i;
  }
  return zeichen;
}
