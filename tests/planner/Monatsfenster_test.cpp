// The month window as its users see it: every day column inside the grid at every
// width, with and without the scroll bar; header texts whole in the header font; the
// group choice in front of the grid; the arrow keys after a click on a year tab; code
// buttons in their code's colours.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTest>

#include "planner/Hauptfensterlayout.h"
#include "planner/Monatsanzeige.h"
#include "planner/Planerdaten.h"
#include "planner/Schaltflaechenleiste.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "store/Anzeigeberechtigungen.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace planer;

class MonatsfensterTest : public PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    // The program's own font, as it sets it at the start.
    mSchrift = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  }
  void TearDown() override {
    PlanerFensterTest::TearDown();
    QApplication::setFont(mSchrift);
  }

  frmVelkora& zeigen() {
    frmVelkora& f = fensterLaden();
    f.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
    return f;
  }

  // Client area of this width (0: as small as the window goes) and 700 pixels high.
  void größe(frmVelkora& f, int breite) {
    const int menü = f.menuBar()->height();
    f.resize(breite == 0 ? 200 : breite, 700 + menü);
    QApplication::processEvents();
  }

  // 1,000 employees in groups of 49 under a heading each.
  void tausendMitarbeiter() {
    Mitarbeitertabelle_dimensionieren(1000);
    for (int i = 1; i <= 1000; ++i) {
      const bool überschrift = i % 50 == 1;
      gMitarbeiterNamen[i] =
          überschrift ? QStringLiteral("Gruppe %1").arg(i / 50 + 1) : QStringLiteral("Mitarbeiter Nummer %1").arg(i);
      gBenutzerIDs[i] = überschrift ? QString() : QStringLiteral("m%1").arg(i);
      gEintrittsdaten[i] = überschrift ? QString() : QStringLiteral("000000");
      gAustrittsdaten[i] = überschrift ? QString() : QStringLiteral("999999");
    }
  }

  // Column 31 lies wholly inside the grid's viewport, and the scroll bar is as expected.
  void prüfeTag31(frmVelkora& f, bool laufleiste, const std::string& fall) {
    Rasteransicht* a = f.msgFlexGrid;
    EXPECT_EQ(a->verticalScrollBar()->isVisible(), laufleiste) << fall;
    const QRect zelle = a->zellenRechteck(0, 31);
    ASSERT_FALSE(zelle.isEmpty()) << fall;
    EXPECT_LE(zelle.right(), a->viewport()->width() - 1) << fall << ": day 31 is clipped";
    const Raster& g = a->raster();
    EXPECT_GE(g.ColWidth(0), 600) << fall;
    // The strips above and below share the columns.
    EXPECT_EQ(f.msgFlexKaWo->raster().ColWidth(0), g.ColWidth(0)) << fall;
    EXPECT_EQ(f.msgFlexKaWo->raster().ColWidth(31), g.ColWidth(31)) << fall;
  }

  // Every header cell shows its weekday and day whole in the header font.
  void prüfeKopf(frmVelkora& f, const std::string& fall) {
    Rasteransicht* a = f.msgFlexGrid;
    const Raster& g = a->raster();
    for (int c = 1; c <= 31; ++c) {
      QString text = g.TextMatrix(0, c);
      text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
      const QStringList zeilen = text.split(u'\r');
      ASSERT_LE(zeilen.size(), 2) << fall;
      EXPECT_EQ(zeilen.join(u' '), Tageskopf(2026, 3, c, false)) << fall;
      const QRect fläche = Rasteransicht::textfläche(a->zellenRechteck(0, c));
      const QFontMetrics m(a->zellenschrift(0, c));
      for (const QString& z : zeilen)
        EXPECT_LE(m.horizontalAdvance(z), fläche.width())
            << fall << ": \"" << qPrintable(z) << "\" wider than its cell " << c;
      EXPECT_LE(zeilen.size() * m.lineSpacing(), fläche.height()) << fall << ": header row too low, cell " << c;
    }
  }

  // Saves a picture of the window into the test folder, and into VELKORA_BILDER when set.
  void bild(frmVelkora& f, const QString& name) {
    const QImage b = f.grab().toImage();
    ASSERT_FALSE(b.isNull());
    EXPECT_TRUE(b.save(ordner() + name));
    const QString ziel = qEnvironmentVariable("VELKORA_BILDER");
    if (!ziel.isEmpty()) b.save(QDir(ziel).filePath(name));
  }

  QFont mSchrift;
};

