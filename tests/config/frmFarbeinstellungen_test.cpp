// The colours dialog: the colour choice, "&Standard", what OK saves for each user level,
// and the preview's cell colours as the highlight modes paint them.
#include "config/frmFarbeinstellungen.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <tuple>

#include "common/Planerordner.h"
#include "platform/Bildschirm.h"
#include "startup/Dateizugriff.h"
#include "store/Konfigdaten.h"
#include "store/Stammdatenstand.h"
#include "widgets/Bildschirmstand.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace planer;

class FarbeinstellungenTest : public PlanerTest {
 protected:
  void SetUp() override {
    PlanerTest::SetUp();
    bildschirm::setzeDpi(96);
    gKonfigdatenZeit = Dateizeit(konfigpfad());
  }
  void TearDown() override {
    dialog.reset();
    bildschirm::setzeDpi(0);
    PlanerTest::TearDown();
  }
  static QString konfigpfad() { return gDatenordner + QStringLiteral("Konfigdaten.dat"); }
  frmFarbeinstellungen& öffnen(int hervorhebung = 0, bool überschrift = false) {
    dialog = std::make_unique<frmFarbeinstellungen>(nullptr, hervorhebung, überschrift);
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    return *dialog;
  }
  void klick(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  void ok() { klick(dialog->cmdAuswahl[1]); }
  QString logbuch() const {
    QString alles;
    for (const QString& f : QDir(gLogordner).entryList(QDir::Files))
      alles += dekodierteZeilen(gLogordner + f).join(u'\n');
    return alles;
  }
  QStringList grundfarbenzeilen() const {
    const QStringList z = dekodierteZeilen(konfigpfad());
    return z.mid(z.indexOf(QStringLiteral("[Grundfarben]")) + 1, 9);
  }

 public:
  // The preview, worked with the pointer (also from the cases' steps).
  Raster& raster() { return dialog->msgFlexGrid->raster(); }
  QWidget* vp() { return dialog->msgFlexGrid->viewport(); }
  QPoint punkt(int r, int c) { return dialog->msgFlexGrid->zellenRechteck(r, c).center(); }
  void bewegen(int r, int c) {
    const QPointF p(punkt(r, c));
    QMouseEvent e(QEvent::MouseMove, p, vp()->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp(), &e);
  }
  void verlassen() {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(dialog->msgFlexGrid, &e);
  }
  qint32 farbe(int r, int c) { return raster().CellBackColor(r, c).value_or(-1); }

  std::unique_ptr<frmFarbeinstellungen> dialog;
};

TEST_F(FarbeinstellungenTest, OKOhneAenderungSchreibtNichts) {
  gBenutzerstufe = 2;
  const QByteArray konfig = lesen(konfigpfad());
  auto& d = öffnen();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Velkora - Farbeinstellungen"));
  EXPECT_EQ(d.cmdFarbe[7]->text(), QStringLiteral("Aktueller Tag (&Kopf) ..."));
  gGrundfarben[9] = 0x123456;
  ok();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(lesen(konfigpfad()), konfig);
  EXPECT_FALSE(logbuch().contains(QStringLiteral("Farbeinstellungen geändert")));
  EXPECT_EQ(gGrundfarben[9], 0x123456);
  EXPECT_TRUE(skript->texte().empty());
}

// A changed colour goes into gGrundfarben and the erase button, colour 9 becomes the
// focus colour; privileged users and administrators write it for everyone.
TEST_F(FarbeinstellungenTest, EineAenderungGiltFuerDenBenutzerOderFuerAlle) {
  const QByteArray konfig = lesen(konfigpfad());
  for (int stufe : {0, 1, 2}) {
    SCOPED_TRACE(stufe);
    schreiben(konfigpfad(), konfig);
    Konfigdaten_lesen();
    QDir(gLogordner).removeRecursively();
    QDir().mkpath(gLogordner);
    gBenutzerstufe = stufe;
    gGrundfarben[9] = 0x123456;
    skript = &dialoge::skript();
    auto& d = öffnen();
    skript->antworte(dialoge::kOK, QStringLiteral("#102030"));
    klick(d.cmdFarbe[1]);
    ASSERT_EQ(skript->protokoll.size(), 1u);
    EXPECT_EQ(skript->protokoll[0].art, dialoge::Art::Farbe);
    EXPECT_EQ(skript->protokoll[0].vorgabe, QStringLiteral("#ffffff"));
    EXPECT_EQ(d.Farben[1], 0x302010);
    EXPECT_EQ(d.cmdFarbe[1]->palette().color(QPalette::Button), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(raster().BackColor(), 0x302010);
    ok();
    EXPECT_EQ(gGrundfarben[1], 0x302010);
    EXPECT_EQ(gSFHintergrundfarben.last(), 0x302010);
    EXPECT_EQ(gGrundfarben[9], frmFarbeinstellungen::kFokusfarbe);
    if (stufe == 0) {
      EXPECT_EQ(lesen(konfigpfad()), konfig);
      EXPECT_FALSE(logbuch().contains(QStringLiteral("Farbeinstellungen geändert")));
    } else {
      EXPECT_EQ(grundfarbenzeilen().value(0), QStringLiteral("&H302010"));
      EXPECT_EQ(grundfarbenzeilen().value(8), QStringLiteral("&HC0FFFF"));
      EXPECT_TRUE(dekodierteZeilen(konfigpfad()).contains(QStringLiteral("&HFFFFFF:&H302010:0: :Löschen")));
      EXPECT_TRUE(logbuch().contains(QStringLiteral("Farbeinstellungen geändert")));
      // The own write is no change by another workstation.
      EXPECT_TRUE(Stammdatenstand().unverändert(false, true));
    }
    EXPECT_EQ(skript->protokoll.size(), 1u) << "no message";
  }
}

TEST_F(FarbeinstellungenTest, AbgebrocheneFarbwahlUndAbbrechenAendernNichts) {
  gBenutzerstufe = 2;
  const QByteArray konfig = lesen(konfigpfad());
  auto& d = öffnen();
  skript->antworte(dialoge::kAbbrechen);
  klick(d.cmdFarbe[3]);
  EXPECT_EQ(d.Farben[3], kFarbe[3]);
  ok();
  EXPECT_EQ(lesen(konfigpfad()), konfig);

  auto& e = öffnen();
  skript->antworte(dialoge::kOK, QStringLiteral("#102030"));
  klick(e.cmdFarbe[3]);
  klick(e.cmdAuswahl[2]);
  EXPECT_EQ(gGrundfarben[3], kFarbe[3]);
  EXPECT_EQ(lesen(konfigpfad()), konfig);
}

TEST_F(FarbeinstellungenTest, StandardSetztDieAchtStandardfarben) {
  gBenutzerstufe = 2;
  auto& d = öffnen();
  klick(d.cmdStandard);
  for (int k = 1; k <= 8; ++k) EXPECT_EQ(d.Farben[k], frmFarbeinstellungen::kStandard[k]) << k;
  ok();
  EXPECT_EQ(grundfarbenzeilen(), (QStringList{"&HFFFFFF", "&HE8E8E8", "&HC0C0FF", "&HFFF8F4", "&HFFE8CE", "&HAFAFAF",
                                              "&HE8FFFF", "&HE8FFFF", "&HC0FFFF"}));
  EXPECT_TRUE(logbuch().contains(QStringLiteral("Farbeinstellungen geändert")));

  // The colours of a new data folder are the standard ones: nothing to save.
  const QByteArray konfig = lesen(konfigpfad());
  const QString log = logbuch();
  auto& e = öffnen();
  klick(e.cmdStandard);
  ok();
  EXPECT_EQ(lesen(konfigpfad()), konfig);
  EXPECT_EQ(logbuch(), log);
}

TEST_F(FarbeinstellungenTest, EineAnderswoGeschriebeneKonfigurationWirdNichtUeberschrieben) {
  gBenutzerstufe = 1;
  const QByteArray konfig = lesen(konfigpfad());
  gKonfigdatenZeit = gKonfigdatenZeit.addSecs(-60);
  auto& d = öffnen();
  klick(d.cmdStandard);
  ok();
  EXPECT_EQ(skript->texte(), std::vector<QString>{QString::fromUtf16(kStammdatenGeändert)});
  EXPECT_EQ(gGrundfarben[7], kFarbe[7]);
  EXPECT_EQ(gGrundfarben[9], kFarbe[9]);
  EXPECT_EQ(lesen(konfigpfad()), konfig);
}

TEST_F(FarbeinstellungenTest, VorschauOhneHervorhebung) {
  struct Fall {
    const char* name;
    bool überschrift;
    int position9;
    std::vector<std::tuple<int, int, int>> zellen;  // row, column, colour number (0 = fixed colour)
  };
  const Fall fälle[] = {
      {"headings 0",
       false,
       0,
       {{0, 0, 0},
        {0, 1, 0},
        {0, 2, 7},
        {1, 0, 5},
        {1, 1, 1},
        {1, 2, 8},
        {1, 4, 2},
        {1, 8, 3},
        {2, 0, 4},
        {2, 2, 8},
        {2, 3, 1},
        {2, 5, 2},
        {2, 8, 3},
        {10, 9, 1}}},
      {"headings 1", true, 0, {{1, 0, 5}, {1, 1, 5}, {1, 2, 5}, {1, 4, 5}, {1, 8, 5}, {4, 3, 5}, {2, 2, 8}, {3, 1, 1}}},
      {"position 9 set", false, 1, {{0, 2, 0}, {2, 2, 1}, {1, 2, 1}, {2, 4, 2}}},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.name);
    gSettings[8] = QChar(u'0' + f.position9);
    for (int modus : {0, 1, 2, 3}) {
      SCOPED_TRACE(modus);
      auto& d = öffnen(modus, f.überschrift);
      EXPECT_EQ(d.cmdFarbe[7]->text(),
                modus > 0 ? QStringLiteral("Aktueller Na&me/Tag ...") : QStringLiteral("Aktueller Tag (&Kopf) ..."));
      EXPECT_EQ(raster().BackColor(), kFarbe[1]);
      EXPECT_EQ(raster().GridColor(), kFarbe[6]);
      EXPECT_EQ(raster().GridColorFixed(), kFarbe[6]);
      for (const auto& [r, c, k] : f.zellen)
        EXPECT_EQ(farbe(r, c), k == 0 ? raster().BackColorFixed() : kFarbe[k]) << r << "," << c;
    }
  }
}

TEST_F(FarbeinstellungenTest, VorschauHervorhebungDerModi) {
  struct Fall {
    const char* name;
    int modus;
    bool überschrift;
    std::function<void(FarbeinstellungenTest&)> tun;
    std::vector<std::tuple<int, int, int>> zellen;  // row, column, colour number (0 = fixed colour)
  };
  const auto drücken = [](int r, int c) {
    return [r, c](FarbeinstellungenTest& t) {
      t.bewegen(r, c);
      QTest::mousePress(t.vp(), Qt::LeftButton, {}, t.punkt(r, c));
    };
  };
  const auto klicken = [](int r, int c) {
    return [r, c](FarbeinstellungenTest& t) {
      t.bewegen(r, c);
      QTest::mouseClick(t.vp(), Qt::LeftButton, {}, t.punkt(r, c));
    };
  };
  const auto über = [](int r, int c) { return [r, c](FarbeinstellungenTest& t) { t.bewegen(r, c); }; };
  const Fall fälle[] = {
      {"mode 1: press on a name",
       1,
       false,
       drücken(3, 0),
       {{3, 0, 7}, {3, 1, 8}, {3, 2, 8}, {3, 4, 2}, {3, 5, 2}, {3, 8, 3}, {3, 9, 8}, {2, 2, 8}, {0, 2, 7}, {0, 3, 0}}},
      {"mode 1: released", 1, false, klicken(3, 0), {{3, 0, 4}, {3, 1, 1}, {3, 9, 1}, {2, 2, 8}}},
      {"mode 1: press on a heading", 1, false, drücken(4, 0), {{4, 0, 5}, {4, 1, 1}}},
      {"mode 1: press on a day", 1, false, drücken(3, 3), {{3, 0, 4}, {3, 3, 1}}},
      {"mode 1: moving does not highlight", 1, false, über(3, 3), {{3, 0, 4}, {3, 1, 1}}},
      {"mode 2: moving over a day", 2, false, über(3, 3), {{3, 0, 7}, {3, 1, 8}, {3, 4, 2}, {0, 3, 0}, {2, 3, 1}}},
      {"mode 2: heading row, headings 1", 2, true, über(4, 3), {{4, 0, 7}, {4, 1, 5}, {4, 4, 5}}},
      {"mode 2: heading row, headings 0", 2, false, über(4, 3), {{4, 0, 7}, {4, 1, 8}, {4, 4, 2}}},
      {"mode 3: over Sa 4",
       3,
       false,
       über(3, 4),
       {{0, 4, 7},
        {1, 4, 8},
        {2, 4, 8},
        {4, 4, 8},
        {10, 4, 8},
        {3, 0, 7},
        {3, 1, 8},
        {3, 5, 2},
        {3, 8, 3},
        {3, 4, 8},
        {2, 5, 2},
        {2, 2, 1},
        {0, 2, 0}}},
      {"mode 3: over Sa 4, headings 1", 3, true, über(3, 4), {{1, 4, 5}, {4, 4, 5}, {2, 4, 8}, {0, 4, 7}}},
      {"mode 3: the pointer left the grid",
       3,
       false,
       [](FarbeinstellungenTest& t) {
         t.bewegen(3, 4);
         t.verlassen();
       },
       {{2, 2, 8}, {0, 2, 7}, {0, 4, 0}, {2, 4, 2}, {3, 0, 4}, {3, 1, 1}}},
      {"mode 3: back on the same cell",
       3,
       false,
       [](FarbeinstellungenTest& t) {
         t.bewegen(3, 4);
         t.verlassen();
         t.bewegen(3, 4);
       },
       {{0, 4, 7}, {3, 0, 7}, {2, 2, 1}}},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.name);
    gMauszelle = 0;
    öffnen(f.modus, f.überschrift);
    f.tun(*this);
    for (const auto& [r, c, k] : f.zellen)
      EXPECT_EQ(farbe(r, c), k == 0 ? raster().BackColorFixed() : kFarbe[k]) << r << "," << c;
  }
  // The pointer cell is the shared one.
  EXPECT_EQ(gMauszelle, 3 * 32 + 4);
}

