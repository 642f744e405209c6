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
  for (const QString& arg : argumente) {
    if (!arg.startsWith(u'/')) continue;
    const QString rest = arg.mid(1);
    for (const QString& name : kSchalter) {
      if (rest.startsWith(name, Qt::CaseInsensitive)) {
        gSchalter[name] = Wert_säubern(rest.mid(name.size()));
        break;
      }
    }
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
