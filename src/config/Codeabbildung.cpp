#include "config/Codeabbildung.h"

#include "startup/Dateizugriff.h"
#include "startup/Zeilencodierung.h"
#include "store/Sicherung.h"

namespace {
const QString kCodes = QStringLiteral("123456789ABCDEFGHIJKLMNOPQ");
}  // namespace

QChar Codezeichen(int nummer) { return nummer >= 1 && nummer <= kCodes.size() ? kCodes[nummer - 1] : QChar(u' '); }

Codeabbildung Codeabbildung_Schaltflächen(int alteAnzahl, const QList<int>& gelöscht, int neueAnzahl) {
  Codeabbildung a;
  int darunter = 0;
  for (int b = 1; b <= alteAnzahl; ++b) {
    if (gelöscht.contains(b)) {
      a.insert(Codezeichen(b), QChar(u' '));
      ++darunter;
    } else if (darunter > 0) {
      a.insert(Codezeichen(b), Codezeichen(b - darunter));
    }
  }
  if (alteAnzahl != neueAnzahl) a.insert(Codezeichen(alteAnzahl + 2), Codezeichen(neueAnzahl + 2));
  return a;
}

Codeabbildung Codeabbildung_Verschieben(int von, int nach) {
  Codeabbildung a;
  if (von == nach) return a;
  a.insert(Codezeichen(von), Codezeichen(nach));
  const int schritt = von < nach ? -1 : 1;
  for (int b = nach; b != von; b += schritt) a.insert(Codezeichen(b), Codezeichen(b + schritt));
  return a;
}

QString Tageszeile_umschlüsseln(const QString& zeile, const Codeabbildung& abbildung) {
  if (!zeile.startsWith(QStringLiteral("A:"))) return zeile;
  const qsizetype doppelpunkt = zeile.indexOf(u':', 2);
  if (doppelpunkt < 0) return zeile;
  QString neu = zeile;
  for (qsizetype i = doppelpunkt + 1; i < neu.size(); ++i) {
    const auto it = abbildung.constFind(neu[i]);
    if (it != abbildung.constEnd()) neu[i] = it.value();
  }
  return neu;
}

void Sicherung_umschlüsseln(std::vector<Sicherungsblock>& blöcke, const Codeabbildung& abbildung) {
  for (Sicherungsblock& b : blöcke) {
    if (!b.name.endsWith(QStringLiteral(" Data.dat"), Qt::CaseInsensitive)) continue;
    for (QString& z : b.zeilen) z = Tageszeile_umschlüsseln(z, abbildung);
  }
}

void Sicherung_schreiben(const QString& pfad, const std::vector<Sicherungsblock>& blöcke) {
  QStringList zeilen{QStringLiteral("[VelkoraBackup]")};
  for (const Sicherungsblock& b : blöcke) {
    zeilen << u'[' + b.name + u']';
    zeilen << u'[' + QString::number(b.zeilen.size()) + u']';
    zeilen << b.zeilen;
  }
  Alle_Zeilen_schreiben(pfad, zeilen);
}
