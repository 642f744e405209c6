#include "planner/Kommentarzeilen.h"

#include "planner/Markierung.h"
#include "planner/Monatsanzeige.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "widgets/Rasteransicht.h"

namespace {
QString zweistellig(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }
}  // namespace

QString Tabellenzeilenkommentar(int zeile) {
  return Prozedur(QStringLiteral("frmVelkora - Tabellenzeilenkommentar"), [&]() -> QString {
    frmVelkora* f = frmVelkora::instanz();
    if (!f) return {};
    const Raster& g = f->msgFlexGrid->raster();
    if (zeile < 1 || zeile >= g.Rows()) return {};
    const QString schlüssel = g.TextMatrix(zeile, 32);
    const Gemerkte_Markierung& m = gemerkteMarkierung();
    const int links = std::max(m.links, 1), rechts = std::min(m.rechts, 31);
    if (links > rechts) return {};
    int erster = 0, letzter = 0;
    for (int d = links; d <= rechts; ++d)
      if (!gKommentarMarken.text(zeile, d).isEmpty()) {
        if (erster == 0) erster = d;
        letzter = d;
      }
    if (erster == 0) {
      erster = links;
      letzter = rechts;
    }
    const auto zeilentext = [&](int von, int bis, const QString& text) {
      return QStringLiteral("K:") + schlüssel + u':' + zweistellig(von) + u'-' + zweistellig(bis) + u':' + text;
    };
    QStringList zeilen;
    if (erster > links) zeilen << zeilentext(links, erster - 1, QString());
    zeilen << zeilentext(erster, letzter, gKommentarMarken.text(zeile, erster));
    if (letzter < rechts) zeilen << zeilentext(letzter + 1, rechts, QString());
    return zeilen.join(QStringLiteral("||"));
  });
}
