#include "planner/Hilfebefehle.h"

#include <QAction>
#include <QApplication>
#include <QTabBar>

#include "config/frmAnAbwesenheitsgruende.h"
#include "people/frmAdmins.h"
#include "people/frmAnzeigeberechtigungen.h"
#include "people/frmAnzeigegruppen.h"
#include "people/frmMitarbeiter.h"
#include "planner/CSV_Export.h"
#include "planner/Wartetitel.h"
#include "planner/frmHilfe.h"
#include "planner/frmInfo.h"
#include "planner/frmRecovery.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Umrechnungen.h"
#include "widgets/Rasteransicht.h"

void Hilfebefehle_verbinden(frmVelkora& f) { Wartetitel_verbinden(f); }

bool Hilfe_und_Export_Tasten(frmVelkora& f, int taste, int) {
  if (taste == Qt::Key_F1) {
    mnuHilfe_Click(f);
    return true;
  }
  if (taste == Qt::Key_F12) {
    Prozedur(QStringLiteral("frmVelkora - Form_KeyDown"), [&] {
      const QString titel = QStringLiteral("Monat ") + Monatsname(f.tabMonate->currentIndex() + 1) + u' ' +
                            f.tabJahre->tabText(f.tabJahre->currentIndex());
      CSV_Export(f, titel);
    });
    return true;
  }
  return false;
}

void mnuHilfe_Click(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - mnuHilfe_Click"), [&] { Hilfe_anzeigen(&f); });
}

void mnuInfo_Click(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - mnuInfo_Click"), [&] { Info_anzeigen(&f); });
}
