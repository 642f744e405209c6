// Bearbeiten - Feiertage and Bearbeiten - Wochenende of the main window, and the about
// box's way to the country dialog.
#include <QAction>
#include <QComboBox>
#include <QDir>

#include "common/Feiertagsdialoge.h"
#include "common/Modaldialog.h"
#include "config/frmFeiertage.h"
#include "config/frmLaendereinstellungen.h"
#include "config/frmWochenende.h"
#include "planner/Feiertagsbefehle.h"
#include "planner/frmInfo.h"
#include "planner/frmVelkora.h"
#include "platform/Programmende.h"
#include "platform/Raster.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace feiertage;

class FeiertagsmenueTest : public Feiertagsdialoge {
 protected:
  void SetUp() override {
    Feiertagsdialoge::SetUp();
    Feiertagsdialoge_verdrahten();
  }
  void TearDown() override {
    fenster.reset();
    programmende::setzeEntladen(nullptr);
    Feiertagsdialoge::TearDown();
  }
  frmVelkora& fensterLaden() {
    Hauptfenster_laden();
    fenster.reset(frmVelkora::instanz());
    fenster->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(fenster.get()));
    return *fenster;
  }
  std::unique_ptr<frmVelkora> fenster;
};

TEST_F(FeiertagsmenueTest, DasLandWirdBestaetigtOderGewaehltBevorDieFeiertageKommen) {
  struct Fall {
    const char* name;
    char position14;
    const char16_t* land;
    int antwort;      // to the question; 0: no question expected
    bool landwählen;  // the country dialog is expected; it applies France
    bool abbrechen;   // ... or is cancelled
    bool feiertage;   // the holidays dialog is expected
    char danach14;
  };
  int länder = 0, feiertage = 0;
  for (const Fall& f : {Fall{"bestaetigt", '0', u"Deutschland", 0, false, false, true, '0'},
                        Fall{"Ja", '1', u"Deutschland", dialoge::kJa, false, false, true, '0'},
                        Fall{"Nein", '1', u"Deutschland", dialoge::kNein, true, false, true, '0'},
                        Fall{"Nein und Abbrechen", '1', u"Deutschland", dialoge::kNein, true, true, false, '1'},
                        Fall{"ohne Land", '0', u"", 0, true, false, true, '0'}}) {
    SCOPED_TRACE(f.name);
    konfiguration(QStringLiteral("2603"), {QStringLiteral("14=") + QChar(f.position14)});
    feiertageSchreiben(QString::fromUtf16(f.land), Deutsche_Definitionen());
    Feiertage_lesen();
    skript->protokoll.clear();
    frmVelkora& w = fensterLaden();
    EXPECT_TRUE(w.aktion(QStringLiteral("mnuFeiertage"))->isEnabled());
    länder = feiertage = 0;
    // Only the dialogs expected are answered: a handler left waiting would act in a
    // later case.
    if (f.landwählen)
      beimDialog<frmLaendereinstellungen>([&länder, abbrechen = f.abbrechen](frmLaendereinstellungen& d) {
        ++länder;
        d.cmbLänderliste->setCurrentIndex(d.cmbLänderliste->findText(QStringLiteral("France")));
        d.cmdAuswahl[abbrechen ? 2 : 1]->click();
      });
    if (f.feiertage)
      beimDialog<frmFeiertage>([&feiertage](frmFeiertage& d) {
        ++feiertage;
        d.cmdAuswahl[4]->click();
      });
    if (f.antwort != 0) skript->antworte(f.antwort);
    w.aktion(QStringLiteral("mnuFeiertage"))->trigger();
    if (f.antwort != 0) {
      ASSERT_EQ(skript->protokoll.size(), 1u);
      EXPECT_EQ(skript->protokoll[0].art, dialoge::Art::JaNein);
      EXPECT_EQ(skript->protokoll[0].text,
                QStringLiteral("Es werden die Feiertage für das Land 'Deutschland' verwendet.\r\rIst diese "
                               "Ländereinstellung korrekt?"));
    } else {
      EXPECT_TRUE(skript->protokoll.empty());
    }
    EXPECT_EQ(länder, f.landwählen ? 1 : 0);
    EXPECT_EQ(feiertage, f.feiertage ? 1 : 0);
    EXPECT_EQ(gespeicherteEinstellungen()[13], QChar(f.danach14));
    EXPECT_EQ(gLand, f.landwählen && !f.abbrechen ? QStringLiteral("France") : QString::fromUtf16(f.land));
    fenster.reset();
  }
}

