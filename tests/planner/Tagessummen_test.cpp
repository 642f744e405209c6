#include "planner/Tagessummen.h"

#include "common/Testumgebung.h"
#include "platform/Bildschirm.h"
#include "store/Konfigdaten.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {

// Four code buttons and the erase button; employee rows 360 twips (24 pixels) high.
class TagessummenTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    bildschirm::setzeDpi(96);
    gSFTexte = {QString(), "Urlaub", "Krank", "Dienstreise", "Schule", "Löschen"};
    gSFTextfarben = {0, 0x11, 0x22, 0x33, 0x44, 0x55};
    gSFHintergrundfarben = {0, 0x100, 0x200, 0x300, 0x400, 0x500};
    for (int i = 1; i <= 9; ++i) gGrundfarben[i] = 0x100000 + i;
    gBenutzerwerte[25] = 1;
    monat.setRows(3);
    monat.setCols(33);
    monat.setRowHeightMin(360);
    summen.raster().setCols(32);
  }
  void TearDown() override {
    bildschirm::setzeDpi(0);
    VelkoraTest::TearDown();
  }
  std::vector<int> höhen() {
    std::vector<int> h;
    for (int r = 1; r < summen.raster().Rows(); ++r) h.push_back(summen.raster().RowHeight(r));
    return h;
  }

  Raster monat;
  Rasteransicht summen;
};

TEST_F(TagessummenTest, EineZeileJeGewaehltemKuerzelKuerzereAuswahlZeigtDenRest) {
  gTaSum[1] = QStringLiteral("10");
  Tagessummen_einrichten(summen, monat);
  const Raster& ts = summen.raster();
  EXPECT_FALSE(summen.isHidden());
  ASSERT_EQ(ts.Rows(), 5) << "the erase button has no row";
  EXPECT_EQ(höhen(), (std::vector<int>{360, 0, 360, 360}));
  EXPECT_EQ(ts.TextMatrix(3, 0), u"Dienstreise");
  EXPECT_EQ(ts.CellForeColor(3, 0), 0x33);
  EXPECT_EQ(ts.CellBackColor(3, 0), 0x300);
  EXPECT_EQ(ts.BackColor(), gGrundfarben[1]);
  EXPECT_EQ(ts.GridColor(), gGrundfarben[6]);
  EXPECT_EQ(summen.height(), 5 + 3 * 24);
}

TEST_F(TagessummenTest, AlleKuerzelAusLassenEinenFuenfPixelStreifenAbgeschaltetVerbirgtIhn) {
  gTaSum[1] = QStringLiteral("0000");
  Tagessummen_einrichten(summen, monat);
  EXPECT_FALSE(summen.isHidden());
  EXPECT_EQ(summen.height(), 5);
  gBenutzerwerte[25] = 0;
  Tagessummen_einrichten(summen, monat);
  EXPECT_TRUE(summen.isHidden());
}

TEST_F(TagessummenTest, MonatsrasterNurMitKopfBehaeltDieHoehen) {
  gTaSum[1] = QStringLiteral("1111");
  Tagessummen_einrichten(summen, monat);
  monat.setRows(1);
  monat.setRowHeightMin(600);
  Tagessummen_einrichten(summen, monat);
  EXPECT_EQ(höhen(), (std::vector<int>{360, 360, 360, 360}));
}

}  // namespace
