#include "planner/Schaltflaechenleiste.h"

#include <QPushButton>
#include <QTest>
#include <memory>

#include "planner/Planerdaten.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Programmende.h"
#include "platform/Raster.h"
#include "startup/Dateizugriff.h"
#include "store/Konfigdaten.h"

namespace {
using namespace planer;

class SchaltflaechenTest : public PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    // The configuration is not read again while the window shows the month.
    SetSetting(39, 1);
  }
  frmVelkora& zeigen() {
    fensterLaden();
    fenster->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(fenster.get()));
    fenster->Form_Resize();
    return *fenster;
  }
  QStringList sichtbar() const {
    QStringList t;
    for (int i = 1; i <= 25; ++i)
      if (!fenster->cmdAuswahl[i]->isHidden()) t << fenster->cmdAuswahl[i]->text();
    return t;
  }
  // A table of 24 code buttons and the erase button; button 3 for administrators only.
  void vierundzwanzig() {
    Schaltflächen_leeren();
    for (int i = 1; i <= 25; ++i) {
      gSFTexte << (i == 25 ? QStringLiteral("Löschen") : QStringLiteral("Grund %1").arg(i));
      gSFKennbuchstaben << (i == 25 ? QStringLiteral(" ") : QString(QChar(u'A' + i - 1)));
      gSFTextfarben << 0;
      gSFHintergrundfarben << 0x010101 * i;
      gSFNurAdmins << (i == 3 ? 1 : 0);
      gSFVerbergen << 0;
    }
  }
};

TEST_F(SchaltflaechenTest, StandardschaltflaechenMitBeschriftungFarbenUndBreite) {
  gSFBreite = 0;
  frmVelkora& f = zeigen();
  EXPECT_EQ(sichtbar(),
            (QStringList{"Urlaub", "½ Urlaub", "Zeitausgleich", "Dienstreise", "Krank", "Sonstiges", "Löschen"}));
  EXPECT_EQ(f.cmdAuswahl[3]->palette().color(QPalette::Button), zuQColor(kZeitausgleich));
  EXPECT_EQ(f.letztesLayout().knopf.size(), 7u);
  EXPECT_GE(gSFBreite, kSchaltflächeSchmal) << "an automatic width was computed";
  EXPECT_LE(gSFBreite, kSchaltflächeBreit);
  EXPECT_EQ(f.cmdAuswahl[1]->width(), bildschirm::twipsZuPixel(gSFBreite));
  EXPECT_EQ(f.cmdBeenden->width(), bildschirm::twipsZuPixel(gSFBreite));
}

TEST_F(SchaltflaechenTest, AdministratorschaltflaecheVonVierundzwanzig) {
  vierundzwanzig();
  SetSetting(8, 1);
  gBenutzerstufe = 0;
  frmVelkora& f = zeigen();
  EXPECT_EQ(sichtbar().size(), 24) << "an employee does not see the administrators' button";
  EXPECT_TRUE(f.cmdAuswahl[3]->isHidden());
  EXPECT_FALSE(f.cmdAuswahl[25]->isHidden());
  EXPECT_EQ(f.letztesLayout().knopf.size(), 24u);

  gBenutzerstufe = 2;
  f.Form_Resize();
  EXPECT_EQ(sichtbar().size(), 25) << "an administrator sees it";
  EXPECT_FALSE(f.cmdAuswahl[3]->isHidden());
  EXPECT_EQ(f.cmdAuswahl[25]->text(), u"Löschen");

  // With position 8 at 0 employees see it too (and are refused on use).
  SetSetting(8, 0);
  gBenutzerstufe = 0;
  f.Form_Resize();
  EXPECT_EQ(sichtbar().size(), 25);
}

TEST_F(SchaltflaechenTest, RegelnDerLoeschschaltflaeche) {
  gBenutzerstufe = 0;
  SetSetting(10, 1);
  EXPECT_EQ(Sichtbare_Schaltflächen(), (std::vector<bool>{false, true, true, true, true, true, true, false}));
  SetSetting(10, 0);
  SetSetting(28, 1);
  EXPECT_FALSE(Sichtbare_Schaltflächen()[7]);
  gBenutzerstufe = 1;
  EXPECT_TRUE(Sichtbare_Schaltflächen()[7]) << "only employees lose it";
  // A table holding only the erase button shows no button at all.
  gSFTexte = {QString(), QStringLiteral("Löschen")};
  gSFNurAdmins = {0, 0};
  EXPECT_EQ(Sichtbare_Schaltflächen(), (std::vector<bool>{false, false}));
}

TEST_F(SchaltflaechenTest, AutomatischeBreiteAusDerBreitestenBeschriftung) {
  const std::pair<int, int> fälle[] = {{1500, 1800}, {1700, 1960}, {2200, 2370}, {0, 1800}, {2100, 2340}, {2131, 2370}};
  for (const auto& [text, breite] : fälle) EXPECT_EQ(Schaltflächenbreite_aus_Text(text), breite) << text;
}

TEST_F(SchaltflaechenTest, BreitenschritteBleibenImBereichUndWerdenFuerDenBenutzerGemerkt) {
  gSFBreite = 2310;
  frmVelkora& f = zeigen();
  int schritt = 120;
  f.Schaltflächenbreite_ändern(schritt);
  EXPECT_EQ(gSFBreite, 2370);
  EXPECT_EQ(gBenutzerwerte[36], 1);
  EXPECT_EQ(gBenutzerwerte[37], 2370);
  schritt = -1000;
  f.Schaltflächenbreite_ändern(schritt);
  EXPECT_EQ(gSFBreite, 1800);
  EXPECT_EQ(gBenutzerwerte[37], 1800);
  // The user's own width wins over the configured one at the next load.
  gBenutzerwerte[37] = 2000;
  Schaltflächenbreite_des_Benutzers();
  EXPECT_EQ(gSFBreite, 2000);
  gBenutzerwerte[37] = 2400;
  Schaltflächenbreite_des_Benutzers();
  EXPECT_EQ(gSFBreite, 2000) << "a width outside the range is ignored";
}

TEST_F(SchaltflaechenTest, NurLesenStartZeigtKeineSchaltflaechen) {
  gStartfehler = QStringLiteral("Fehler");
  zeigen();
  EXPECT_TRUE(sichtbar().isEmpty());
}

}  // namespace
