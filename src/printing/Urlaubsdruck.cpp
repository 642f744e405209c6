#include "printing/Urlaubsdruck.h"

#include <QDate>
#include <algorithm>

#include "platform/Laufzeitfehler.h"
#include "platform/Raster.h"
#include "platform/Zustand.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "printing/Listendruck.h"
#include "startup/Umrechnungen.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"

Urlaubsdruckquelle gUrlaubsdruckquelle;

namespace {
void zurücksetzen() { gUrlaubsdruckquelle = {}; }
VELKORA_ZUSTAND(zurücksetzen);
}  // namespace

QList<Urlaubsspalte> Urlaubsspalten(const QString& datum, int beginn, bool sonderurlaub) {
  const QDate d = FormatDatumAD(datum);
  const int S = std::clamp(beginn, 1, 12);
  // The account year the date lies in; special leave counts by calendar years.
  const int J = d.month() < S && !sonderurlaub ? d.year() - 1 : d.year();
  const bool kurz = S == 1 || sonderurlaub;
  const QString j = QString::number(J), vorher = QString::number(J - 1);
  const QString jj = QStringLiteral("%1").arg((J + 1) % 100, 2, 10, QChar(u'0'));
  const QString spanne = j + u'/' + jj;
  QList<Urlaubsspalte> s;
  s.append({1, sonderurlaub ? QStringLiteral("Genommen") : QStringLiteral("Resturlaub"), QString(),
            sonderurlaub ? QStringLiteral("in ") + vorher
            : kurz       ? QStringLiteral("aus ") + vorher
                         : FormatDatumDA(QDate(J, S, 1))});
  s.append({2, QStringLiteral("Urlaubsan-"), QString(),
            kurz ? QStringLiteral("spruch ") + j : QStringLiteral("spr. ") + spanne});
  if (!sonderurlaub) s.append({3, QString(), QStringLiteral("Summe"), QString()});
  s.append({5, QStringLiteral("Bis ") + datum, QString(), QStringLiteral("genommen")});
  s.append({6, QStringLiteral("Resturlaub"), QString(), kurz ? j : spanne});
  s.append({8, QStringLiteral("In ") + (kurz ? j : spanne), QString(), QStringLiteral("geplant")});
  s.append({9, QString(), QStringLiteral("Unverplant"), QString()});
  return s;
}

bool Urlaubsübersicht_drucken(int exemplare) {
  return Druckroutine(QStringLiteral("Urlaubsübersicht_drucken"), [exemplare] {
    const Urlaubsdruckquelle& q = gUrlaubsdruckquelle;
    Haken_prüfen(q.gitter, q.datum, q.titel, q.sonderurlaub);
    const Raster& g = q.gitter();
    const bool sonder = q.sonderurlaub();
    const QList<Urlaubsspalte> spalten = Urlaubsspalten(q.datum(), gUrlaubsjahrBeginn, sonder);
    // Special leave has one column fewer; the table moves right to stay centred.
    const double s = sonder ? 1.37 : 0;
    const int zeilen = g.Rows();
    const auto links = [&](int k) { return s + 5.35 + 2.75 * k - gSeite.hVerschiebung; };
    const auto mitte = [&](int k) { return s + 6.73 + 2.75 * k - gSeite.hVerschiebung; };
    const auto kopfzeile = [&](QString Urlaubsspalte::*zeile) {
      for (int k = 1; k <= spalten.size(); ++k)
        Schreibe_Text(mitte(k), 0, spalten[k - 1].*zeile, QStringLiteral("transparent, zentriert, NoCr"));
    };
    Listenblatt blatt;
    blatt.kopf = [&] {
      const double h = gSeite.hVerschiebung;
      Header_drucken(q.titel());
      Leerzeile(gSeite.aktZeile + (gSeite.vVerschiebung != 0 ? -0.20 : 0.05));
      const double band = gSeite.aktZeile + 0.39;
      Setze_Hintergrund(s + 2.3 - h, band, 5.83, 1.19, gGrundfarben[5]);
      for (int k = 1; k <= spalten.size(); ++k) Setze_Hintergrund(links(k), band, 2.78, 1.19, gGrundfarben[5]);
      Leerzeile(gSeite.aktZeile + 0.15);
      kopfzeile(&Urlaubsspalte::zeile1);
      Schreibe_Text(s + 2.38 - h, gSeite.aktZeile + 0.25, QStringLiteral("Name"), QStringLiteral("transparent, NoCr"));
      kopfzeile(&Urlaubsspalte::zeile2);
      Leerzeile(gSeite.aktZeile - 0.15);
      kopfzeile(&Urlaubsspalte::zeile3);
      Leerzeile(gSeite.aktZeile + 0.06);
    };
    blatt.zeile = [&](int r, bool) {
      const double h = gSeite.hVerschiebung;
      Setze_Hintergrund(s + 2.3 - h, gSeite.aktZeile + 0.05, 5.83, 0.58,
                        g.CellBackColor(r, 0).value_or(g.BackColorFixed()));
      Schreibe_Text(s + 2.38 - h, gSeite.aktZeile + 0.15, Text_kürzen(g.TextMatrix(r, 0), 5.83),
                    QStringLiteral("transparent, NoCr"));
      for (int k = 1; k <= spalten.size(); ++k) {
        Setze_Hintergrund(links(k), gSeite.aktZeile - 0.1, 2.78, 0.58, gGrundfarben[1]);
        const int c = spalten[k - 1].spalte;
        Schreibe_Text(s + 7.9 + 2.75 * k - h, 0, c < g.Cols() ? g.TextMatrix(r, c) : QString(),
                      QStringLiteral("transparent, rechts, NoCr"));
      }
      Leerzeile(0);
    };
    blatt.voll = [] { return gSeite.aktZeile > 18.25 + 3 * gSeite.vVerschiebung; };
    blatt.fuß = Fußzeile_drucken;
    return Liste_drucken(exemplare, zeilen, blatt);
  });
}
