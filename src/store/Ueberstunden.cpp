#include "store/Ueberstunden.h"

#include <limits>

#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "startup/Zeilencodierung.h"

namespace {

const QString kLesefehler = QStringLiteral("Überstundendaten konnten nicht gelessen werden, Fehler in Zeile");
constexpr int kKopfzeilen = 7;
// At most this many line numbers are listed in the message on skipped lines.
constexpr int kGenannteZeilen = 20;

// Minutes as the files write them: decimal digits only, within 32 bits.
std::optional<qint64> Minutenzahl(const QString& s) {
  if (!text::nurZiffern(s)) return std::nullopt;
  bool ok = false;
  const qlonglong wert = s.toLongLong(&ok);
  if (!ok || wert > std::numeric_limits<qint32>::max()) return std::nullopt;
  return wert;
}

QString Jahr_zweistellig(int jahr) { return QStringLiteral("%1").arg(((jahr % 100) + 100) % 100, 2, 10, QChar(u'0')); }

}  // namespace

QString ÜStunden_Pfad(int jahr) {
  return gDatenordner + QStringLiteral("ÜStunden ") + QString::number(jahr) + QStringLiteral(".dat");
}

void Dateifehler_melden(const QString& problem, const QString& pfad) {
  try {
    if (!gOffeneDatei.isEmpty()) FVerwerfen();
    const QString zeile = problem.contains(u' ')
                              ? problem
                              : QStringLiteral("Der Dateiheader [") + problem + QStringLiteral("] wurde nicht erkannt");
    Meldung(
        QStringLiteral("Die Überstundendaten können nicht angezeigt werden, da folgendes Problem aufgetreten ist:") +
        QStringLiteral("\r\r") + zeile + QStringLiteral("\r\rBetroffene Datei: ") + ShowPfad(pfad, 100));
  } catch (const std::exception& e) {
    if (istProgrammende(e)) throw;
  }
}

bool ÜStunden_Zeilen(const QString& pfad, QStringList& zeilen, int& zeile) {
  zeilen.clear();
  zeile = 0;
  try {
    // A file that cannot be opened is a failure of its own here, never the end of the
    // program: the file belongs to another program.
    // In the line encoding; an empty line is an empty line, not the end of the file.
    const std::optional<QStringList> gelesen =
        Alle_Zeilen_lesen_wie(pfad, {.leer = Leerzeilenart::Leer, .fehlerIgnorieren = true});
    if (!gelesen) return false;
    zeilen = *gelesen;
    zeile = static_cast<int>(zeilen.size());
    return true;
  } catch (const std::exception& e) {
    if (istProgrammende(e)) throw;
    if (!gOffeneDatei.isEmpty()) FVerwerfen();
    return false;
  }
}

std::optional<QStringList> ÜStunden_lesen(int jahr) {
  const QString pfad = ÜStunden_Pfad(jahr);
  if (!Datei_vorhanden(pfad)) return std::nullopt;
  QStringList zeilen;
  int zeile = 0;
  if (!ÜStunden_Zeilen(pfad, zeilen, zeile)) {
    Dateifehler_melden(kLesefehler + QString::number(zeile), pfad);
    return std::nullopt;
  }
  QString problem;
  if (zeilen.size() < kKopfzeilen)
    problem = QStringLiteral("Dateiheader unvollständig");
  else if (zeilen[0] != u"[UStunden]")
    problem = QStringLiteral("UStunden");
  else if (zeilen[5] != u"[UStdDaten]")
    problem = QStringLiteral("UStdDaten");
  else if (const QString erwartet = pfad.mid(pfad.size() - 8, 4); zeilen[6] != erwartet)
    problem = QStringLiteral("Dateikorruption entdeckt! Daten für '") + erwartet +
              QStringLiteral("' erwartet, aber Daten für '") + zeilen[6].left(4) + QStringLiteral("' gefunden");
  if (!problem.isEmpty()) {
    Dateifehler_melden(problem, pfad);
    return std::nullopt;
  }
  if (zeilen.size() == kKopfzeilen) return std::nullopt;
  return QStringList{QString()} + zeilen.mid(kKopfzeilen);
}

ÜStd_Kopf ÜStd_Kopfzeile(const QString& zeile) {
  ÜStd_Kopf k;
  k.kopf = zeile.size() >= 2 && zeile.startsWith(u'[') && zeile.endsWith(u']');
  if (!k.kopf) return k;
  const qsizetype a = zeile.indexOf(u'|');
  const qsizetype b = a < 0 ? -1 : zeile.indexOf(u'|', a + 1);
  if (b < 0) return k;
  k.lesbar = true;
  k.von = a + 1;
  k.bis = b;
  k.benutzer = zeile.mid(k.von, k.bis - k.von);
  return k;
}

