#include "widgets/Rasteransicht.h"

#include <gtest/gtest.h>

#include <QTest>

#include "platform/Bildschirm.h"

namespace {

// The view: clicking and dragging make the marking, the pointer sets the mouse cell.
class RasteransichtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bildschirm::setzeDpi(96);
    ansicht.resize(600, 300);
    Raster& r = ansicht.raster();
    r.setRows(10);
    r.setCols(6);
    r.setRowHeightMin(300);                              // 20 px
    for (int c = 0; c < 6; ++c) r.setColWidth(c, 1500);  // 100 px
    r.setRowHeight(2, 0);
    ansicht.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ansicht));
  }
  void TearDown() override { bildschirm::setzeDpi(0); }
  QPoint mitte(int r, int c) { return ansicht.zellenRechteck(r, c).center(); }
  Rasteransicht ansicht;
};

TEST_F(RasteransichtTest, KlickenUndZiehenMachenDieMarkierung) {
  std::vector<int> knöpfe;
  ansicht.beiMouseDown = [&](const Rasteransicht::Mausereignis& m) {
    knöpfe.push_back(m.knopf);
    // The grid has taken the click before the window hears of it.
    EXPECT_EQ(ansicht.raster().Row(), 3);
  };
  QWidget* vp = ansicht.viewport();
  QTest::mousePress(vp, Qt::LeftButton, {}, mitte(3, 2));
  QTest::mouseMove(vp, mitte(5, 4));
  QMouseEvent zug(QEvent::MouseMove, QPointF(mitte(5, 4)), vp->mapToGlobal(QPointF(mitte(5, 4))), Qt::NoButton,
                  Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(vp, &zug);
  QTest::mouseRelease(vp, Qt::LeftButton, {}, mitte(5, 4));
  const Raster& g = ansicht.raster();
  EXPECT_EQ(g.Row(), 3);
  EXPECT_EQ(g.Col(), 2);
  EXPECT_EQ(g.RowSel(), 5);
  EXPECT_EQ(g.ColSel(), 4);
  EXPECT_EQ(g.MouseRow(), 5);
  EXPECT_EQ(g.MouseCol(), 4);
  EXPECT_EQ(knöpfe, std::vector<int>{1});
}

TEST_F(RasteransichtTest, RechtsklickLaesstDieMarkierungUndMeldetUmschalttasten) {
  Rasteransicht::Mausereignis gesehen;
  ansicht.beiMouseDown = [&](const Rasteransicht::Mausereignis& m) { gesehen = m; };
  ansicht.raster().setRow(1);
  ansicht.raster().setCol(1);
  QTest::mouseClick(ansicht.viewport(), Qt::RightButton, Qt::ShiftModifier, mitte(4, 3));
  EXPECT_EQ(gesehen.knopf, 2);
  EXPECT_EQ(gesehen.umschalt, 1);
  EXPECT_EQ(ansicht.raster().Row(), 1);
  EXPECT_EQ(ansicht.raster().MouseRow(), 4);
  EXPECT_EQ(ansicht.raster().MouseCol(), 3);
}

TEST_F(RasteransichtTest, VerborgeneZeilenBrauchenKeinenPlatz) {
  EXPECT_TRUE(ansicht.zellenRechteck(2, 1).isEmpty());
  EXPECT_EQ(ansicht.zellenRechteck(3, 1).top(), ansicht.zellenRechteck(1, 1).bottom() + 1);
  EXPECT_EQ(ansicht.zelleBei(mitte(3, 1)), std::make_pair(3, 1));
}

TEST_F(RasteransichtTest, BildlaufHaeltDieFesteZeileAmPlatz) {
  ansicht.raster().setRows(40);
  ansicht.raster().setTopRow(5);
  EXPECT_EQ(ansicht.zellenRechteck(0, 1).top(), 0);
  EXPECT_EQ(ansicht.zellenRechteck(5, 1).top(), 20);
  EXPECT_TRUE(ansicht.zellenRechteck(4, 1).isEmpty());
}

}  // namespace
