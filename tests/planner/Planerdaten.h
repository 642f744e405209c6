#pragma once
// The month planner's data folder (tests/common/Planerordner.h) under the main window.
#include <memory>

#include "common/Planerordner.h"
#include "planner/Programm.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Programmende.h"

namespace planer {

// The main window over the fixture folder as a start leaves it: the configuration
// already read, 96 dots per inch.
class PlanerFensterTest : public PlanerTest {
 protected:
  void SetUp() override {
    PlanerTest::SetUp();
    bildschirm::setzeDpi(96);
    gKonfigdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Konfigdaten.dat"));
  }
  void TearDown() override {
    fenster.reset();
    programmende::setzeEntladen(nullptr);
    bildschirm::setzeDpi(0);
    PlanerTest::TearDown();
  }
  frmVelkora& fensterLaden() {
    // The links the overviews and the dialogs reach the loaded program through.
    Ansichtshaken_verdrahten();
    Dialoghaken_verdrahten();
    Hauptfenster_laden();
    fenster.reset(frmVelkora::instanz());
    return *fenster;
  }
  std::unique_ptr<frmVelkora> fenster;
};

}  // namespace planer
