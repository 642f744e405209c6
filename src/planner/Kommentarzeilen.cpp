#include "planner/Kommentarzeilen.h"

#include "planner/Markierung.h"
#include "planner/Monatsanzeige.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "store/Kommentarlaeufe.h"
#include "store/Monatszeilen.h"
#include "widgets/Rasteransicht.h"

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
    QString tage[32];
    for (int d = links; d <= rechts; ++d) tage[d] = gKommentarMarken.text(zeile, d);
    QStringList zeilen;
    Kommentarläufe(tage, links, rechts,
                   [&](int von, int bis) { zeilen << Kommentarzeile(schlüssel, von, bis, tage[von]); });
    return zeilen.join(QStringLiteral("||"));
  });
}
