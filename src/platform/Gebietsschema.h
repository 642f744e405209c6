#pragma once
// The user's regional settings as the program asks for them. Read from the system
// locale; tests set them.
#include <QLocale>
#include <QString>
#include <optional>

namespace gebietsschema {

struct Werte {
  QString landnummer;     // telephone country code, e.g. "49"; empty when unknown
  QString landkürzel;     // abbreviated country name, e.g. "DEU"
  QString listentrenner;  // e.g. ";"
  QString datumstrenner;  // e.g. "."
  QString datumsfolge;    // "0" month-day-year, "1" day-month-year, "2" year-month-day
  QString dezimaltrenner;
};

Werte werte();
void setze(const std::optional<Werte>& w);  // nullopt: the system locale again
// The values a locale gives (used for the system locale; tests use it for others).
Werte ausLocale(const QLocale& locale);

}  // namespace gebietsschema
