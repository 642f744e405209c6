#include "planner/Druckbefehle.h"

#include <QTabBar>
#include <memory>

#include "planner/Aenderungspruefung.h"
#include "planner/Markierung.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "printing/Druckprimitive.h"
#include "printing/Monatsdruck.h"
#include "printing/frmDrucken.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {

class Hauptfensterquelle : public Monatsdruckquelle {
 public:
  explicit Hauptfensterquelle(frmVelkora& f) : mF(f) {}
  Raster& Monatsraster() override { return mF.msgFlexGrid->raster(); }
  Raster& Kalenderwochen() override { return mF.msgFlexKaWo->raster(); }
  Raster& Tagessummen() override { return mF.msgFlexTaSu->raster(); }
  QString Jahr() const override { return mF.tabJahre->tabText(mF.tabJahre->currentIndex()); }
  int Monat() const override { return mF.tabMonate->currentIndex(); }
  void Monat_wählen(int i) override {
    {
      const QSignalBlocker b(mF.tabMonate);
      mF.tabMonate->setCurrentIndex(i);
    }
    mF.änderungsprüfung().zurücksetzen();
    mF.tabMonate_Click();
    mF.repaint();
  }

 private:
  frmVelkora& mF;
};

std::unique_ptr<Hauptfensterquelle> gQuelle;

}  // namespace

void Druckbefehle_verbinden(frmVelkora& f) {
  gQuelle = std::make_unique<Hauptfensterquelle>(f);
  gMonatsdruckquelle = gQuelle.get();
  gHauptfensterTag = [&f]() -> QString& { return f.Tag; };
  QObject::connect(&f, &QObject::destroyed, [] {
    gMonatsdruckquelle = nullptr;
    gHauptfensterTag = nullptr;
    gQuelle.reset();
  });
}

void Monatsansicht_drucken(const QString& modus) {
  Prozedur(QStringLiteral("frmVelkora - Monatsansicht_drucken"), [&] {
    frmVelkora* f = frmVelkora::instanz();
    if (!f) return;
    if (gBenutzerwerte[22] > 1) Highlight_Off();
    gDruckauftrag = QStringLiteral("M") + modus;
    frmDrucken::anzeigen(f);
    Markierung_aufheben();
  });
}
