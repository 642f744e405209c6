// The links that lower libraries call upward (the start into the windows, the store
// into the recovery window, the views into the printouts and the main window, the
// dialogs into the help) are filled in by the program's wiring. A slot a caller needs
// that stays empty turns a click into silence, so each one is listed here and checked.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/Testumgebung.h"
#include "config/Schaltflaechen_speichern.h"
#include "config/frmAnAbwesenheitsgruende.h"
#include "config/frmFeiertage.h"
#include "config/frmWochenende.h"
#include "launch/Programmstart.h"
#include "launch/Startfehler.h"
#include "people/frmAdmins.h"
#include "people/frmAnzeigeberechtigungen.h"
#include "people/frmAnzeigegruppen.h"
#include "people/frmMitarbeiter.h"
#include "planner/Programm.h"
#include "planner/frmInfo.h"
#include "planner/frmRecovery.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Haken.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Signale.h"
#include "platform/Zustand.h"
#include "printing/Monatsdruck.h"
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
template <class Glieder>
constexpr bool hatGlieder(std::size_t n) {
  return sizeof(Glieder) == n * sizeof(Haken<void()>);
}
static_assert(hatGlieder<Fensterhaken>(6));
static_assert(hatGlieder<Ordnerdienste>(1));
static_assert(hatGlieder<Wartehaken>(6));
static_assert(hatGlieder<Abbruchdienste>(1));
static_assert(hatGlieder<Abbruchhaken>(2));
static_assert(hatGlieder<Reparaturdienste>(7));
static_assert(hatGlieder<Ansichtshaken>(11));

// One slot of the wiring: its name, whether it is set, and how the test empties it.
// Slots that start as the real function (the services tests replace by fakes) are
// checked but not emptied: the wiring does not set them again.
struct Slot {
  std::string name;
  std::function<bool()> gesetzt;
  std::function<void()> leeren;
};
template <class S>
Slot slot(Haken<S>& h) {
  return {h.name(), [&h] { return static_cast<bool>(h); }, [&h] { h = nullptr; }};
}
template <class S>
Slot vorbelegt(Haken<S>& h) {
  return {h.name(), [&h] { return static_cast<bool>(h); }, nullptr};
}
template <class S>
Slot vorbelegt(const char* name, std::function<S>& f) {
  return {name, [&f] { return static_cast<bool>(f); }, nullptr};
}
using Slots = std::vector<Slot>;

std::vector<std::string> leere(const Slots& s) {
  std::vector<std::string> r;
  for (const Slot& e : s)
    if (!e.gesetzt()) r.push_back(e.name);
  return r;
}
void alleLeeren(const Slots& s) {
  for (const Slot& e : s)
    if (e.leeren) e.leeren();
}

// What the program's wiring sets before any window exists.
Slots Startslots() {
  return {
      slot(gFensterhaken.splash_zeigen),
      slot(gFensterhaken.splash_entladen),
      slot(gFensterhaken.hauptfenster_laden),
      slot(gFensterhaken.hauptfenster_zeigen),
      slot(gFensterhaken.hauptfenster_neu_zeichnen),
      slot(gFensterhaken.titel_setzen),
      slot(gOrdnerdienste.ist_administrator),
      slot(gWartehaken.eingabe_sperren),
      slot(gWartehaken.eingabe_freigeben),
      slot(gWartehaken.titel),
      slot(gWartehaken.titel_setzen),
      vorbelegt(gAbbruchdienste.logbuch),
      slot(gAbbruchhaken.startfehler),
      slot(gAbbruchhaken.firmenname),
      vorbelegt(gReparaturdienste.backup_erstellen),
      vorbelegt(gReparaturdienste.restore),
      vorbelegt(gReparaturdienste.kopie),
      vorbelegt(gReparaturdienste.setup_datenordner),
      vorbelegt(gReparaturdienste.datenverzeichnis_suchen),
      vorbelegt(gReparaturdienste.konfigdaten_lesen),
      vorbelegt(gReparaturdienste.monat_reparieren),
      slot(gLogbuchKopieImTempordner),
      slot(gLangsamesNetzGesehen),
      vorbelegt("gDateiEntfernen", gDateiEntfernen),
      vorbelegt("gOrdnerAnlegen", gOrdnerAnlegen),
      slot(gSicherungsauswahl_zeigen),
      vorbelegt("gKnopfRestore", gKnopfRestore),
      slot(gAnsichtshaken.kommentar_anzeigen),
      slot(gAnsichtshaken.csv_export),
      slot(gAnsichtshaken.druckdialog),
      slot(gAnsichtshaken.hauptfenster_tag),
      slot(gAnsichtshaken.namensspaltenbreite),
      slot(gAnsichtshaken.eingabe),
      slot(gAnsichtshaken.hilfe),
      slot(gAnsichtshaken.mausrad_prüfen),
      slot(gAnsichtshaken.mausrad_lösen),
      slot(gAnsichtshaken.hauptfenster_tag_lesen),
      slot(gAnsichtshaken.hauptraster_mitarbeiter),
      slot(frmRecovery::hilfe),
      slot(frmMitarbeiter::hilfe),
      slot(frmAnzeigeberechtigungen::hilfe),
      slot(frmAnzeigegruppen::hilfe),
      slot(frmAdmins::hilfe),
      slot(frmAnAbwesenheitsgruende::hilfe),
      slot(frmFeiertage::hilfe),
      slot(frmWochenende::hilfe),
      slot(frmInfo::länderdialog),
      slot(frmAnzeigegruppen::eingabe),
      slot(frmMitarbeiter::eingabe),
  };
}

