#include "printing/Listendruck.h"

#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"

bool Liste_drucken(int exemplare, int zeilen, const Listenblatt& blatt) {
  for (int kopie = 1; kopie <= exemplare; ++kopie) {
    if (!Druckereinstellungen_setzen()) return false;
    int seite = 0;
    bool neueSeite = true;
    for (int r = 1; r <= zeilen - 1; ++r) {
      const bool letzte = r == zeilen - 1;
      if (neueSeite) {
        ++seite;
        blatt.kopf();
        neueSeite = false;
      }
      blatt.zeile(r, letzte);
      if (blatt.voll() || letzte) {
        blatt.fuß(seite);
        if (!letzte) gDruckfläche->neueSeite();
        neueSeite = true;
      }
    }
    Druckauftrag_beenden();
  }
  return true;
}

void Hochformat_Fußzeile_drucken(int seite, double links, double breiter, double abzug, double v) {
  Rahmen_drucken(2.3 - links, 27.7 - breiter - abzug + 3 * v, 16.4 + breiter);
  Schreibe_Text(2.4 - links, 27.85 - breiter - abzug + 3 * v, QStringLiteral("Seite %1").arg(seite),
                QStringLiteral("NoCr"));
  Schreibe_Text(18.6 + breiter - links, 0, FormatDatumDA(gHeute), QStringLiteral("rechts"));
}