TEST_F(FeiertagsmenueTest, WochenendeOeffnetDenDialogUndZeigtDenMonatNeu) {
  frmVelkora& w = fensterLaden();
  EXPECT_TRUE(w.aktion(QStringLiteral("mnuWochenende"))->isEnabled());
  bool gesehen = false;
  beimDialog<frmWochenende>([&](frmWochenende& d) {
    gesehen = true;
    d.chkWochenende[5]->setChecked(true);
    d.cmdAuswahl[2]->click();
  });
  w.aktion(QStringLiteral("mnuWochenende"))->trigger();
  EXPECT_TRUE(gesehen);
  EXPECT_EQ(gWochenende, u"FrSaSo");
  // Friday 13 March is now shown as a non-working day like Saturday 14.
  const Raster& g = w.msgFlexGrid->raster();
  int zeile = 0;
  for (int r = 1; r < g.Rows() && zeile == 0; ++r)
    if (g.TextMatrix(r, 32) == u"tester") zeile = r;
  ASSERT_GT(zeile, 0);
  EXPECT_EQ(g.CellBackColor(zeile, 13), g.CellBackColor(zeile, 14));
  EXPECT_NE(g.CellBackColor(zeile, 12), g.CellBackColor(zeile, 14));
}

TEST_F(FeiertagsmenueTest, DerInfodialogOeffnetDenLaenderdialogFuerAdministratoren) {
  frmVelkora& w = fensterLaden();
  int länder = 0;
  beimDialog<frmInfo>([&](frmInfo& i) {
    beimDialog<frmLaendereinstellungen>([&](frmLaendereinstellungen& d) {
      ++länder;
      d.cmdAuswahl[2]->click();
    });
    QTest::keyClick(&i, Qt::Key_F3, Qt::ControlModifier);
    i.accept();
  });
  Info_anzeigen(&w);
  EXPECT_EQ(länder, 1);
}

// ---- screenshots (only with VELKORA_BILDER set) ---------------------------------------

TEST_F(FeiertagsmenueTest, Bildschirmfotos) {
  const QString ziel = qEnvironmentVariable("VELKORA_BILDER");
  if (ziel.isEmpty()) GTEST_SKIP() << "VELKORA_BILDER not set";
  QDir().mkpath(ziel);
  konfiguration(QStringLiteral("2501"));
  monatSchreiben(QStringLiteral("2602 260205 Data.dat"), {QStringLiteral("A:anna:") + planer::Codes({{7, '1'}})});
  {
    // The fewest controls: two named definitions, compact.
    QStringList defs = Deutsche_Definitionen();
    for (int i = 2; i < 16; ++i) defs[i] = kLeereFeiertagsdefinition;
    feiertageSchreiben(QStringLiteral("Deutschland"), defs);
    frmFeiertage d;
    d.show();
    d.grab().save(ziel + QStringLiteral("/frmFeiertage_klein.png"));
  }
  {
    QStringList defs = Deutsche_Definitionen();
    for (int t = 1; t <= 16; ++t) defs << QStringLiteral("%1.12.").arg(t + 10);
    feiertageSchreiben(QStringLiteral("Deutschland"), defs);
    frmFeiertage d;
    d.show();
    d.grab().save(ziel + QStringLiteral("/frmFeiertage_gross.png"));
    gDatumstrennzeichen = QStringLiteral("/");
    gDatumsreihenfolge = 0;
    frmFeiertage m;
    m.show();
    m.grab().save(ziel + QStringLiteral("/frmFeiertage_mdy.png"));
    gDatumstrennzeichen = QStringLiteral(".");
    gDatumsreihenfolge = 1;
  }
  {
    frmWochenende d;
    d.show();
    d.grab().save(ziel + QStringLiteral("/frmWochenende.png"));
  }
  {
    frmLaendereinstellungen d;
    d.show();
    d.grab().save(ziel + QStringLiteral("/frmLaendereinstellungen.png"));
  }
  // The larger font of a high-resolution screen.
  bildschirm::setzeDpi(144);
  QFont groß = QApplication::font();
  groß.setPointSizeF(groß.pointSizeF() * 1.5);
  QApplication::setFont(groß);
  for (int i = 0; i < 3; ++i) {
    std::unique_ptr<QDialog> d;
    if (i == 0) d = std::make_unique<frmFeiertage>();
    if (i == 1) d = std::make_unique<frmWochenende>();
    if (i == 2) d = std::make_unique<frmLaendereinstellungen>();
    d->show();
    d->grab().save(ziel + QStringLiteral("/%1_144dpi.png").arg(d->objectName()));
  }
  groß.setPointSizeF(groß.pointSizeF() / 1.5);
  QApplication::setFont(groß);
}

}  // namespace