const int kBreiten[] = {0, 1000, 1069, 1070, 1120, 1200, 1400, 1590};

TEST_F(MonatsfensterTest, TagEinunddreissigUndJederKopfPassenInJedeBreite) {
  for (const bool viele : {false, true}) {
    if (viele) tausendMitarbeiter();
    frmVelkora& f = zeigen();
    for (const int breite : kBreiten) {
      größe(f, breite);
      const std::string fall = (viele ? "1000 employees, " : "7 employees, ") + std::to_string(breite) + " px";
      if (breite != 0) {
        ASSERT_EQ(f.centralWidget()->width(), breite) << fall;
      }
      prüfeTag31(f, viele, fall);
      prüfeKopf(f, fall);
    }
    fenster.reset();
  }
}

TEST_F(MonatsfensterTest, SpaltenFolgenDerBildlaufleisteWennZeilenKommenUndGehen) {
  frmVelkora& f = zeigen();
  größe(f, 1070);
  prüfeTag31(f, false, "few rows");
  // Another workstation adds employees: the scroll bar comes with the next display.
  tausendMitarbeiter();
  f.Daten_anzeigen(false);
  QApplication::processEvents();
  prüfeTag31(f, true, "many rows");
}

TEST_F(MonatsfensterTest, ZweizeiligerKopfWennEineZeileNichtPasst) {
  frmVelkora& f = zeigen();
  größe(f, 0);
  // At the smallest window a day column is far too narrow for "Mo 16".
  const Raster& g = f.msgFlexGrid->raster();
  EXPECT_TRUE(g.TextMatrix(0, 16).contains(u'\r'));
  EXPECT_FALSE(Einzeiliger_Tageskopf_passt(f.msgFlexGrid->font(), g.spaltenPixel(16)));
  // A column wide enough for it keeps the one-line form of the rule for columns up to 360 twips.
  EXPECT_TRUE(Einzeiliger_Tageskopf_passt(f.msgFlexGrid->font(), 200));
  EXPECT_GE(g.RowHeight(0), 540);
}

TEST_F(MonatsfensterTest, GruppenwahlStehtVorDerNamensspalteUndWechseltGruppen) {
  gAnzeigegruppen =
      QStringList{QString(), QStringLiteral("Alle Mitarbeiter|Verwaltung:Lager:"), QStringLiteral("Lager|Lager:")};
  frmVelkora& f = zeigen();
  for (const int breite : {0, 1400}) {
    größe(f, breite);
    QComboBox* k = f.cmbMitarbeitergruppen;
    ASSERT_TRUE(k->isVisible());
    // Nothing covers it: the widget under its middle is the combo box.
    QWidget* fläche = f.centralWidget();
    const QPoint mitte = k->geometry().center();
    QWidget* oben = fläche->childAt(mitte);
    EXPECT_TRUE(oben == k || k->isAncestorOf(oben)) << breite << ": the combo box is covered";
    // Over the name header: inside the grid's frame, left of the first day.
    const QRect name =
        f.msgFlexGrid->zellenRechteck(0, 0).translated(f.msgFlexGrid->viewport()->mapTo(fläche, QPoint()));
    EXPECT_TRUE(QRect(f.msgFlexGrid->geometry().topLeft(), name.bottomRight()).contains(k->geometry())) << breite;
    bild(f, QStringLiteral("Gruppenauswahl_%1.png").arg(breite));
  }
  // The user picks the second group with the keyboard.
  f.activateWindow();
  f.cmbMitarbeitergruppen->setFocus();
  QTest::keyClick(f.cmbMitarbeitergruppen, Qt::Key_Down);
  EXPECT_EQ(f.cmbMitarbeitergruppen->currentIndex(), 1);
  EXPECT_EQ(gAnzeigegruppe, 1);
  const Raster& g = f.msgFlexGrid->raster();
  ASSERT_EQ(g.Rows(), 4);
  EXPECT_EQ(g.TextMatrix(2, 0), u"Lager");
  QTest::keyClick(f.cmbMitarbeitergruppen, Qt::Key_Up);
  EXPECT_EQ(gAnzeigegruppe, 0);
  EXPECT_EQ(g.Rows(), 7);
}

