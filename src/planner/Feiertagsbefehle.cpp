// Bearbeiten - Feiertage and Bearbeiten - Wochenende: the country is confirmed or chosen
// before the holidays dialog opens; the month is shown anew afterwards.
#include "planner/Feiertagsbefehle.h"

#include "config/frmFeiertage.h"
#include "config/frmLaendereinstellungen.h"
#include "config/frmWochenende.h"
#include "planner/frmHilfe.h"
#include "planner/frmInfo.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Meldungen.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Stammdatenstand.h"

void Feiertagsdialoge_verdrahten() {
  frmFeiertage::hilfe = [](QWidget* fenster) { Hilfe_anzeigen(fenster); };
  frmWochenende::hilfe = [](QWidget* fenster) { Hilfe_anzeigen(fenster); };
  frmInfo::länderdialog = [](QWidget* besitzer) {
    {
      frmLaendereinstellungen dialog(besitzer);
      dialog.exec();
    }
    if (auto* f = frmVelkora::instanz()) f->Daten_anzeigen(false);
  };
}

void frmVelkora::mnuFeiertage_Click() {
  Prozedur(QStringLiteral("frmVelkora - mnuFeiertage_Click"), [&] {
    // The country and its confirmation as stored now.
    CheckKonfigdaten();
    bool gezeigt = false;
    if (Setting(14) == 1 || gLand.isEmpty()) {
      bool wählen = gLand.isEmpty();
      if (!wählen) {
        const Stammdatenstand stand;
        if (Frage(QStringLiteral("Es werden die Feiertage für das Land '") + gLand +
                      QStringLiteral("' verwendet.\r\rIst diese Ländereinstellung korrekt?"),
                  QStringLiteral("Velkora"))) {
          // The confirmation is written with the whole configuration from memory.
          if (!stand.unverändert(false, true)) return;
          SetSetting(14, 0);
          Konfigdaten_schreiben();
        } else {
          wählen = true;
        }
      }
      if (wählen) {
        frmLaendereinstellungen dialog(this);
        dialog.exec();
        gezeigt = true;
      }
    }
    if (Setting(14) != 1 && !gLand.isEmpty()) {
      frmFeiertage dialog(this);
      dialog.exec();
      gezeigt = true;
    }
    if (gezeigt) Daten_anzeigen(false);
  });
}

void frmVelkora::mnuWochenende_Click() {
  Prozedur(QStringLiteral("frmVelkora - mnuWochenende_Click"), [&] {
    {
      frmWochenende dialog(this);
      dialog.exec();
    }
    Daten_anzeigen(false);
  });
}
