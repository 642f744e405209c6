#include "planner/Tagessummen.h"

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

void Tagessummen_einrichten(Rasteransicht& tagessummen, const Raster& monatsraster) {
  Prozedur(QStringLiteral("frmVelkora - Tagessummen_initialisieren"), [&] {
    if (gBenutzerwerte[25] == 0) {
      tagessummen.hide();
      return;
    }
    Raster& ts = tagessummen.raster();
    ts.setRedraw(false);
    tagessummen.show();
    ts.setBackColor(gGrundfarben[1]);
    ts.setBackColorBkg(gGrundfarben[1]);
    ts.setGridColor(gGrundfarben[6]);
    ts.setGridColorFixed(gGrundfarben[6]);
    const int n = static_cast<int>(gSFTexte.size()) - 1;  // the buttons, the erase button last
    ts.setRows(std::max(n, 1));
    ts.setCol(0);
    const QString& auswahl = gTaSum[1];
    int höhe = 0;
    for (int i = 1; i <= n - 1; ++i) {
      ts.setRow(i);
      // Only "0" hides a row: a shorter selection shows the codes beyond its end.
      if (auswahl.mid(i - 1, 1) == u"0") {
        ts.setRowHeight(i, 0);
        continue;
      }
      // While the month grid holds only its header row the rows keep their heights.
      if (monatsraster.Rows() > 1) ts.setRowHeight(i, monatsraster.RowHeight(1));
      höhe += ts.RowHeight(i);
      ts.setCellForeColor(i, 0, gSFTextfarben.value(i));
      ts.setCellBackColor(i, 0, gSFHintergrundfarben.value(i));
      ts.setTextMatrix(i, 0, gSFTexte.value(i));
    }
    const int twips = static_cast<int>(bildschirm::pixelZuTwips(5)) + höhe;
    tagessummen.resize(tagessummen.width(), bildschirm::twipsZuPixel(twips));
    ts.setRedraw(true);
  });
}