QString ÜStd_Kopf_umbenannt(const QString& zeile, const ÜStd_Kopf& kopf, const QString& neu) {
  if (!kopf.lesbar) return zeile;
  return zeile.left(kopf.von) + neu + zeile.mid(kopf.bis);
}

bool SplitDatensatz(const QString& zeile, int jahr, ÜStd_Satz& satz) {
  const QString jj = Jahr_zweistellig(jahr);
  if (zeile.startsWith(u'U')) {
    const bool negativ = zeile.mid(1, 1) == u"-";
    const std::optional<qint64> minuten = Minutenzahl(zeile.mid(negativ ? 2 : 1));
    if (!minuten) return false;
    satz.Datum = FormatDatumSA(jj + QStringLiteral("0101"));
    satz.Art = negativ ? QStringLiteral("-") : QStringLiteral("+");
    satz.Minuten = *minuten;
    satz.Saldo = negativ ? -*minuten : *minuten;
    satz.Bemerkung = QStringLiteral("Übertrag aus Vorjahr");
    satz.verborgen = zeile == u"U0";
    return true;
  }
  // Month and day, the kind, at least one digit, then "|".
  const qsizetype trenner = zeile.indexOf(u'|');
  if (trenner < 6) return false;
  const std::optional<qint64> minuten = Minutenzahl(zeile.mid(5, trenner - 5));
  if (!minuten) return false;
  satz.Datum = FormatDatumSA(jj + zeile.left(4));
  satz.Art = zeile.mid(4, 1);
  satz.Minuten = *minuten;
  satz.Saldo += satz.Art == u"+" ? *minuten : -*minuten;
  satz.Bemerkung = zeile.mid(trenner + 1);
  satz.verborgen = false;
  return true;
}

ÜStd_Konto ÜStunden_Konto(const QStringList& daten, const QString& benutzer, int jahr) {
  ÜStd_Konto konto;
  const QString gesucht = benutzer.toLower();
  // Data line i is line i + 7 of the file.
  qsizetype i = 1;
  for (; i < daten.size(); ++i) {
    const ÜStd_Kopf k = ÜStd_Kopfzeile(daten[i]);
    if (!k.kopf) continue;
    if (!k.lesbar) {
      konto.übersprungen << static_cast<int>(i) + kKopfzeilen;
      continue;
    }
    if (k.benutzer.toLower() == gesucht) {
      konto.abschnitt = true;
      break;
    }
  }
  if (!konto.abschnitt) return konto;
  ÜStd_Satz satz;
  for (++i; i < daten.size() && !ÜStd_Kopfzeile(daten[i]).kopf; ++i) {
    ++konto.datenzeilen;
    if (SplitDatensatz(daten[i], jahr, satz))
      konto.sätze << satz;
    else
      konto.übersprungen << static_cast<int>(i) + kKopfzeilen;
  }
  return konto;
}

void Übersprungene_Zeilen_melden(const QList<int>& zeilen, const QString& pfad) {
  if (zeilen.isEmpty()) return;
  QStringList nummern;
  for (qsizetype i = 0; i < zeilen.size() && i < kGenannteZeilen; ++i) nummern << QString::number(zeilen[i]);
  QString liste = (zeilen.size() == 1 ? QStringLiteral("Zeile ") : QStringLiteral("Zeilen ")) + nummern.join(", ");
  if (zeilen.size() > kGenannteZeilen)
    liste += QStringLiteral(" und ") + QString::number(zeilen.size() - kGenannteZeilen) + QStringLiteral(" weitere");
  Meldung(QStringLiteral("Die Überstundendaten enthalten Zeilen, die nicht gelesen werden konnten:\r\r") + liste +
          QStringLiteral("\r\rDiese Zeilen wurden übersprungen, der angezeigte Saldo enthält sie nicht.") +
          QStringLiteral("\r\rBetroffene Datei: ") + ShowPfad(pfad, 100));
}

QString FormatMinStd(qint64 minuten) {
  const quint64 betrag = minuten < 0 ? 0 - static_cast<quint64>(minuten) : static_cast<quint64>(minuten);
  return QString::number(betrag / 60) + u':' + QStringLiteral("%1").arg(betrag % 60, 2, 10, QChar(u'0'));
}