TEST_F(MonatsfensterTest, PfeiltastenNachKlickAufEinenJahresreiterGehenMonatsweise) {
  frmVelkora& f = zeigen();
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  ASSERT_EQ(gMonatsschlüssel, u"2603");
  // The user has worked in the grid before.
  QTest::mouseClick(f.msgFlexGrid->viewport(), Qt::LeftButton, {}, f.msgFlexGrid->zellenRechteck(3, 5).center());
  ASSERT_EQ(QApplication::focusWidget(), f.msgFlexGrid);
  QTest::mouseClick(f.tabJahre, Qt::LeftButton, {}, f.tabJahre->tabRect(1).center());
  ASSERT_EQ(gMonatsschlüssel, u"2603");
  ASSERT_EQ(QApplication::focusWidget(), f.tabJahre);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
  EXPECT_EQ(gMonatsschlüssel, u"2604");
  EXPECT_EQ(f.tabMonate->currentIndex(), 3);
  // The month tabs have the focus now and go on month by month, round the year.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
  EXPECT_EQ(gMonatsschlüssel, u"2602");
  QTest::mouseClick(f.tabMonate, Qt::LeftButton, {}, f.tabMonate->tabRect(0).center());
  ASSERT_EQ(gMonatsschlüssel, u"2601");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
  EXPECT_EQ(gMonatsschlüssel, u"2612") << "from January to December of the same year";
}

TEST_F(MonatsfensterTest, KuerzelschaltflaechenZeigenIhreFarbenFlach) {
  frmVelkora& f = zeigen();
  größe(f, 1400);
  const struct {
    int knopf;
    qint32 farbe;
  } fälle[] = {{1, kUrlaub}, {3, kZeitausgleich}, {5, kKrank}, {6, kSonstiges}, {7, 0xFFFFFF}};
  for (const auto& fall : fälle) {
    QPushButton* b = f.cmdAuswahl[fall.knopf];
    ASSERT_TRUE(b->isVisible()) << fall.knopf;
    const QImage bild = b->grab().toImage();
    // Clear of the frame and of the caption: the face is the code's colour all over.
    for (const QPoint p : {QPoint(3, 3), QPoint(bild.width() - 4, 3), QPoint(3, bild.height() - 4),
                           QPoint(bild.width() - 4, bild.height() - 4), QPoint(bild.width() / 2, 3)})
      EXPECT_EQ(ausQColor(bild.pixelColor(p)), fall.farbe)
          << "button " << fall.knopf << " at " << p.x() << "," << p.y();
  }
  bild(f, QStringLiteral("Schaltflaechen.png"));
  // The caption in the code's text colour: red on "Krank", and black where the
  // text colour would vanish on the face ("Löschen", white on white).
  EXPECT_EQ(Schaltflächentextfarbe(kKrank, 0x0000FF), zuQColor(0x0000FF));
  EXPECT_EQ(Schaltflächentextfarbe(0xFFFFFF, 0xFFFFFF), QColor(Qt::black));
}

TEST_F(MonatsfensterTest, KalenderwochenleisteWirdWieDasRasterGezeichnet) {
  gBenutzerwerte[28] = 1;
  frmVelkora& f = zeigen();
  größe(f, 1070);
  ASSERT_TRUE(f.msgFlexKaWo->isVisible());
  const Raster& kw = f.msgFlexKaWo->raster();
  EXPECT_EQ(kw.GridColorFixed(), kFarbe[6]);
  EXPECT_EQ(kw.BackColorBkg(), kFarbe[1]);
  // Right of day 31 no dark block: the strip's own background there.
  const QRect tag31 = f.msgFlexKaWo->zellenRechteck(0, 31);
  ASSERT_FALSE(tag31.isEmpty());
  const QImage bild = f.msgFlexKaWo->viewport()->grab().toImage();
  ASSERT_LT(tag31.right() + 2, bild.width());
  EXPECT_EQ(ausQColor(bild.pixelColor(tag31.right() + 2, tag31.center().y())), kFarbe[1]);
}

