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

QString Zeile_dekodieren(const QByteArray& zeile) {
  if (zeile.isEmpty()) return {};
  QByteArray roh;
  roh.reserve(zeile.size() - 1);
  int zähler = static_cast<unsigned char>(zeile[0]) & 63;
  for (qsizetype i = 1; i < zeile.size(); ++i) {
    if (++zähler == 64) zähler = 0;
    int d = static_cast<unsigned char>(zeile[i]) - zähler;
    if (d < 32) d += 224;
    roh.append(static_cast<char>(d));
  }
  return cp1252::dekodieren(roh);
}

unsigned char Zufallsschlüssel() {
  const double r = static_cast<float>(uhr::zufall());  // a single-precision draw, as stored keys came from
  int k = static_cast<int>(std::floor(r * 223.0 + 32.0));
  if (k > 254) k = 254;
  return static_cast<unsigned char>(k);
}

namespace {
QString Prozedurname(const char* name) {
  QString n = QStringLiteral("modVelkora - ") + QString::fromUtf8(name);
  if (!gStörungAnzeigen) n += QStringLiteral(" - Datei ") + gOffeneDatei;
  return n;
}
}  // namespace

void LineOut(const QString& text) {
  const QString name = Prozedurname("LineOut");
  Prozedur(name, [&] { Kanal_Zeile_schreiben(Zeile_kodieren(text, Zufallsschlüssel())); });
}

QString LineIn() {
  const QString name = Prozedurname("LineIn");
  return Prozedur(name, [&]() -> QString {
    QByteArray z;
    if (!FEOF()) z = Kanal_Zeile_lesen();
    if (z.isEmpty()) {
      // Month record files tolerate empty lines and reading past their end.
      if (gOffeneDatei.endsWith(QStringLiteral("Data.dat"), Qt::CaseInsensitive)) return QString();
      fehler::auslösen(fehler::kEingabeHinterDateiende);
    }
    return Zeile_dekodieren(z);
  });
}

QStringList Alle_Zeilen_lesen(const QString& pfad, bool ganz) {
  QStringList zeilen;
  FOpen(pfad, QStringLiteral("Input"));
  if (ganz && Kanal_ohne_letztes_Zeilenende()) Datei_beschädigt(pfad);
  try {
    while (!FEOF()) zeilen << LineIn();
    FClose();
  } catch (...) {
    FVerwerfen();
    throw;
  }
  return zeilen;
}

void Alle_Zeilen_schreiben(const QString& pfad, const QStringList& zeilen) {
  FOpen(pfad, QStringLiteral("Output"));
  try {
    for (const QString& z : zeilen) LineOut(z);
    FClose();
  } catch (...) {
    FVerwerfen();
    throw;
  }
}
