#include "planner/Monatsquelle.h"

#include "platform/Text.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Konfigdaten.h"

Monatsquelle gMonatsquelle = Monatsquelle_Standard();

namespace {
int gGewählteGruppe = 0;

void Zustand_zurücksetzen() {
  gMonatsquelle = Monatsquelle_Standard();
  gGewählteGruppe = 0;
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

const QString kCodezeichen = QStringLiteral("123456789ABCDEFGHIJKLMNOPQ");

// The stem (yymm, blank, writing day) of the newest version of a month; empty when none.
QString Neueste_Version(const QString& monat) {
  QString stamm;
  for (const QString& name : Dateiliste(gDatenordner, monat + QStringLiteral("*Data.dat")))
    if (name.left(11) > stamm) stamm = name.left(11);
  return stamm;
}

// An entry's codes as they are read: characters that name no current button and
// are no non-working-day mark read as blanks.
QString Codes_bereinigen(QString codes) {
  const int n = Schaltflächen_Anzahl();
  const QString gültig = kCodezeichen.left(std::max(n - 1, 0)) + kCodezeichen.mid(n, 1) + QStringLiteral(" ");
  for (QChar& c : codes)
    if (!gültig.contains(c)) c = u' ';
  return codes;
}

Monatsinhalt Lesen(const QString& monat) {
  Monatsinhalt m;
  const QString stamm = Neueste_Version(monat);
  if (stamm.isEmpty()) return m;
  m.vorhanden = true;
  QStringList zeilen;
  FOpen(gDatenordner + stamm + QStringLiteral(" Data.dat"), QStringLiteral("Input"));
  while (!FEOF()) zeilen << LineIn();
  FClose();
  if (zeilen.size() < 3 || zeilen[0] != u'[' + monat + u']') return m;
  m.ausnahmen = zeilen[2];
  for (qsizetype i = 3; i < zeilen.size(); ++i) {
    const QString& z = zeilen[i];
    const qsizetype p = z.indexOf(u':', 2);
    if (p < 0) continue;
    const QString rest = z.mid(p + 1);
    if (z.startsWith(QStringLiteral("A:")) && rest.size() == 31)
      m.einträge << z.mid(2, p - 1) + Codes_bereinigen(rest);
    else if (z.startsWith(QStringLiteral("K:")) && rest.size() >= 6 && rest[2] == u'-' && rest[5] == u':')
      m.kommentare << z.mid(2);
  }
  return m;
}

void Neu_schreiben(const QString& monat, const QString& ausnahmen, const QStringList& zeilen) {
  const QString pfad = Heutige_Monatsdatei(monat);
  FOpen(pfad, QStringLiteral("Output"));
  LineOut(u'[' + monat + u']');
  LineOut(gKennzeile);
  LineOut(ausnahmen);
  for (const QString& z : zeilen) LineOut(z);
  FClose();
  const QString eigene = monat + u' ' + gHeuteText + QStringLiteral(" Data.dat");
  for (const QString& name : Dateiliste(gDatenordner, monat + QStringLiteral("*Data.dat")))
    if (name.compare(eigene, Qt::CaseInsensitive) != 0) Löschen(gDatenordner + name);
}
}  // namespace

QString Heutige_Monatsdatei(const QString& monat) {
  return gDatenordner + monat + u' ' + gHeuteText + QStringLiteral(" Data.dat");
}

Monatsquelle Monatsquelle_Standard() {
  Monatsquelle q;
  q.lesen = Lesen;
  q.neu_schreiben = Neu_schreiben;
  q.anzeigeberechtigung = [] { return QStringLiteral("AllGroups"); };
  q.anzeigegruppen = [] { return QStringList{QStringLiteral("NoGroups")}; };
  q.anzeigegruppe = [] { return gGewählteGruppe; };
  q.anzeigegruppe_setzen = [](int i) { gGewählteGruppe = i; };
  return q;
}
