// The main window's commands: the code buttons and the grid's mouse commands reach the
// entry procedures, which redisplay through the window and keep the comment marks.
#include <QPushButton>

#include "planner/Aenderungspruefung.h"
#include "planner/Eingabe.h"
#include "planner/Kommentare.h"
#include "planner/Monatsanzeige.h"
#include "planner/Monatsspeicher.h"
#include "planner/Tabellenmaus.h"
#include "planner/frmVelkora.h"
#include "store/Konfigdaten.h"

void frmVelkora::Befehle_verbinden() {
  for (int i = 1; i <= 25; ++i) connect(cmdAuswahl[i], &QPushButton::clicked, this, [i] { cmdAuswahl_Click(i); });
  Kommentarbefehle_verbinden(*this);
  gEingabebefehle.CheckErfassungsdaten = [] { return ::CheckErfassungsdaten(); };
  gEingabebefehle.Datensatz_speichern = [](const QString& zeile) { return ::Datensatz_speichern(zeile); };
  gEingabebefehle.Zeilen_zurückgehalten = [] {
    return !gUndoPuffer.isEmpty() && gUndoPuffer.first() != QStringLiteral("NoData");
  };
  gEingabebefehle.Daten_anzeigen = [this](bool beschäftigt) { Daten_anzeigen(beschäftigt); };
  gEingabebefehle.Kommentarmarke = [](int zeile, int tag) { return gKommentarMarken.text(zeile, tag); };
  gEingabebefehle.Kommentarmarke_leeren = [](int zeile, int tag) { gKommentarMarken.setzen(zeile, tag, QString()); };
}
