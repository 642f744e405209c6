#pragma once
// Stand-ins for the views the printouts read: each holds a grid and the texts a view
// would show and puts itself in as the printout's source.
#include <QStringList>
#include <map>

#include "common/Druckhelfer.h"
#include "printing/Jahresdruck.h"
#include "printing/Logbuchdruck.h"
#include "printing/Summendruck.h"
#include "printing/Ueberstundendruck.h"
#include "printing/Urlaubsdruck.h"
#include "startup/Umrechnungen.h"

// The year overview: label element e reads "E<e>" unless set; the last two elements
// are the legend's weekend and holiday captions.
struct Jahresquelle_Test {
  Raster gitter{13, 32};
  QStringList namen{QStringLiteral("Vera Muster")};
  int index = 0;
  QString jahr = QStringLiteral("2026");
  bool sonderurlaub = false;
  int letztes = 60;
  std::map<int, QString> texte{{59, QStringLiteral("Wochenende / Frei")}, {60, QStringLiteral("Feiertag")}};
  std::vector<int> gewählt;
  std::function<void(int)> beimWählen;

  void einsetzen() {
    gJahresdruckquelle.anzahl = [this] { return static_cast<int>(namen.size()); };
    gJahresdruckquelle.wählen = [this](int i) {
      index = i;
      gewählt.push_back(i);
      if (beimWählen) beimWählen(i);
    };
    gJahresdruckquelle.name = [this] { return namen.value(index); };
    gJahresdruckquelle.jahr = [this] { return jahr; };
    gJahresdruckquelle.gitter = [this]() -> const Raster& { return gitter; };
    gJahresdruckquelle.beschriftung = [this](int e) {
      const auto it = texte.find(e);
      return it != texte.end() ? it->second : QStringLiteral("E%1").arg(e);
    };
    gJahresdruckquelle.letztesElement = [this] { return letztes; };
    gJahresdruckquelle.sonderurlaub = [this] { return sonderurlaub; };
    gJahresdruckquelle.serie = [](bool) {};
  }
  // Month names and day numbers as the window shows them.
  void füllen() {
    gitter.setTextMatrix(0, 0, QStringLiteral("Monat"));
    for (int d = 1; d <= 31; ++d) gitter.setTextMatrix(0, d, QString::number(d));
    for (int m = 1; m <= 12; ++m) gitter.setTextMatrix(m, 0, Monatsname(m));
  }
};

struct Logbuchquelle_Test {
  Raster gitter{1, 8};
  void einsetzen() {
    gLogbuchdruckquelle.gitter = [this]() -> const Raster& { return gitter; };
  }
};

struct Summenquelle_Test {
  Raster gitter{1, 7};
  QString von = QStringLiteral("01.01.26"), bis = QStringLiteral("31.12.26");
  void einsetzen() {
    gSummendruckquelle.gitter = [this]() -> const Raster& { return gitter; };
    gSummendruckquelle.vonDatum = [this] { return von; };
    gSummendruckquelle.bisDatum = [this] { return bis; };
  }
};

struct Urlaubsquelle_Test {
  Raster gitter{1, 10};
  QString datum = QStringLiteral("15.02.27");
  QString titel = QStringLiteral("Urlaubsübersicht 2026");
  bool sonderurlaub = false;
  void einsetzen() {
    gUrlaubsdruckquelle.gitter = [this]() -> const Raster& { return gitter; };
    gUrlaubsdruckquelle.datum = [this] { return datum; };
    gUrlaubsdruckquelle.titel = [this] { return titel; };
    gUrlaubsdruckquelle.sonderurlaub = [this] { return sonderurlaub; };
  }
};

struct Überstundenquelle_Test {
  Raster gitter{1, 4};
  QString name = QStringLiteral("Vera Muster");
  void einsetzen() {
    gÜberstundendruckquelle.gitter = [this]() -> const Raster& { return gitter; };
    gÜberstundendruckquelle.name = [this] { return name; };
  }
};

class AnsichtsdruckTest : public DruckTest {
 protected:
  void SetUp() override {
    DruckTest::SetUp();
    gDatumstrennzeichen = QStringLiteral(".");
    gDatumsreihenfolge = 1;
  }
  // Runs a printout as the dialog would for the job code, on the recording printer.
  Aufzeichnung& drucken(const QString& code, const std::function<bool(int)>& routine, int exemplare = 1) {
    gDruckauftrag = code;
    gDrucker = gDruckersystem.ziel(QStringLiteral("Laser"), QString());
    const std::size_t vorher = aufträge.size();
    EXPECT_TRUE(routine(exemplare));
    EXPECT_EQ(aufträge.size(), vorher + static_cast<std::size_t>(exemplare));
    return *aufträge.back();
  }
  // The colour of the cell box drawn at (x, y) with its frame, or -1.
  static Farbwert kastenBei(const Aufzeichnung& a, double x, double y, int seite = 0) {
    Farbwert f = -1;
    for (const auto& e : a.einträge)
      if (e.art == Aufzeichnung::Kasten && std::abs(e.x - x - 0.03) < 1e-6 && std::abs(e.y - y - 0.03) < 1e-6 &&
          (seite == 0 || e.seite == seite))
        f = e.farbe;
    return f;
  }
  static bool nah(double a, double b) { return std::abs(a - b) < 1e-6; }
};
