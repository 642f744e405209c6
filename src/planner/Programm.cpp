// The program's wiring: the one place that sets the links running up the library
// order, where a lower library calls into a higher one it may not include. Each link
// is a named slot (platform/Haken.h); calling one that is empty is a programming
// error, and tests/planner/Verdrahtung_test.cpp checks that every slot is set. The
// boundaries, lowest caller first:
//  - the file channel, the logbook, the folder choice and the stops into the store and
//    the start repair (gAbbruchhaken, gLangsamesNetzGesehen, gLogbuchKopieImTempordner,
//    gOrdnerdienste): the launch library's part, Starthaken_setzen, which the start
//    sequence also calls itself, so that tests that run it have them;
//  - the busy state into the active window (gWartehaken; widgets/Fensterhilfen.h);
//  - the start sequence into the windows it loads and shows (gFensterhaken);
//  - the store's look-back into the backup chooser (gSicherungsauswahl_zeigen);
//  - the overviews into the main window, the print dialog, the CSV export and the help
//    (gAnsichtshaken);
//  - the dialogs of config/ and people/ into the help window and the comment dialog
//    (their class hooks hilfe and eingabe, frmInfo::länderdialog).
// Links into one window are set by that window and emptied when it goes, as they
// point into it: the main window's caption dots (gWartehaken.punkte_*, Wartetitel.cpp)
// and its month print source (Druckbefehle.cpp), the overviews' print sources of
// printing/ (their destructors).
#include "planner/Programm.h"

#include <QApplication>
#include <QFont>
#include <memory>

#include "config/frmAnAbwesenheitsgruende.h"
#include "launch/Programmstart.h"
#include "people/frmAdmins.h"
#include "people/frmAnzeigeberechtigungen.h"
#include "people/frmAnzeigegruppen.h"
#include "people/frmMitarbeiter.h"
#include "planner/Ansichtsbefehle.h"
#include "planner/CSV_Export.h"
#include "planner/Dateibefehle.h"
#include "planner/Feiertagsbefehle.h"
#include "planner/Kommentare.h"
#include "planner/Mausrad.h"
#include "planner/Navigation.h"
#include "planner/frmHilfe.h"
#include "planner/frmKommentar.h"
#include "planner/frmRecovery.h"
#include "planner/frmVelkora.h"
#include "platform/Einzelinstanz.h"
#include "platform/Programmende.h"
#include "platform/Signale.h"
#include "printing/frmDrucken.h"
#include "startup/Datenordner.h"
#include "startup/Start.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "views/Ansichtsrahmen.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/QtDialoge.h"
#include "widgets/Rasteransicht.h"
#include "widgets/frmStart.h"

namespace {

// The start sequence into the windows it loads and shows.
void Fensterhaken_verdrahten() {
  gFensterhaken.splash_zeigen = &Splash_zeigen;
  gFensterhaken.splash_entladen = &Splash_entladen;
  gFensterhaken.hauptfenster_laden = &Hauptfenster_laden;
  gFensterhaken.hauptfenster_zeigen = &Hauptfenster_zeigen;
  // The main window is asked for each time: these run also before it exists and after
  // it has gone.
  gFensterhaken.hauptfenster_neu_zeichnen = [] {
    if (auto* f = frmVelkora::instanz()) f->repaint();
  };
  gFensterhaken.titel_setzen = [] {
    if (auto* f = frmVelkora::instanz()) f->setWindowTitle(gHauptfensterTitel);
  };
}

}  // namespace

