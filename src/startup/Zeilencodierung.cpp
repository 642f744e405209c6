#include "startup/Zeilencodierung.h"

#include <cmath>

#include "platform/Cp1252.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Uhr.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"

QByteArray Zeile_kodieren(const QString& text, unsigned char schlüssel) {
  const QByteArray roh = cp1252::kodieren(text);
  QByteArray z;
  z.reserve(roh.size() + 1);
  z.append(static_cast<char>(schlüssel));
  int zähler = schlüssel & 63;
  for (char c : roh) {
    const int a = static_cast<unsigned char>(c);
    if (a < 32) continue;
    if (++zähler == 64) zähler = 0;
    int e = a + zähler;
    if (e > 255) e -= 224;
    z.append(static_cast<char>(e));
  }
  return z;
}

QString Zeile_dekodieren(QByteArrayView zeile) {
  if (zeile.isEmpty()) return {};
  // Straight into the string: every encoded byte gives one character (a shifted byte
  // is never below 32), so the length is known before the first one.
  const auto* q = reinterpret_cast<const unsigned char*>(zeile.data());
  const qsizetype n = zeile.size() - 1;
  QString s(n, Qt::Uninitialized);
  char16_t* d = reinterpret_cast<char16_t*>(s.data());
  const char16_t* zeichen = cp1252::zeichentabelle();
  int zähler = q[0] & 63;
  for (qsizetype i = 0; i < n; ++i) {
    zähler = (zähler + 1) & 63;
    int b = q[i + 1] - zähler;
    if (b < 32) b += 224;
    d[i] = zeichen[b];
  }
  return s;
}

unsigned char Zufallsschlüssel() {
  const double r = static_cast<float>(uhr::zufall());  // a single-precision draw, as stored keys came from
  int k = static_cast<int>(std::floor(r * 223.0 + 32.0));
  if (k > 254) k = 254;
  return static_cast<unsigned char>(k);
}

namespace {
// The procedure's name for the error handler; built only when an error is raised.
auto Prozedurname(const char* name) {
  return [name] {
    QString n = QStringLiteral("modVelkora - ") + QString::fromUtf8(name);
    if (!gStörungAnzeigen) n += QStringLiteral(" - Datei ") + gOffeneDatei;
    return n;
  };
}
}  // namespace

void LineOut(const QString& text) {
  Prozedur(Prozedurname("LineOut"), [&] { Kanal_Zeile_schreiben(Zeile_kodieren(text, Zufallsschlüssel())); });
}

QString LineIn() {
  return Prozedur(Prozedurname("LineIn"), [&]() -> QString {
    QByteArrayView z;
    if (!FEOF()) z = Kanal_Zeile_sehen();
    if (z.isEmpty()) {
      // Month record files tolerate empty lines and reading past their end.
      if (gOffeneDatei.endsWith(QStringLiteral("Data.dat"), Qt::CaseInsensitive)) return QString();
      fehler::auslösen(fehler::kEingabeHinterDateiende);
    }
    return Zeile_dekodieren(z);
  });
}

namespace {

// After a failure: the channel is closed, unless the failure was the close writing the
// lines out, whose file the error handler still has to name (the channel is closed
// then already).
void Nach_Fehler_schließen() {
  if (!Ausschreibfehler()) FVerwerfen();
}

}  // namespace

std::optional<QStringList> Alle_Zeilen_lesen_wie(const QString& pfad, const Leseweise& weise) {
  if (!FOpen(pfad, QStringLiteral("Input"), weise.fehlerIgnorieren ? QStringLiteral("IgnoreErrors") : QString()))
    return std::nullopt;
  if (weise.ganz && Kanal_ohne_letztes_Zeilenende()) Datei_beschädigt(pfad);
  QStringList zeilen;
  try {
    // The next line into zeilen; false when the read fails on it.
    const auto nächste = [&]() -> bool {
      if (weise.art == Zeilenart::Klartext) {
        zeilen << LineInPlain();
        return true;
      }
      if (weise.leer == Leerzeilenart::Dateifehler) {
        zeilen << LineIn();
        return true;
      }
      const QByteArrayView roh = Kanal_Zeile_sehen();
      if (!roh.isEmpty())
        zeilen << Zeile_dekodieren(roh);
      else if (weise.leer == Leerzeilenart::Leer)
        zeilen << QString();
      else if (weise.leer == Leerzeilenart::Unlesbar)
        return false;
      return true;
    };
    if (!weise.kopf.isEmpty() && (FEOF() || !nächste() || zeilen.value(0) != weise.kopf)) {
      FClose();
      return std::nullopt;
    }
    while (!FEOF())
      if (!nächste()) {
        FVerwerfen();
        return std::nullopt;
      }
    FClose();
  } catch (...) {
    Nach_Fehler_schließen();
    throw;
  }
  return zeilen;
}

bool Alle_Zeilen_schreiben_wie(const QString& pfad, const QStringList& zeilen, const Schreibweise& weise) {
  if (!FOpen(pfad, weise.modus, weise.fehlerIgnorieren ? QStringLiteral("IgnoreErrors") : QString())) return false;
  try {
    if (weise.art == Zeilenart::Klartext)
      for (const QString& z : zeilen) LineOutPlain(z);
    else
      for (const QString& z : zeilen) LineOut(z);
    FClose();
  } catch (...) {
    Nach_Fehler_schließen();
    throw;
  }
  return true;
}

QStringList Alle_Zeilen_lesen(const QString& pfad, bool ganz) {
  Leseweise weise;
  weise.ganz = ganz;
  return Alle_Zeilen_lesen_wie(pfad, weise).value_or(QStringList());
}

void Alle_Zeilen_schreiben(const QString& pfad, const QStringList& zeilen, const QString& modus) {
  Schreibweise weise;
  weise.modus = modus;
  Alle_Zeilen_schreiben_wie(pfad, zeilen, weise);
}
