#include "platform/Gebietsschema.h"

#include <QLocale>
#include <map>

namespace gebietsschema {
namespace {
std::optional<Werte> gGesetzt;

struct Land {
  const char* nummer;
  const char* kürzel;
};

// Telephone codes and three-letter names of the countries a workstation is likely
// set to; Canada has the code "2" as the locale tables give it.
const std::map<QLocale::Territory, Land>& länder() {
  static const std::map<QLocale::Territory, Land> t = {
      {QLocale::Germany, {"49", "DEU"}},        {QLocale::Austria, {"43", "AUT"}},
      {QLocale::Switzerland, {"41", "CHE"}},    {QLocale::Liechtenstein, {"423", "LIE"}},
      {QLocale::Luxembourg, {"352", "LUX"}},    {QLocale::UnitedStates, {"1", "USA"}},
      {QLocale::Canada, {"2", "CAN"}},          {QLocale::France, {"33", "FRA"}},
      {QLocale::Spain, {"34", "ESP"}},          {QLocale::UnitedKingdom, {"44", "GBR"}},
      {QLocale::Italy, {"39", "ITA"}},          {QLocale::Netherlands, {"31", "NLD"}},
      {QLocale::Belgium, {"32", "BEL"}},        {QLocale::Denmark, {"45", "DNK"}},
      {QLocale::Poland, {"48", "POL"}},         {QLocale::Sweden, {"46", "SWE"}},
      {QLocale::Norway, {"47", "NOR"}},         {QLocale::Portugal, {"351", "PRT"}},
      {QLocale::Ireland, {"353", "IRL"}},       {QLocale::Finland, {"358", "FIN"}},
      {QLocale::CzechRepublic, {"420", "CZE"}}, {QLocale::Mexico, {"52", "MEX"}},
      {QLocale::Australia, {"61", "AUS"}},
  };
  return t;
}

}  // namespace

Werte ausLocale(const QLocale& locale) {
  Werte w;
  if (const auto it = länder().find(locale.territory()); it != länder().end()) {
    w.landnummer = QString::fromLatin1(it->second.nummer);
    w.landkürzel = QString::fromLatin1(it->second.kürzel);
  }
  w.dezimaltrenner = locale.decimalPoint();
  w.listentrenner = w.dezimaltrenner == QStringLiteral(",") ? QStringLiteral(";") : QStringLiteral(",");
  const QString f = locale.dateFormat(QLocale::ShortFormat);
  const qsizetype d = f.indexOf(u'd'), m = f.indexOf(u'M'), y = f.indexOf(u'y');
  if (y >= 0 && m >= 0 && d >= 0 && y < m && m < d)
    w.datumsfolge = QStringLiteral("2");
  else if (d >= 0 && m >= 0 && d < m)
    w.datumsfolge = QStringLiteral("1");
  else
    w.datumsfolge = QStringLiteral("0");
  for (QChar c : f) {
    if (!c.isLetter()) {
      w.datumstrenner = c;
      break;
    }
  }
  return w;
}

Werte werte() {
  if (gGesetzt) return *gGesetzt;
  return ausLocale(QLocale::system());
}

void setze(const std::optional<Werte>& w) { gGesetzt = w; }

}  // namespace gebietsschema