TEST_F(FarbeinstellungenTest, PositionNeunLaesstDenHeutigenTagNieHervorheben) {
  gSettings[8] = u'1';
  for (int modus : {0, 1, 2, 3}) {
    SCOPED_TRACE(modus);
    gMauszelle = 0;
    öffnen(modus, false);
    bewegen(3, 4);
    EXPECT_EQ(farbe(2, 2), kFarbe[1]);
    EXPECT_EQ(farbe(0, 2), raster().BackColorFixed());
    verlassen();
    EXPECT_EQ(farbe(2, 2), kFarbe[1]);
    EXPECT_EQ(farbe(0, 2), raster().BackColorFixed());
  }
}

TEST_F(FarbeinstellungenTest, Bilder) {
  for (int dpi : {96, 144}) {
    bildschirm::setzeDpi(dpi);
    gSettings[8] = u'0';
    gMauszelle = 0;
    auto& d = öffnen(3, true);
    bewegen(6, 7);
    // Nothing is cut: every control lies inside the dialog, the preview shows every cell.
    for (QWidget* w : d.findChildren<QWidget*>()) {
      if (!w->isVisible()) continue;
      const QRect r(w->mapTo(&d, QPoint(0, 0)), w->size());
      EXPECT_TRUE(d.rect().contains(r)) << w->objectName().toStdString();
    }
    for (QPushButton* b : d.findChildren<QPushButton*>())
      EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
    const QRect letzte = d.msgFlexGrid->zellenRechteck(10, 9);
    EXPECT_FALSE(letzte.isEmpty());
    EXPECT_TRUE(d.msgFlexGrid->viewport()->rect().contains(letzte));
    const QImage bild = d.grab().toImage();
    ASSERT_FALSE(bild.isNull());
    const QString name = QStringLiteral("Farbeinstellungen_%1.png").arg(dpi);
    EXPECT_TRUE(bild.save(ordner() + name));
    const QString ziel = qEnvironmentVariable("VELKORA_BILDER");
    if (!ziel.isEmpty()) bild.save(QDir(ziel).filePath(name));
  }
}

}  // namespace