// Pictures to look at: the smallest window and a full-HD one, empty and with 1,000
// employees, each checked for day 31.
TEST_F(MonatsfensterTest, BilderInKleinsterUndFullHdGroesse) {
  for (const bool viele : {false, true}) {
    if (viele)
      tausendMitarbeiter();
    else
      Mitarbeiter_setzen({{u"NoNames", u"", u"", u""}});
    gBenutzerwerte[28] = 1;
    frmVelkora& f = zeigen();
    for (const int breite : {0, 1920}) {
      if (breite == 0) {
        größe(f, 0);
      } else {
        f.resize(1920, 1080 - 60);
        QApplication::processEvents();
      }
      prüfeTag31(f, viele, std::to_string(breite));
      prüfeKopf(f, std::to_string(breite));
      bild(f, QStringLiteral("Monat_%1_%2.png")
                  .arg(breite == 0 ? QStringLiteral("klein") : QStringLiteral("1920"),
                       viele ? QStringLiteral("1000") : QStringLiteral("leer")));
    }
    fenster.reset();
  }
}

}  // namespace

namespace {
using namespace planer;

class TagessummenfensterTest : public MonatsfensterTest {};

// Day sums on: through months with different numbers of rows and at several window
// sizes, every employee row stays in view, the sums stand right below the last row and
// the grid shows no scroll bar for rows that all fit.
TEST_F(TagessummenfensterTest, JedeMitarbeiterzeileBleibtBeimMonatswechselSichtbar) {
  gBenutzerwerte[25] = 1;
  gTaSum[1] = QStringLiteral("1010100");
  // The fixture's employees (Carla from 20 March, Dieter until February) and one more
  // from April on.
  const int neu = static_cast<int>(gMitarbeiterNamen.size());
  Mitarbeitertabelle_dimensionieren(neu);
  gMitarbeiterNamen[neu] = QStringLiteral("Neu Emil");
  gBenutzerIDs[neu] = QStringLiteral("emil");
  gEintrittsdaten[neu] = QStringLiteral("260401");
  gAustrittsdaten[neu] = QStringLiteral("999999");
  frmVelkora& f = zeigen();
  QSet<int> zeilenzahlen;
  for (const QSize größe : {QSize(1400, 700), QSize(1070, 420), QSize(1590, 900), QSize(1200, 560), QSize(1590, 330)}) {
    f.resize(größe.width(), größe.height() + f.menuBar()->height());
    QApplication::processEvents();
    for (const int monat : {2, 3, 1, 2, 3, 2, 1, 0, 3}) {
      QTest::mouseClick(f.tabMonate, Qt::LeftButton, {}, f.tabMonate->tabRect(monat).center());
      QApplication::processEvents();
      const std::string fall =
          std::to_string(größe.width()) + "x" + std::to_string(größe.height()) + ", month " + std::to_string(monat + 1);
      Rasteransicht* a = f.msgFlexGrid;
      const Raster& g = a->raster();
      zeilenzahlen.insert(g.Rows());
      ASSERT_GT(g.Rows(), 1) << fall;
      EXPECT_FALSE(a->verticalScrollBar()->isVisible()) << fall << ": every row fits";
      for (int r = 1; r < g.Rows(); ++r) {
        const QRect zelle = a->zellenRechteck(r, 0);
        ASSERT_FALSE(zelle.isEmpty()) << fall << ": row " << r << " of " << g.Rows() - 1 << " is not shown";
        EXPECT_LE(zelle.bottom(), a->viewport()->height() - 1) << fall << ": row " << r << " is cut off";
      }
      // The sum rows right below the grid, with all three chosen rows inside the window.
      Rasteransicht* s = f.msgFlexTaSu;
      ASSERT_TRUE(s->isVisible()) << fall;
      EXPECT_EQ(s->geometry().top(), a->geometry().bottom() + 1) << fall;
      EXPECT_LE(s->geometry().bottom(), f.centralWidget()->height() - 1) << fall;
      for (const int r : {1, 3, 5}) {
        const QRect summe = s->zellenRechteck(r, 0);
        ASSERT_FALSE(summe.isEmpty()) << fall << ": sum row " << r;
        EXPECT_LE(summe.bottom(), s->viewport()->height() - 1) << fall << ": sum row " << r << " is cut off";
      }
    }
  }
  EXPECT_GE(zeilenzahlen.size(), 2u) << "the months differ in their rows";
}

}  // namespace
