#pragma once
// The large data folder the month benchmarks share: 1,000 employees, twelve code
// buttons and the erase button, and month files with one entry line and one comment
// per employee plus a quarter of the employees with a second, later line (appended
// saves).
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

inline constexpr int kMitarbeiter = 1000;

// The employee and button tables, the planning year 2025 and an administrator.
inline void Großbestand_einrichten() {
  gHeuteText = QStringLiteral("260310");
  gDatumstrennzeichen = QStringLiteral(".");
  gPlanungsjahr = 2025;
  gBenutzerstufe = 2;
  gSFTexte = QStringList{QString()};
  for (int i = 1; i <= 12; ++i) gSFTexte << QStringLiteral("B%1").arg(i);
  gSFTexte << QStringLiteral("Löschen");
  QStringList ids{QString()};
  for (int i = 0; i < kMitarbeiter; ++i) ids << QStringLiteral("benutzer%1").arg(i);
  Mitarbeitertabelle_dimensionieren(kMitarbeiter);
  gBenutzerIDs = ids;
  gMitarbeiterNamen = ids;
}

// The encoded month file of month yymm.
inline QByteArray Großmonat(const QString& schlüssel) {
  QByteArray inhalt;
  const auto zeile = [&](const QString& t) { inhalt += Zeile_kodieren(t, 65 + (inhalt.size() % 60)) + "\r\n"; };
  zeile(u'[' + schlüssel + u']');
  zeile(QStringLiteral("Kennung"));
  zeile(QStringLiteral("NoEx:NoEx"));
  for (int i = 0; i < kMitarbeiter; ++i) {
    zeile(QStringLiteral("A:benutzer%1:").arg(i) + QStringLiteral("11  A   3 2   BB     1   C  4  ").left(31));
    zeile(QStringLiteral("K:benutzer%1:01-02:Seminar in Berlin").arg(i));
  }
  for (int i = 0; i < kMitarbeiter; i += 4) zeile(QStringLiteral("A:benutzer%1:").arg(i) + QString(31, u'1'));
  return inhalt;
}
