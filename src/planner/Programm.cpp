#include "planner/Programm.h"

#include <QApplication>
#include <QFont>
#include <memory>

#include "launch/Programmstart.h"
#include "people/frmAnzeigegruppen.h"
#include "people/frmMitarbeiter.h"
#include "planner/Dateibefehle.h"
#include "planner/Feiertagsbefehle.h"
#include "planner/Kommentare.h"
#include "planner/Navigation.h"
#include "planner/frmKommentar.h"
#include "planner/frmRecovery.h"
#include "planner/frmVelkora.h"
#include "platform/Einzelinstanz.h"
#include "platform/Programmende.h"
#include "platform/Signale.h"
#include "startup/Datenordner.h"
#include "startup/Start.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "views/Ansichtsrahmen.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/QtDialoge.h"
#include "widgets/frmStart.h"

void Programm_verdrahten() {
  dialoge::setzeDienst(std::make_unique<dialoge::QtDienst>());
  Starthaken_setzen();
  Fensterhilfen_einrichten();
  gStörungsmeldung_anzeigen = &Störungsmeldung_anzeigen;
  programmende::setzeEntladen([] {
    Hauptfenster_entladen();
    einzelinstanz::freigeben();
  });
  gFensterhaken.splash_zeigen = &Splash_zeigen;
  gFensterhaken.splash_entladen = &Splash_entladen;
  gFensterhaken.hauptfenster_laden = &Hauptfenster_laden;
  gFensterhaken.hauptfenster_zeigen = &Hauptfenster_zeigen;
  gFensterhaken.hauptfenster_neu_zeichnen = [] {
    if (auto* f = frmVelkora::instanz()) f->repaint();
  };
  // The overviews show names and long texts in the comment box the month grid uses.
  gAnsichtshaken.kommentar_anzeigen = [](QWidget* fenster, const QString& text, int spalte, int zeile) {
    Kommentar_anzeigen(fenster, text, spalte, zeile);
  };
  gSicherungsauswahl_zeigen = [] { Recovery_anzeigen(nullptr); };
  Feiertagsdialoge_verdrahten();
  // The display-group names are asked for through the comment dialog.
  frmAnzeigegruppen::eingabe = [](QWidget* besitzer, const QString& beschriftung, const QString& vorgabe,
                                  const QString& titel) { return Eingabefeld(beschriftung, vorgabe, titel, besitzer); };
  // The employee editor's search asks through the comment dialog.
  frmMitarbeiter::eingabe = [](QWidget* besitzer, const QString& beschriftung, const QString& vorgabe,
                               const QString& titel) { return Eingabefeld(beschriftung, vorgabe, titel, besitzer); };
  gFensterhaken.titel_setzen = [] {
    if (auto* f = frmVelkora::instanz()) f->setWindowTitle(gHauptfensterTitel);
  };
  // Logout and kill close the window as the user would, so nothing of the user's
  // state is lost.
  // A message box may be open, so the end does not wait for the event loop.
  signale::beimBeenden([] { programmende::beenden(0); });
}

int Programm_ausführen(QApplication& app) {
  // One concrete font, so that text widths are the same on every machine.
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  // Qt's own dialogs and buttons in German, like the rest of the program.
  dialoge::Qt_Übersetzung_laden();
  app.setQuitOnLastWindowClosed(true);
  Programm_verdrahten();
  Kommandozeile_setzen(app.arguments().mid(1));
  Main();
  if (!frmVelkora::instanz()) return 1;
  return app.exec();
}
