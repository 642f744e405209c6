#pragma once
// The overview tests' data folder: the month planner fixture (two groups, a row
// before the first heading, the default code buttons U ½ Z D K S and the erase
// button) with month records of 2025 and 2026 that the overviews count.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTest>

#include "common/Planerordner.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "views/Ansichtsrahmen.h"
#include "widgets/Rasteransicht.h"

namespace ansichten {

using planer::Codes;

class AnsichtTest : public planer::PlanerTest {
 protected:
  void SetUp() override {
    planer::PlanerTest::SetUp();
    bildschirm::setzeDpi(96);
    gKonfigdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Konfigdaten.dat"));
    gDatumstrennzeichen = QStringLiteral(".");
    gDatumsreihenfolge = 1;
    gAnsichtshaken = {};
    // What the wired hooks answer while no main window is loaded; a test that looks at
    // one of them puts in its own.
    gAnsichtshaken.namensspaltenbreite = [] { return 2700; };
    gAnsichtshaken.mausrad_prüfen = [](QWidget&, Rasteransicht&) { return false; };
    gAnsichtshaken.mausrad_lösen = [] {};
    gAnsichtshaken.hauptraster_mitarbeiter = [] { return QList<std::pair<QString, QString>>{}; };
    gAnsichtshaken.hauptfenster_tag_lesen = [] { return QString(); };
    gAnsichtshaken.hauptfenster_tag = [](const QString&) {};
    gAnzeigegruppen = QStringList{QString(), QStringLiteral("NoGroups")};
    gAnzeigegruppe = 0;
    gAnzeigeberechtigung = QStringLiteral("AllGroups");
    // March 2026: U on two weekdays and a half day on Saturday the 7th for Vera.
    monatSchreiben(
        QStringLiteral("2603 260310 Data.dat"),
        {QStringLiteral("A:vera:") + Codes({{2, '1'}, {3, '1'}, {7, '2'}, {9, '5'}}),
         QStringLiteral("A:anna:") + Codes({{10, '1'}, {11, '1'}, {12, '1'}, {4, '5'}, {16, '3'}}),
         QStringLiteral("A:tester:") + Codes({{20, '5'}, {23, '2'}}), QStringLiteral("A:carla:") + Codes({{24, '4'}})});
    monatSchreiben(QStringLiteral("2601 260105 Data.dat"), {QStringLiteral("A:vera:") + Codes({{5, '1'}})});
    // Before the year the window opens with.
    monatSchreiben(QStringLiteral("2506 250601 Data.dat"), {QStringLiteral("A:anna:") + Codes({{2, '1'}, {3, '1'}})});
    Erfassungsdaten_Cache_verwerfen();
  }
  void TearDown() override {
    gAnsichtshaken = {};
    bildschirm::setzeDpi(0);
    planer::PlanerTest::TearDown();
  }

  // The grid's rows, each its trimmed cells joined by "|".
  static QStringList zeilen(const Raster& g) {
    QStringList r;
    for (int z = 1; z < g.Rows(); ++z) {
      QStringList zellen;
      for (int c = 0; c < g.Cols(); ++c) zellen << g.TextMatrix(z, c).trimmed();
      r << zellen.join(u'|');
    }
    return r;
  }

  // Keeps a picture of a window in the folder VELKORA_BILDER names (none: no picture).
  static void bild(QWidget& w, const QString& name) {
    const QString ordner = qEnvironmentVariable("VELKORA_BILDER");
    if (ordner.isEmpty()) return;
    QDir().mkpath(ordner);
    QApplication::processEvents();
    w.grab().save(ordner + u'/' + name + QStringLiteral(".png"));
  }
};

}  // namespace ansichten
