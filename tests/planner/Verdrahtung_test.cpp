// The links that lower libraries call upward (the start into the windows, the store
// into the recovery window, the views into the printouts and the main window, the
// dialogs into the help) are filled in by the program's wiring. A slot a caller needs
// that stays empty turns a click into silence, so each one is listed here and checked.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "common/Testumgebung.h"
#include "config/Schaltflaechen_speichern.h"
#include "config/frmAnAbwesenheitsgruende.h"
#include "config/frmFeiertage.h"
#include "config/frmWochenende.h"
#include "launch/Startfehler.h"
#include "people/frmAdmins.h"
#include "people/frmAnzeigeberechtigungen.h"
#include "people/frmAnzeigegruppen.h"
#include "people/frmMitarbeiter.h"
#include "planner/Programm.h"
#include "planner/frmRecovery.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Programmende.h"
#include "platform/Signale.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Jahreswechsel.h"
#include "store/Mitarbeiterdaten.h"
#include "views/Ansichtsrahmen.h"

namespace {

// A hook struct that gains a member no longer matches its count here, so the lists
// below cannot silently miss the new slot.
template <class Haken>
constexpr bool hatGlieder(std::size_t n) {
  return sizeof(Haken) == n * sizeof(std::function<void()>);
}
static_assert(hatGlieder<Fensterhaken>(6));
static_assert(hatGlieder<Ordnerdienste>(1));
static_assert(hatGlieder<Wartehaken>(6));
static_assert(hatGlieder<Abbruchdienste>(1));
static_assert(hatGlieder<Abbruchhaken>(2));
static_assert(hatGlieder<Reparaturdienste>(6));
static_assert(hatGlieder<Ansichtshaken>(11));

using Slots = std::vector<std::pair<const char*, bool>>;

std::vector<std::string> leere(const Slots& s) {
  std::vector<std::string> r;
  for (const auto& [name, gesetzt] : s)
    if (!gesetzt) r.emplace_back(name);
  return r;
}

// What the program's start needs before any window exists.
Slots Startslots() {
  return {
      {"gFensterhaken.splash_zeigen", bool(gFensterhaken.splash_zeigen)},
      {"gFensterhaken.splash_entladen", bool(gFensterhaken.splash_entladen)},
      {"gFensterhaken.hauptfenster_laden", bool(gFensterhaken.hauptfenster_laden)},
      {"gFensterhaken.hauptfenster_zeigen", bool(gFensterhaken.hauptfenster_zeigen)},
      {"gFensterhaken.hauptfenster_neu_zeichnen", bool(gFensterhaken.hauptfenster_neu_zeichnen)},
      {"gFensterhaken.titel_setzen", bool(gFensterhaken.titel_setzen)},
      {"gOrdnerdienste.ist_administrator", bool(gOrdnerdienste.ist_administrator)},
      {"gWartehaken.eingabe_sperren", bool(gWartehaken.eingabe_sperren)},
      {"gWartehaken.eingabe_freigeben", bool(gWartehaken.eingabe_freigeben)},
      {"gWartehaken.titel", bool(gWartehaken.titel)},
      {"gWartehaken.titel_setzen", bool(gWartehaken.titel_setzen)},
      {"gAbbruchdienste.logbuch", bool(gAbbruchdienste.logbuch)},
      {"gAbbruchhaken.startfehler", bool(gAbbruchhaken.startfehler)},
      {"gAbbruchhaken.firmenname", bool(gAbbruchhaken.firmenname)},
      {"gReparaturdienste.backup_erstellen", bool(gReparaturdienste.backup_erstellen)},
      {"gReparaturdienste.restore", bool(gReparaturdienste.restore)},
      {"gReparaturdienste.setup_datenordner", bool(gReparaturdienste.setup_datenordner)},
      {"gReparaturdienste.datenverzeichnis_suchen", bool(gReparaturdienste.datenverzeichnis_suchen)},
      {"gReparaturdienste.konfigdaten_lesen", bool(gReparaturdienste.konfigdaten_lesen)},
      {"gReparaturdienste.monat_reparieren", bool(gReparaturdienste.monat_reparieren)},
      {"gLogbuchKopieImTempordner", bool(gLogbuchKopieImTempordner)},
      {"gLangsamesNetzGesehen", bool(gLangsamesNetzGesehen)},
      {"gDateiEntfernen", bool(gDateiEntfernen)},
      {"gOrdnerAnlegen", bool(gOrdnerAnlegen)},
      {"gSicherungsauswahl_zeigen", bool(gSicherungsauswahl_zeigen)},
      {"gKnopfRestore", bool(gKnopfRestore)},
      {"gAnsichtshaken.kommentar_anzeigen", bool(gAnsichtshaken.kommentar_anzeigen)},
      {"frmFeiertage::hilfe", bool(frmFeiertage::hilfe)},
      {"frmWochenende::hilfe", bool(frmWochenende::hilfe)},
      {"frmAnzeigegruppen::eingabe", bool(frmAnzeigegruppen::eingabe)},
      {"frmMitarbeiter::eingabe", bool(frmMitarbeiter::eingabe)},
  };
}

// What the main window adds when it loads: the links that reach into it.
Slots Fensterslots() {
  return {
      {"gAnsichtshaken.csv_export", bool(gAnsichtshaken.csv_export)},
      {"gAnsichtshaken.druckdialog", bool(gAnsichtshaken.druckdialog)},
      {"gAnsichtshaken.hauptfenster_tag", bool(gAnsichtshaken.hauptfenster_tag)},
      {"gAnsichtshaken.namensspaltenbreite", bool(gAnsichtshaken.namensspaltenbreite)},
      {"gAnsichtshaken.eingabe", bool(gAnsichtshaken.eingabe)},
      {"gAnsichtshaken.hilfe", bool(gAnsichtshaken.hilfe)},
      {"gAnsichtshaken.mausrad_pruefen", bool(gAnsichtshaken.mausrad_prüfen)},
      {"gAnsichtshaken.mausrad_loesen", bool(gAnsichtshaken.mausrad_lösen)},
      {"gAnsichtshaken.hauptfenster_tag_lesen", bool(gAnsichtshaken.hauptfenster_tag_lesen)},
      {"gAnsichtshaken.hauptraster_mitarbeiter", bool(gAnsichtshaken.hauptraster_mitarbeiter)},
      {"gWartehaken.punkte_starten", bool(gWartehaken.punkte_starten)},
      {"gWartehaken.punkte_stoppen", bool(gWartehaken.punkte_stoppen)},
      {"frmRecovery::hilfe", bool(frmRecovery::hilfe)},
      {"frmMitarbeiter::hilfe", bool(frmMitarbeiter::hilfe)},
      {"frmAnzeigeberechtigungen::hilfe", bool(frmAnzeigeberechtigungen::hilfe)},
      {"frmAnzeigegruppen::hilfe", bool(frmAnzeigegruppen::hilfe)},
      {"frmAdmins::hilfe", bool(frmAdmins::hilfe)},
      {"frmAnAbwesenheitsgruende::hilfe", bool(frmAnAbwesenheitsgruende::hilfe)},
  };
}

class VerdrahtungTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    // From nothing: the slots the test setup fills itself are emptied again.
    zustand::alleZurücksetzen();
    frmFeiertage::hilfe = nullptr;
    frmWochenende::hilfe = nullptr;
    frmAnzeigegruppen::eingabe = nullptr;
    frmMitarbeiter::eingabe = nullptr;
    frmRecovery::hilfe = nullptr;
    frmMitarbeiter::hilfe = nullptr;
    frmAnzeigeberechtigungen::hilfe = nullptr;
    frmAnzeigegruppen::hilfe = nullptr;
    frmAdmins::hilfe = nullptr;
    frmAnAbwesenheitsgruende::hilfe = nullptr;
  }
  void TearDown() override {
    fenster.reset();
    programmende::setzeEntladen(nullptr);
    signale::beimBeenden(nullptr);
    bildschirm::setzeDpi(0);
    VelkoraTest::TearDown();
  }
  std::unique_ptr<frmVelkora> fenster;
};

TEST_F(VerdrahtungTest, NachDerVerdrahtungIstJederStartslotGesetzt) {
  ASSERT_FALSE(leere(Startslots()).empty()) << "the reset leaves slots empty, else the check proves nothing";
  Programm_verdrahten();
  EXPECT_EQ(leere(Startslots()), std::vector<std::string>{});
}

TEST_F(VerdrahtungTest, DasGeladeneHauptfensterSetztJedenFensterslot) {
  Programm_verdrahten();
  ordnerEinrichten();
  bildschirm::setzeDpi(96);
  gPlanungsjahr = 2025;
  gHeute = QDate(2026, 3, 12);
  Hauptfenster_laden();
  fenster.reset(frmVelkora::instanz());
  ASSERT_NE(fenster, nullptr);
  EXPECT_EQ(leere(Startslots()), std::vector<std::string>{});
  EXPECT_EQ(leere(Fensterslots()), std::vector<std::string>{});
}

}  // namespace