// The overviews into the main window, the print dialog, the CSV export, the help, the
// comment dialog and the mouse-wheel hook. Like the start's hooks they look the main
// window up at each call, so none of them outlives it.
void Ansichtshaken_verdrahten() {
  gAnsichtshaken.hauptfenster_tag = [](const QString& wert) {
    if (frmVelkora* h = frmVelkora::instanz()) h->Tag = wert;
  };
  gAnsichtshaken.namensspaltenbreite = [] {
    frmVelkora* h = frmVelkora::instanz();
    return h ? h->msgFlexGrid->raster().ColWidth(0) : 2700;
  };
  gAnsichtshaken.eingabe = &Eingabe_im_Kommentarfeld;
  gAnsichtshaken.csv_export = [](QWidget* fenster, const QString& titel) {
    if (fenster) CSV_Export(*fenster, titel);
  };
  gAnsichtshaken.hilfe = [](QWidget* fenster) { Hilfe_anzeigen(fenster); };
  gAnsichtshaken.druckdialog = [](QWidget* fenster) { frmDrucken::anzeigen(fenster); };
  gAnsichtshaken.mausrad_prüfen = [](QWidget& fenster, Rasteransicht& grid) {
    return ScrollbarIsVisible(fenster, grid);
  };
  gAnsichtshaken.mausrad_lösen = [] { UnHook(); };
  gAnsichtshaken.hauptfenster_tag_lesen = [] {
    frmVelkora* h = frmVelkora::instanz();
    return h ? h->Tag : QString();
  };
  gAnsichtshaken.hauptraster_mitarbeiter = [] {
    QList<std::pair<QString, QString>> liste;
    frmVelkora* h = frmVelkora::instanz();
    if (!h) return liste;
    const Raster& g = h->msgFlexGrid->raster();
    for (int r = 1; r < g.Rows(); ++r)
      if (g.Cols() > 32 && !g.TextMatrix(r, 32).isEmpty()) liste.append({g.TextMatrix(r, 0), g.TextMatrix(r, 32)});
    return liste;
  };
  // The overviews show names and long texts in the comment box the month grid uses.
  gAnsichtshaken.kommentar_anzeigen = [](QWidget* fenster, const QString& text, int spalte, int zeile) {
    Kommentar_anzeigen(fenster, text, spalte, zeile);
  };
}

// The dialogs of the lower libraries into the help window and the comment dialog.
void Dialoghaken_verdrahten() {
  // The help buttons and F1 of the dialogs open the help window over them.
  const auto hilfe = [](QWidget* fenster) { Hilfe_anzeigen(fenster); };
  frmRecovery::hilfe = hilfe;
  frmAdmins::hilfe = hilfe;
  frmMitarbeiter::hilfe = hilfe;
  frmAnzeigeberechtigungen::hilfe = hilfe;
  frmAnzeigegruppen::hilfe = hilfe;
  frmAnAbwesenheitsgruende::hilfe = hilfe;
  // The holidays and weekend dialogs' help, and the info window's country dialog.
  Feiertagsdialoge_verdrahten();
  // The display-group names are asked for through the comment dialog.
  frmAnzeigegruppen::eingabe = [](QWidget* besitzer, const QString& beschriftung, const QString& vorgabe,
                                  const QString& titel) { return Eingabefeld(beschriftung, vorgabe, titel, besitzer); };
  // The employee editor's search asks through the comment dialog.
  frmMitarbeiter::eingabe = [](QWidget* besitzer, const QString& beschriftung, const QString& vorgabe,
                               const QString& titel) { return Eingabefeld(beschriftung, vorgabe, titel, besitzer); };
}

void Programm_verdrahten() {
  dialoge::setzeDienst(std::make_unique<dialoge::QtDienst>());
  // The file channel, the logbook, the folder choice and the stops into the store and
  // the start repair.
  Starthaken_setzen();
  // The busy state into the active window.
  Fensterhilfen_einrichten();
  Fensterhaken_verdrahten();
  // The year change's look-back into the backup chooser.
  gSicherungsauswahl_zeigen = [] { Recovery_anzeigen(nullptr); };
  Ansichtshaken_verdrahten();
  Dialoghaken_verdrahten();
  programmende::setzeEntladen([] {
    Hauptfenster_entladen();
    einzelinstanz::freigeben();
  });
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
