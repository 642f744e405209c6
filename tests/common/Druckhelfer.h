#pragma once
// The printing test bench: a printer that records its jobs, the main window's grids
// as a month source, code buttons and display colours.
#include <QDate>
#include <memory>
#include <vector>

#include "common/Testumgebung.h"
#include "platform/Raster.h"
#include "printing/Druckauftrag.h"
#include "printing/Druckprimitive.h"
#include "printing/Monatsdruck.h"
#include "startup/Start.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"

// Every job opened on it is a recording kept in `aufträge`.
struct Aufzeichnungsdrucker : Druckziel {
  QString mName;
  std::vector<std::shared_ptr<Aufzeichnung>>* aufträge;
  std::function<void(Aufzeichnung&)> einrichten;
  QString name() const override { return mName; }
  std::shared_ptr<Druckfläche> auftrag(bool quer) override {
    auto a = std::make_shared<Aufzeichnung>();
    a->quer = quer;
    if (einrichten) einrichten(*a);
    aufträge->push_back(a);
    return a;
  }
};

struct Monatsquelle_Test : Monatsdruckquelle {
  Raster gitter{2, 33}, wochen{1, 33}, summen{1, 33};
  QString jahr = QStringLiteral("2026");
  int monat = 2;
  std::vector<int> gewählt;
  std::function<void(int)> beimWählen;
  Raster& Monatsraster() override { return gitter; }
  Raster& Kalenderwochen() override { return wochen; }
  Raster& Tagessummen() override { return summen; }
  QString Jahr() const override { return jahr; }
  int Monat() const override { return monat; }
  void Monat_wählen(int i) override {
    monat = i;
    gewählt.push_back(i);
    gMonatsschlüssel = QStringLiteral("26%1").arg(i + 1, 2, 10, QLatin1Char('0'));
    if (beimWählen) beimWählen(i);
  }
};

class DruckTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    gFirmenname = QStringLiteral("Muster GmbH");
    gFirmenzusatz.clear();
    for (int i = 1; i <= 9; ++i) gGrundfarben[i] = 0x101010 * i;
    gGrundfarben[1] = 0xFFFFFF;
    gHeute = QDate(2026, 3, 10);
    gHeuteText = QStringLiteral("260310");
    gMonatsschlüssel = QStringLiteral("2603");
    gBenutzerwerte[23] = 1;
    gBenutzerwerte[24] = 0;
    gBenutzerwerte[25] = 0;
    gBenutzerwerte[29] = 1;
    gBenutzerwerte[30] = 1;
    knöpfe(9);
    gDruckersystem.drucker = [this] { return drucker; };
    gDruckersystem.standarddrucker = [this] { return standard; };
    gDruckersystem.ziel = [this](const QString& name, const QString& pdf) -> std::unique_ptr<Druckziel> {
      zielAnfragen.push_back({name, pdf});
      auto z = std::make_unique<Aufzeichnungsdrucker>();
      z->mName = name;
      z->aufträge = &aufträge;
      z->einrichten = einrichten;
      return z;
    };
    gMonatsdruckquelle = &quelle;
  }
  // n code buttons and the erase button.
  static void knöpfe(int n) {
    gSFKennbuchstaben = {QString()};
    gSFTexte = {QString()};
    gSFTextfarben = {0};
    gSFHintergrundfarben = {0};
    for (int i = 1; i <= n; ++i) {
      gSFKennbuchstaben << QString(QChar(u'A' + i - 1));
      gSFTexte << QStringLiteral("Grund %1").arg(i);
      gSFTextfarben << 0x0000FF;
      gSFHintergrundfarben << 0x00FF00 + i;
    }
    gSFKennbuchstaben << QStringLiteral(" ");
    gSFTexte << QStringLiteral("Löschen");
    gSFTextfarben << 0;
    gSFHintergrundfarben << 0xFFFFFF;
  }
  // A month grid of n employee rows, weekday heads and calendar weeks of March 2026.
  void monat(int zeilen) {
    Raster& g = quelle.gitter;
    g.setRows(zeilen + 1);
    const QDate erster(2026, 3, 1);
    for (int d = 1; d <= 31; ++d) {
      const QDate t = erster.addDays(d - 1);
      g.setTextMatrix(
          0, d, QLocale(QLocale::German).dayName(t.dayOfWeek(), QLocale::ShortFormat).left(2) + QString::number(d));
      quelle.wochen.setTextMatrix(0, d, QString::number(t.weekNumber()));
    }
    for (int r = 1; r <= zeilen; ++r) g.setTextMatrix(r, 0, QStringLiteral("Mitarbeiter %1").arg(r));
  }
  // Prints through the page set-up as a job of code `code` with the recording printer.
  Aufzeichnung& einzelauftrag(const QString& code = QStringLiteral("ME")) {
    gDruckauftrag = code;
    gDrucker = gDruckersystem.ziel(QStringLiteral("Laser"), QString());
    EXPECT_TRUE(Druckereinstellungen_setzen());
    return *aufträge.back();
  }

  QStringList drucker{QStringLiteral("Laser Büro")};
  QString standard = QStringLiteral("Laser Büro");
  std::vector<std::shared_ptr<Aufzeichnung>> aufträge;
  std::vector<std::pair<QString, QString>> zielAnfragen;
  std::function<void(Aufzeichnung&)> einrichten;
  Monatsquelle_Test quelle;
};