// What the main window adds when it loads: the links that reach into it, emptied
// again when it goes.
Slots Fensterslots() {
  return {
      slot(gWartehaken.punkte_starten),
      slot(gWartehaken.punkte_stoppen),
  };
}

class VerdrahtungTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    // From nothing: also the slots the test set-up fills itself are emptied again.
    zustand::alleZurücksetzen();
    alleLeeren(Startslots());
    alleLeeren(Fensterslots());
  }
  void TearDown() override {
    fenster.reset();
    // The emptied links of the start sequence, as every test finds them.
    Starthaken_setzen();
    programmende::setzeEntladen(nullptr);
    signale::beimBeenden(nullptr);
    bildschirm::setzeDpi(0);
    VelkoraTest::TearDown();
  }
  // The program's wiring, then the main window on a data folder.
  void verdrahtetLaden() {
    Programm_verdrahten();
    ordnerEinrichten();
    bildschirm::setzeDpi(96);
    gPlanungsjahr = 2025;
    gHeute = QDate(2026, 3, 12);
    Hauptfenster_laden();
    fenster.reset(frmVelkora::instanz());
    ASSERT_NE(fenster, nullptr);
  }
  std::unique_ptr<frmVelkora> fenster;
};

TEST_F(VerdrahtungTest, NachDerVerdrahtungIstJederStartslotGesetzt) {
  const Slots start = Startslots();
  const auto leerbar = std::count_if(start.begin(), start.end(), [](const Slot& e) { return bool(e.leeren); });
  ASSERT_EQ(leere(start).size(), static_cast<std::size_t>(leerbar))
      << "the set-up empties every slot it can, else the check proves nothing";
  Programm_verdrahten();
  EXPECT_EQ(leere(Startslots()), std::vector<std::string>{});
}

TEST_F(VerdrahtungTest, DasGeladeneHauptfensterSetztJedenFensterslot) {
  ASSERT_NO_FATAL_FAILURE(verdrahtetLaden());
  EXPECT_EQ(leere(Startslots()), std::vector<std::string>{});
  EXPECT_EQ(leere(Fensterslots()), std::vector<std::string>{});
}

// The links into the main window go with it: a later call finds no window instead of
// a deleted one.
TEST_F(VerdrahtungTest, DasGeschlosseneHauptfensterLeertSeineSlots) {
  ASSERT_NO_FATAL_FAILURE(verdrahtetLaden());
  ASSERT_NE(gMonatsdruckquelle, nullptr);
  fenster.reset();
  EXPECT_EQ(leere(Fensterslots()).size(), Fensterslots().size());
  EXPECT_EQ(gMonatsdruckquelle, nullptr);
  // The wiring's own links ask for the window at each call and stay.
  EXPECT_EQ(leere(Startslots()), std::vector<std::string>{});
  EXPECT_EQ(gAnsichtshaken.hauptfenster_tag_lesen(), QString());
  EXPECT_EQ(gAnsichtshaken.namensspaltenbreite(), 2700);
  gFensterhaken.titel_setzen();
}

