#include "startup/Start.h"

#include <map>

#include "platform/Gebietsschema.h"
#include "platform/Text.h"
#include "platform/Zustand.h"

bool gStörungAnzeigen = false;
QDate gHeute;
QString gHeuteText;
double gStartzeit = 0;
bool gStartErzwingen = false;
QString gDezimaltrennzeichen = QStringLiteral(",");
QString gDatumstrennzeichen = QStringLiteral(".");
int gDatumsreihenfolge = 1;
QString gBenutzername;
QString gStartordner;
QString gProgrammordner;
QString gBasisordner;
QString gDatenordner;
QString gDatenordnerAlt;
QString gLogordner;
QString gTempOrdner;
QString gSicherungsordner;
QString gIniOrdner;
QString gIniDateiname;
bool gPfadVorgegeben = false;
bool gDatenordnerAngelegt = false;
bool gMerker = false;
bool gJahreswechselOffen = false;
QString gStartfehler;
QString gHauptfensterTitel;
Fensterhaken gFensterhaken;

namespace {

// Switches by name (lower case) with their values.
std::map<QString, QString> gSchalter;

// Known switch names, longest first where one begins like another.
const QStringList kSchalter = {
    QStringLiteral("nowelcomescreen"),
    QStringLiteral("enforcestart"),
    QStringLiteral("a:lampenholz"),
    QStringLiteral("lookback"),
    QStringLiteral("setpath"),
    QStringLiteral("setting"),
    QStringLiteral("path"),
    QStringLiteral("d:"),
};

// Switches that carry a value.
const QStringList kMitWert = {QStringLiteral("lookback"), QStringLiteral("setpath"), QStringLiteral("setting"),
                              QStringLiteral("path"), QStringLiteral("d:")};

// The switch an argument gives, or empty. The name ends the argument or is followed by
// ":", a blank or a quote; "/setting" may run on into its position, "/d:" into its date.
QString Schaltername(const QString& arg) {
  if (!arg.startsWith(u'/')) return {};
  const QString rest = arg.mid(1);
  for (const QString& name : kSchalter) {
    if (!rest.startsWith(name, Qt::CaseInsensitive)) continue;
    if (rest.size() == name.size() || name.endsWith(u':')) return name;
    const QChar danach = rest.at(name.size());
    if (danach == u':' || danach == u' ' || danach == u'"' || (name == u"setting" && danach.isDigit())) return name;
    return {};
  }
  return {};
}

void Zustand_zurücksetzen() {
  gStörungAnzeigen = false;
  gHeute = QDate();
  gHeuteText.clear();
  gStartzeit = 0;
  gStartErzwingen = false;
  gDezimaltrennzeichen = QStringLiteral(",");
  gDatumstrennzeichen = QStringLiteral(".");
  gDatumsreihenfolge = 1;
  gBenutzername.clear();
  gStartordner.clear();
  gProgrammordner.clear();
  gBasisordner.clear();
  gDatenordner.clear();
  gDatenordnerAlt.clear();
  gLogordner.clear();
  gTempOrdner.clear();
  gSicherungsordner.clear();
  gIniOrdner.clear();
  gIniDateiname.clear();
  gPfadVorgegeben = false;
  gDatenordnerAngelegt = false;
  gMerker = false;
  gJahreswechselOffen = false;
  gStartfehler.clear();
  gHauptfensterTitel.clear();
  gSchalter.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

QString Wert_säubern(QString s) {
  s = text::ltrim(s);
  if (s.startsWith(u':')) s = text::ltrim(s.mid(1));
  s = text::trim(s);
  if (s.size() >= 2 && s.startsWith(u'"') && s.endsWith(u'"'))
    s = s.mid(1, s.size() - 2);
  else if (s.startsWith(u'"'))
    s = s.mid(1);
  else if (s.endsWith(u'"'))
    s.chop(1);
  return text::trim(s);
}

}  // namespace

void Kommandozeile_setzen(const QStringList& argumente) {
  gSchalter.clear();
  for (qsizetype i = 0; i < argumente.size(); ++i) {
    const QString name = Schaltername(argumente[i]);
    if (name.isEmpty()) continue;
    QString wert = Wert_säubern(argumente[i].mid(1 + name.size()));
    // A blank instead of ":" hands the value over as the next argument; a folder
    // begins with "/" here, so only one of the switches ends the value.
    if (wert.isEmpty() && kMitWert.contains(name) && i + 1 < argumente.size() &&
        Schaltername(argumente[i + 1]).isEmpty())
      wert = Wert_säubern(argumente[++i]);
    gSchalter[name] = wert;
  }
}

bool Schalter_vorhanden(const QString& name) {
  const QString n = name.toLower();
  // "/setpath" names the data folder as "/path" does.
  return gSchalter.count(n) > 0 || (n == u"path" && gSchalter.count(QStringLiteral("setpath")) > 0);
}

QString Aufrufparameter(const QString& name) {
  const QString n = name.toLower();
  if (const auto it = gSchalter.find(n); it != gSchalter.end()) return it->second;
  if (n == u"path") {
    if (const auto it = gSchalter.find(QStringLiteral("setpath")); it != gSchalter.end()) return it->second;
  }
  return {};
}

void CheckGebietsschema() {
  // Files are Windows-1252 by construction, whatever the workstation's own code
  // page: there is nothing a locale could break.
}

QString Gebietsschema_Info(int nummer) {
  const auto w = gebietsschema::werte();
  switch (nummer) {
    case 1:
      return w.landnummer;
    case 2:
      return w.landkürzel;
    case 3:
      return w.listentrenner;
    case 4:
      return w.datumstrenner;
    case 5:
      return w.datumsfolge;
    default:
      return {};
  }
}

void Datumsformat_ermitteln() {
  QString s = Gebietsschema_Info(4);
  if (s.isEmpty()) s = QStringLiteral("/");
  gDatumstrennzeichen = s.left(1);
  const QString f = Gebietsschema_Info(5);
  gDatumsreihenfolge = (f == u"0" || f == u"1" || f == u"2") ? f.toInt() : 0;
}