// A slot a caller needs that is empty when the caller runs is a programming error
// that names the slot: thrown as a run-time error, or, inside a procedure, handed to
// the central error handler, which ends the program.
struct Leerfall {
  const char* slot;
  std::function<void()> leeren;
  std::function<void()> aufruf;
};

class LeererSlotTest : public VelkoraTest, public ::testing::WithParamInterface<Leerfall> {};

// The error the call raised: number and text, whichever way it went.
std::pair<int, QString> Fehler_beim_Aufruf(const std::function<void()>& aufruf) {
  gErr = {};
  try {
    aufruf();
  } catch (const Laufzeitfehler& e) {
    return {e.nummer(), e.beschreibung()};
  } catch (const ProgrammBeendet&) {
    return {gErr.nummer, gErr.beschreibung};
  }
  return {0, QString()};
}

TEST_P(LeererSlotTest, IstEinProgrammierfehlerDerDenSlotNennt) {
  const Leerfall& f = GetParam();
  ordnerEinrichten();
  f.leeren();
  const auto [nummer, text] = Fehler_beim_Aufruf(f.aufruf);
  EXPECT_EQ(nummer, fehler::kObjektNichtFestgelegt);
  EXPECT_EQ(text, fehler::Haken_fehlt_Text(f.slot));
}

INSTANTIATE_TEST_SUITE_P(
    Aufrufer, LeererSlotTest,
    ::testing::Values(Leerfall{"gFensterhaken.titel_setzen", [] { gFensterhaken.titel_setzen = nullptr; },
                               [] { Titelzeile(); }},
                      Leerfall{"gOrdnerdienste.ist_administrator", [] { gOrdnerdienste.ist_administrator = nullptr; },
                               [] {
                                 // A folder of other files: whether it may become the data folder
                                 // depends on the user's level.
                                 QDir().mkpath(gTempOrdner + QStringLiteral("Fremd"));
                                 QFile f(gTempOrdner + QStringLiteral("Fremd/Brief.txt"));
                                 ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                                 f.write("x");
                                 f.close();
                                 gUNCPfad = gTempOrdner + QStringLiteral("Fremd/");
                                 Ordner_wählen();
                               }},
                      Leerfall{"gLogbuchKopieImTempordner", [] { gLogbuchKopieImTempordner = nullptr; },
                               [] { Logbuch_ergänzen(1, QStringLiteral("eine Zeile")); }},
                      Leerfall{"gAnsichtshaken.druckdialog", [] { gAnsichtshaken.druckdialog = nullptr; },
                               [] { gAnsichtshaken.druckdialog(nullptr); }},
                      Leerfall{"frmAnzeigegruppen::eingabe", [] { frmAnzeigegruppen::eingabe = nullptr; },
                               [] { frmAnzeigegruppen::eingabe(nullptr, QString(), QString(), QString()); }}),
    [](const ::testing::TestParamInfo<Leerfall>& i) {
      std::string n;
      for (const char c : std::string(i.param.slot))
        if (std::isalnum(static_cast<unsigned char>(c))) n += c;
      return n;
    });

// Filling a slot keeps its name; copying a whole hook struct (a test's saved state put
// back) keeps the names too.
TEST(Haken, BehaeltSeinenNamenBeimFuellenUndKopieren) {
  Haken<int(int)> h("gBeispiel.slot");
  h = [](int x) { return x + 1; };
  EXPECT_EQ(h(1), 2);
  EXPECT_STREQ(h.name(), "gBeispiel.slot");
  Haken<int(int)> andere("gAnderer.slot");
  h = andere;
  EXPECT_FALSE(h);
  EXPECT_STREQ(h.name(), "gBeispiel.slot");
  const Ansichtshaken gesichert = gAnsichtshaken;
  gAnsichtshaken = gesichert;
  EXPECT_STREQ(gAnsichtshaken.druckdialog.name(), "gAnsichtshaken.druckdialog");
}

}  // namespace
