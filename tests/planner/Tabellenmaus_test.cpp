#include "planner/Tabellenmaus.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "Monatsraster.h"
#include "common/Testumgebung.h"
#include "planner/Aenderungspruefung.h"
#include "planner/Markierung.h"
#include "planner/Mausrad.h"
#include "planner/Monatsanzeige.h"
#include "planner/Programm.h"
#include "planner/Undo.h"
#include "planner/Zwischenablage.h"
#include "planner/frmKommentar.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Logbuch.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsstand.h"
#include "store/Velkoraini.h"
#include "views/frmJahresuebersicht.h"
#include "widgets/Rasteransicht.h"

namespace {

// April 2026: 30 days, the 1st a Wednesday; Good Friday the 3rd and Easter Monday the
// 6th are holidays, today is the 15th.
class TabellenmausTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    bildschirm::setzeDpi(96);
    gSettings = Standardeinstellungen();
    SetSetting(9, 0);
    SetSetting(44, 0);
    gWochenende = QStringLiteral("SaSo");
    gMonatsschlüssel = QStringLiteral("2604");
    gMonatsAusnahmen = QStringLiteral("NoEx:NoEx");
    gFeiertagsTabelle = QStringLiteral("260403|260406|");
    gHeute = QDate(2026, 4, 15);
    gHeuteText = QStringLiteral("260415");
    for (int i = 1; i <= 9; ++i) gGrundfarben[i] = 0x100000 + i;
    gBenutzerwerte[22] = 2;
    gBenutzerwerte[26] = 1;
    gBenutzerwerte[34] = 1;
    gBenutzerstufe = 2;
    gIstMitarbeiter = true;
    // The year overview a double click opens reaches the window through these.
    Ansichtshaken_verdrahten();
    Dialoghaken_verdrahten();

    fenster = std::make_unique<frmVelkora>();
    fenster->resize(1000, 600);
    fenster->show();
    QApplication::setActiveWindow(fenster.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    ansicht = fenster->msgFlexGrid;
    ansicht->setGeometry(0, 0, 900, 240);
    Raster& g = raster();
    g.setCols(33);
    g.setRowHeightMin(300);  // 20 px
    g.setColWidth(0, 1500);
    for (int c = 1; c <= 31; ++c) g.setColWidth(c, 300);
    g.setColWidth(32, 0);
    füllen(leute());
  }
  static std::vector<Person> leute() {
    return {{QStringLiteral("Vertrieb"), {}},
            {QStringLiteral("Anna"), QStringLiteral("Anna")},
            {QStringLiteral("Bernd"), QStringLiteral("bernd")},
            {QStringLiteral("Technik"), {}},
            {QStringLiteral("Clara"), QStringLiteral("clara")},
            {QStringLiteral("Dieter"), QStringLiteral("dieter")}};
  }
  void TearDown() override {
    fenster.reset();
    bildschirm::setzeDpi(0);
    VelkoraTest::TearDown();
  }

  Raster& raster() { return ansicht->raster(); }

  // Builds the month grid as the month display does and removes the marking.
  void füllen(const std::vector<Person>& leute) {
    Monatsraster_aufbauen(raster(), leute);
    Markierung_aufheben();
  }
  int zeileVon(const QString& name) {
    for (int r = 1; r < raster().Rows(); ++r)
      if (raster().TextMatrix(r, 0) == name) return r;
    return -1;
  }

  QWidget* vp() { return ansicht->viewport(); }
  QPoint punkt(int r, int c) { return ansicht->zellenRechteck(r, c).center(); }
  void bewegen(int r, int c, Qt::MouseButtons knöpfe = Qt::NoButton) {
    const QPointF p(punkt(r, c));
    QMouseEvent e(QEvent::MouseMove, p, vp()->mapToGlobal(p), Qt::NoButton, knöpfe, Qt::NoModifier);
    QApplication::sendEvent(vp(), &e);
  }
  void drücken(int r, int c, Qt::MouseButton knopf = Qt::LeftButton, Qt::KeyboardModifiers tasten = {}) {
    bewegen(r, c);
    QTest::mousePress(vp(), knopf, tasten, punkt(r, c));
  }
  void loslassen(int r, int c, Qt::MouseButton knopf = Qt::LeftButton) {
    QTest::mouseRelease(vp(), knopf, {}, punkt(r, c));
  }
  void klicken(int r, int c, Qt::MouseButton knopf = Qt::LeftButton, Qt::KeyboardModifiers tasten = {}) {
    drücken(r, c, knopf, tasten);
    QTest::mouseRelease(vp(), knopf, tasten, punkt(r, c));
  }
  void ziehen(std::pair<int, int> von, std::pair<int, int> nach) {
    drücken(von.first, von.second);
    bewegen(nach.first, nach.second, Qt::LeftButton);
    loslassen(nach.first, nach.second);
  }
  struct Markierungsstand {
    int row, col, rowSel, colSel, highLight;
    bool operator==(const Markierungsstand&) const = default;
  };
  Markierungsstand stand() {
    const Raster& g = raster();
    return {g.Row(), g.Col(), g.RowSel(), g.ColSel(), g.HighLight()};
  }
  // Lets each of the grid's commands leave a trace that tells which one the mouse
  // reached: code buttons (the erase button last) and entries in the cells the cases
  // comment on, past periods confirmed; the commands' prompts, the comment dialog and
  // the year overview (each closed at once, the main window's cell and Tag as they
  // were then) and the entry clipboard when a copy changed it.
  void befehleBeobachten() {
    gSFTexte = {QString(), QStringLiteral("Urlaub"), QStringLiteral("Löschen")};
    gSFKennbuchstaben = {QString(), QStringLiteral("U"), QStringLiteral(" ")};
    gSFTextfarben = {0, 0x11, 0x44};
    gSFHintergrundfarben = {0, 0x00FF00, 0xFFFFFF};
    gSFNurAdmins = {0, 0, 0};
    gSFVerbergen = {0, 0, 0};
    SetSetting(45, 1);
    // Nothing changed on disk: the commands' looks at the month reload nothing.
    Monatsstand_merken(gMonatsschlüssel);
    einträgeSetzen();
    mAblage = Zwischenablage();
    mWächter = std::make_unique<QTimer>();
    QObject::connect(mWächter.get(), &QTimer::timeout, [this] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        if (auto* d = dynamic_cast<frmKommentar*>(w)) {
          const Raster& g = raster();
          mAufrufe << QStringLiteral("Kommentar %1,%2-%3,%4%5")
                          .arg(g.Row())
                          .arg(g.Col())
                          .arg(g.RowSel())
                          .arg(g.ColSel())
                          .arg(g.Redraw() ? QString() : QStringLiteral(" ohne Neuzeichnen"));
          d->cmdAuswahl[2]->click();
        } else if (auto* j = dynamic_cast<frmJahresuebersicht*>(w)) {
          mAufrufe << QStringLiteral("Jahr ") + fenster->Tag;
          j->reject();
        }
      }
    });
    mWächter->start(5);
  }
  void einträgeSetzen() {
    for (const auto& [r, c] : {std::pair{2, 8}, std::pair{3, 9}}) {
      raster().setTextMatrix(r, c, QStringLiteral("U"));
      raster().setCellBackColor(r, c, 0x00FF00);
    }
  }
  QStringList aufrufe() {
    QStringList r = mAufrufe;
    for (size_t i = mGesehen; i < skript->protokoll.size(); ++i) r << skript->protokoll[i].text;
    if (Zwischenablage() != mAblage) r << QStringLiteral("Kopiert ") + Zwischenablage().join(u'|');
    return r;
  }
  void aufrufeLeeren() {
    Puffer_zurücksetzen();
    mAufrufe.clear();
    mGesehen = skript->protokoll.size();
    mAblage = Zwischenablage();
  }

  std::unique_ptr<frmVelkora> fenster;
  Rasteransicht* ansicht = nullptr;
  std::unique_ptr<QTimer> mWächter;
  QStringList mAufrufe;
  size_t mGesehen = 0;
  QStringList mAblage;
};

// --- Marking with the mouse ----------------------------------------------------------

TEST_F(TabellenmausTest, Markierungsfaelle) {
  struct Fall {
    const char* was;
    std::pair<int, int> von, nach;
    Markierungsstand erwartet;
  };
  const Fall fälle[] = {
      {"single cell", {2, 5}, {2, 5}, {2, 5, 2, 5, 1}},
      {"range in one row", {2, 3}, {2, 9}, {2, 3, 2, 9, 1}},
      {"range backwards", {3, 12}, {3, 7}, {3, 12, 3, 7, 1}},
      {"several rows", {2, 4}, {5, 6}, {2, 4, 5, 6, 1}},
      {"drag into the name column ends at day 1", {3, 7}, {3, 0}, {3, 7, 3, 1, 1}},
      {"drag up into the header stops at the first row", {3, 7}, {0, 9}, {3, 7, 1, 9, 1}},
      {"click on a name removes the marking", {2, 0}, {2, 0}, {0, 0, 0, 0, 0}},
      {"click on a day header removes the marking", {0, 4}, {0, 4}, {0, 0, 0, 0, 0}},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    klicken(4, 20);  // an earlier marking elsewhere
    ziehen(f.von, f.nach);
    EXPECT_EQ(stand(), f.erwartet);
    bewegen(6, 25);
    klicken(6, 0);
  }
}

TEST_F(TabellenmausTest, MehrereZeilenNurFuerPrivilegierteAusserDieEinstellungenVerbietenEs) {
  struct Fall {
    int stufe;
    int position44;
    QString meldung;
  };
  const QString nurAdmins =
      QStringLiteral("Die Markierung darf sich nur bei Administratoren über mehr als eine Zeile erstrecken");
  const QString nicht = QStringLiteral("Die Markierung darf sich nicht über mehr als eine Zeile erstrecken");
  const Fall fälle[] = {
      {0, 0, nurAdmins}, {0, 1, nurAdmins}, {1, 0, {}}, {1, 1, nicht}, {2, 0, {}}, {2, 1, nicht},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(testing::Message() << "level " << f.stufe << ", position 44 = " << f.position44);
    gBenutzerstufe = f.stufe;
    SetSetting(44, f.position44);
    ziehen({2, 3}, {5, 8});
    EXPECT_EQ(Mehrzeilige_Markierung_Meldung(), f.meldung);
    ziehen({2, 3}, {2, 8});
    EXPECT_EQ(Mehrzeilige_Markierung_Meldung(), QString()) << "one row is always allowed";
  }
}

// --- Buttons, Shift and Ctrl ---------------------------------------------------------

TEST_F(TabellenmausTest, MaustastenUndTastenErreichenIhreBefehle) {
  befehleBeobachten();
  const QString arbeitsfrei = QStringLiteral("Möchten Sie den 09.04.26 als arbeitsfreien Tag kennzeichnen?");
  const QString feiertag = QStringLiteral("Möchten Sie den 09.04.26 als Feiertag kennzeichnen?");
  const QString einfügen = QStringLiteral(
      "Einfügen nicht möglich, Zwischenablage ist leer. Markieren Sie einen Eintrag und kopieren Sie diesen mit "
      "STRG-Taste und rechtem Mausklick in die Zwischenablage.");
  struct Fall {
    const char* was;
    std::pair<int, int> zelle;
    Qt::MouseButton knopf;
    Qt::KeyboardModifiers tasten;
    QStringList erwartet;
    bool markiert = false;  // the cell is marked first
  };
  const Fall fälle[] = {
      {"right on a day header with Shift", {0, 9}, Qt::RightButton, Qt::ShiftModifier, {arbeitsfrei}},
      {"right on a day header with Ctrl", {0, 9}, Qt::RightButton, Qt::ControlModifier, {feiertag}},
      {"right on a day header alone", {0, 9}, Qt::RightButton, {}, {}},
      {"right on a day header with Shift and Ctrl",
       {0, 9},
       Qt::RightButton,
       Qt::ShiftModifier | Qt::ControlModifier,
       {}},
      {"right on a day with Shift pastes", {3, 9}, Qt::RightButton, Qt::ShiftModifier, {einfügen}},
      {"right on a day with Ctrl copies", {3, 9}, Qt::RightButton, Qt::ControlModifier, {"Kopiert 1"}, true},
      {"right on a day with Shift and Alt pastes",
       {3, 9},
       Qt::RightButton,
       Qt::ShiftModifier | Qt::AltModifier,
       {einfügen}},
      {"right on a day with Shift and Ctrl does nothing",
       {3, 9},
       Qt::RightButton,
       Qt::ShiftModifier | Qt::ControlModifier,
       {}},
      {"right on a day alone comments on that cell",
       {3, 9},
       Qt::RightButton,
       {},
       {"Kommentar 3,9-3,9 ohne Neuzeichnen"}},
      {"right on a name does nothing", {3, 0}, Qt::RightButton, Qt::ShiftModifier, {}},
      {"left with Shift reaches no command", {3, 9}, Qt::LeftButton, Qt::ShiftModifier, {}},
      {"left with Ctrl reaches no command", {3, 9}, Qt::LeftButton, Qt::ControlModifier, {}},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    if (f.markiert) ziehen(f.zelle, f.zelle);
    aufrufeLeeren();
    klicken(f.zelle.first, f.zelle.second, f.knopf, f.tasten);
    EXPECT_EQ(aufrufe(), f.erwartet) << aufrufe().join(u'|').toStdString();
    klicken(6, 0);
  }
}

TEST_F(TabellenmausTest, RechtsklickKommentiertDieMarkierungWennEineGezeigtIst) {
  befehleBeobachten();
  ziehen({2, 4}, {2, 10});
  klicken(5, 20, Qt::RightButton);
  EXPECT_EQ(aufrufe(), QStringList{"Kommentar 2,4-2,10 ohne Neuzeichnen"});
  EXPECT_TRUE(raster().Redraw());
  EXPECT_EQ(stand(), (Markierungsstand{2, 4, 2, 10, 1}));
}

TEST_F(TabellenmausTest, Doppelklickfaelle) {
  befehleBeobachten();
  gBenutzername = QStringLiteral("tester");
  // The non-working-day mark refused for a user without a row, its button number left
  // in the entry clipboard for a following paste.
  const QStringList arbeitsfrei{
      QStringLiteral("Sie sind mit Ihrem Windows-Benutzernamen 'tester' nicht als Mitarbeiter im Velkora "
                     "eingetragen.\r\rEinträge können nur von folgenden Administratoren vorgenommen werden: ") +
          ShowAdmins(true),
      QStringLiteral("Kopiert 3")};
  struct Fall {
    const char* was;
    std::pair<int, int> zelle;
    int stufe;
    bool istMitarbeiter;
    QStringList erwartet;
  };
  const Fall fälle[] = {
      {"a day cell", {3, 12}, 0, false, arbeitsfrei},
      {"an employee's name", {2, 0}, 2, true, {"Jahr Anna"}},
      {"an employee's name, employee with a row", {3, 0}, 0, true, {"Jahr bernd"}},
      {"an employee's name, employee without a row", {3, 0}, 0, false, {}},
      {"a heading's name", {1, 0}, 2, true, {}},
      {"a day header", {0, 5}, 2, true, {}},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    // The year overview shows the month anew when it closes: each case on the grid as
    // built here.
    füllen(leute());
    einträgeSetzen();
    aufrufeLeeren();
    gBenutzerstufe = f.stufe;
    gIstMitarbeiter = f.istMitarbeiter;
    bewegen(f.zelle.first, f.zelle.second);
    QTest::mouseDClick(vp(), Qt::LeftButton, {}, punkt(f.zelle.first, f.zelle.second));
    EXPECT_EQ(aufrufe(), f.erwartet) << aufrufe().join(u'|').toStdString();
  }
}

// --- Highlight -----------------------------------------------------------------------

TEST_F(TabellenmausTest, UeberfahrenHebtDieZeileHervorUndGibtIhreFarbenZurueck) {
  Raster& g = raster();
  g.setTextMatrix(3, 8, QStringLiteral("U"));
  g.setCellBackColor(3, 8, 0x00AA00);
  bewegen(3, 10);
  EXPECT_EQ(gMauszelle, 3 * 32 + 10);
  EXPECT_EQ(Highlight_Zelle(), 3 * 32 + 10);
  EXPECT_EQ(g.CellBackColor(3, 0), gGrundfarben[7]);
  EXPECT_EQ(g.CellBackColor(3, 10), gGrundfarben[8]) << "empty working day";
  EXPECT_EQ(g.CellBackColor(3, 4), gGrundfarben[2]) << "Saturday";
  EXPECT_EQ(g.CellBackColor(3, 6), gGrundfarben[3]) << "Easter Monday";
  EXPECT_EQ(g.CellBackColor(3, 31), gGrundfarben[8]) << "after the month's end";
  EXPECT_EQ(g.CellBackColor(3, 8), 0x00AA00) << "an entry keeps its button colour";
  EXPECT_EQ(g.CellBackColor(2, 10), gGrundfarben[1]);

  bewegen(5, 10);
  EXPECT_EQ(Highlight_Zelle(), 5 * 32 + 10);
  EXPECT_EQ(g.CellBackColor(3, 0), gGrundfarben[4]);
  EXPECT_EQ(g.CellBackColor(3, 10), gGrundfarben[1]);
  EXPECT_EQ(g.CellBackColor(3, 15), gGrundfarben[8]) << "today's column as the display paints it";
  EXPECT_EQ(g.CellBackColor(3, 4), gGrundfarben[2]);
  EXPECT_EQ(g.CellBackColor(3, 6), gGrundfarben[3]);
  EXPECT_EQ(g.CellBackColor(3, 31), gGrundfarben[1]);
  EXPECT_EQ(g.CellBackColor(3, 8), 0x00AA00);
  EXPECT_EQ(g.CellBackColor(5, 10), gGrundfarben[8]);

  // A heading row shows the heading colour in its days.
  bewegen(4, 10);
  EXPECT_EQ(g.CellBackColor(4, 10), gGrundfarben[5]);
  EXPECT_EQ(g.CellBackColor(4, 0), gGrundfarben[7]);
  bewegen(5, 10);
  EXPECT_EQ(g.CellBackColor(4, 0), gGrundfarben[5]);

  // Moving within the same cell repaints nothing.
  g.setCellBackColor(5, 11, 0x123456);
  bewegen(5, 10);
  EXPECT_EQ(g.CellBackColor(5, 11), 0x123456);

  // Leaving the grid removes the hover highlight.
  fenster->Tabellenfeld_MouseOut();
  EXPECT_EQ(Highlight_Zelle(), 0);
  EXPECT_EQ(gMauszelle, 0);
  EXPECT_EQ(g.CellBackColor(5, 0), gGrundfarben[4]);
}

TEST_F(TabellenmausTest, ModusDreiHebtAuchDieSpalteHervor) {
  gBenutzerwerte[22] = 3;
  gBenutzerwerte[25] = 1;
  Raster& ts = fenster->msgFlexTaSu->raster();
  ts.setRows(3);
  ts.setCols(32);
  gFerientage = QStringList{QString(), QStringLiteral("2604:") + QString(31, u'0')};
  gFerientage[1][4 + 15] = u'1';  // today is a school-holiday day
  gFerientage[1][4 + 16] = u'1';
  gFerienIndex = 1;
  Raster& g = raster();
  g.setCellBackColor(0, 15, gGrundfarben[7]);
  g.setCellBackColor(0, 16, gFerienfarbe);

  bewegen(2, 6);  // Easter Monday
  EXPECT_EQ(g.CellBackColor(0, 6), gGrundfarben[7]);
  EXPECT_EQ(g.CellBackColor(5, 6), gGrundfarben[8]);
  EXPECT_EQ(g.CellBackColor(4, 6), gGrundfarben[5]) << "heading row";
  EXPECT_EQ(ts.CellBackColor(2, 6), gGrundfarben[8]);
  bewegen(2, 16);
  EXPECT_EQ(g.CellBackColor(0, 6), std::nullopt) << "the header's own colour";
  EXPECT_EQ(g.CellBackColor(5, 6), gGrundfarben[3]);
  EXPECT_EQ(ts.CellBackColor(2, 6), gGrundfarben[3]);
  EXPECT_EQ(g.CellBackColor(0, 16), gGrundfarben[7]);
  bewegen(2, 15);
  EXPECT_EQ(g.CellBackColor(0, 16), gFerienfarbe) << "school holiday";
  EXPECT_EQ(g.CellBackColor(3, 16), gGrundfarben[1]) << "no today colour in the days in mode 3";
  bewegen(2, 20);
  EXPECT_EQ(g.CellBackColor(0, 15), gGrundfarben[7]) << "today's header, also on a school-holiday day";

  // The day after the month's end highlights the row only.
  bewegen(2, 31);
  EXPECT_EQ(Highlight_Zelle(), 2 * 32);
  EXPECT_EQ(g.CellBackColor(0, 31), std::nullopt);
  EXPECT_EQ(g.CellBackColor(5, 31), gGrundfarben[1]);
}

TEST_F(TabellenmausTest, MarkierungBleibtUndBehaeltDieHervorhebungAusserBeiGehaltenerLinkerTaste) {
  ziehen({2, 4}, {2, 9});
  ASSERT_EQ(stand(), (Markierungsstand{2, 4, 2, 9, 1}));
  const int vorher = Highlight_Zelle();
  bewegen(5, 12);
  EXPECT_EQ(Highlight_Zelle(), vorher) << "no button: the highlight stays with the marking";
  EXPECT_EQ(stand(), (Markierungsstand{2, 4, 2, 9, 1}));

  // Dragging moves the highlight and the marking grows with the pointer.
  drücken(3, 4);
  bewegen(3, 7, Qt::LeftButton);
  EXPECT_EQ(Highlight_Zelle(), 3 * 32 + 7);
  EXPECT_EQ(stand(), (Markierungsstand{3, 4, 3, 7, 1}));
  bewegen(5, 7, Qt::LeftButton);
  EXPECT_EQ(Highlight_Zelle(), 5 * 32 + 7);
  EXPECT_EQ(stand(), (Markierungsstand{3, 4, 5, 7, 1}));
  loslassen(5, 7);
  EXPECT_EQ(stand(), (Markierungsstand{3, 4, 5, 7, 1}));
}

TEST_F(TabellenmausTest, ModusEinsHebtDieMitarbeiterzeileHervorSolangeIhrNameGedruecktIst) {
  gBenutzerwerte[22] = 1;
  Raster& g = raster();
  bewegen(3, 10);
  EXPECT_EQ(Highlight_Zelle(), 0) << "no hover highlight in mode 1";
  drücken(3, 0);
  EXPECT_EQ(Highlight_Zelle(), 3 * 32);
  EXPECT_EQ(g.CellBackColor(3, 0), gGrundfarben[7]);
  EXPECT_EQ(stand(), (Markierungsstand{0, 0, 0, 0, 0}));
  loslassen(3, 0);
  EXPECT_EQ(Highlight_Zelle(), 0);
  EXPECT_EQ(g.CellBackColor(3, 0), gGrundfarben[4]);
  drücken(1, 0);
  EXPECT_EQ(Highlight_Zelle(), 0) << "a heading row";
  loslassen(1, 0);
}

TEST_F(TabellenmausTest, HervorhebungEntfernenNachGeschrumpftemRasterScheitertNicht) {
  bewegen(6, 10);
  ASSERT_EQ(Highlight_Zelle(), 6 * 32 + 10);
  füllen({{QStringLiteral("Anna"), QStringLiteral("anna")}});
  gErr = {};
  EXPECT_NO_THROW(Highlight_Off()) << "a run-time error there would end the program";
  EXPECT_EQ(gErr.nummer, 0);
  EXPECT_EQ(Highlight_Zelle(), 0);
}

TEST_F(TabellenmausTest, LeistenUndKopfHebenMarkierungUndHervorhebungAuf) {
  ziehen({2, 4}, {3, 9});
  QTest::mouseClick(fenster->msgFlexKaWo->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(stand(), (Markierungsstand{0, 0, 0, 0, 0}));
  EXPECT_EQ(Highlight_Zelle(), 0);
}

TEST_F(TabellenmausTest, ZeigerZeigtKommentareFeiertageUndSchulferien) {
  gFerientage = QStringList{QString(), QStringLiteral("2604:") + QString(31, u'0')};
  gFerientage[1][4 + 9] = u'1';
  gFerienIndex = 1;
  gKommentarMarken.dimensionieren(raster().Rows() - 1);
  gKommentarMarken.setzen(3, 8, QStringLiteral("Arzt"));
  // What the comment box shows, and the cell below which it stands.
  const auto gezeigt = [this]() -> QStringList {
    const QString text = fenster->lblKommentar->text();
    if (text.isEmpty()) return {};
    for (int r = 0; r < raster().Rows(); ++r)
      for (int c = 0; c <= 31; ++c) {
        const QRect z = ansicht->zellenRechteck(r, c);
        const QPoint unten =
            vp()->mapTo(fenster->picKommentar->parentWidget(), QPoint(z.left() + z.width() / 2, z.bottom() + 3));
        if (fenster->picKommentar->pos() == unten) return {QStringLiteral("%1 %2,%3").arg(text).arg(r).arg(c)};
      }
    return {text + QStringLiteral(" elsewhere")};
  };
  struct Fall {
    const char* was;
    std::pair<int, int> zelle;
    Qt::MouseButtons knöpfe;
    QStringList erwartet;
    bool kastenBleibt;
  };
  const Fall fälle[] = {
      {"a commented cell", {3, 8}, Qt::NoButton, {"Arzt 3,8"}, true},
      {"a commented cell while dragging", {3, 8}, Qt::LeftButton, {}, false},
      {"a cell without comment", {3, 9}, Qt::NoButton, {}, false},
      {"a holiday's header", {0, 3}, Qt::NoButton, {"Einmaliger Feiertag 03.04.26 0,3"}, true},
      {"a school holiday's header", {0, 9}, Qt::NoButton, {"Ferientag 0,9"}, true},
      {"a working day's header", {0, 10}, Qt::NoButton, {}, false},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    bewegen(6, 20);
    fenster->lblKommentar->clear();
    fenster->picKommentar->show();
    bewegen(f.zelle.first, f.zelle.second, f.knöpfe);
    EXPECT_EQ(gezeigt(), f.erwartet) << gezeigt().join(u'|').toStdString();
    EXPECT_EQ(fenster->picKommentar->isVisible(), f.kastenBleibt);
  }
}

TEST_F(TabellenmausTest, MausradZurueckUndAbfrageSchnellerWennDasFensterWiederVorneIst) {
  gBenutzerwerte[34] = 0;
  // A grid lower than its rows shows its scroll bar and takes the wheel.
  ansicht->setGeometry(0, 0, 900, 100);
  QApplication::processEvents();
  ASSERT_TRUE(ScrollbarIsVisible(*fenster, *ansicht));
  QStringList rad;
  const auto merken = [&] { rad << (Mausrad_Fenster() == ansicht ? QStringLiteral("ein") : QStringLiteral("aus")); };
  QWidget anderes;
  anderes.show();
  QApplication::setActiveWindow(&anderes);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&anderes));
  // Nothing changed on disk: the ticks only count.
  Monatsstand_merken(gMonatsschlüssel);
  fenster->änderungsprüfung().zustand = [] { return Tickzustand{}; };
  for (int i = 0; i < 5; ++i) fenster->änderungsprüfung().tmrTimer1_Timer();
  ASSERT_EQ(fenster->änderungsprüfung().zähler(), 5);
  bewegen(2, 5);
  merken();
  bewegen(2, 6);
  merken();
  EXPECT_EQ(rad, (QStringList{"aus", "aus"}));
  EXPECT_EQ(Highlight_Zelle(), 0) << "nothing is highlighted behind another window";
  QApplication::setActiveWindow(fenster.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
  bewegen(2, 7);
  merken();
  EXPECT_EQ(rad, (QStringList{"aus", "aus", "ein"}));
  EXPECT_EQ(fenster->änderungsprüfung().zähler(), 0);
  EXPECT_EQ(Highlight_Zelle(), 2 * 32 + 7);
  EXPECT_TRUE(fenster->msgFlexGrid->hasFocus());
}

// --- Scrolling -----------------------------------------------------------------------

class TabellenmausScrollTest : public TabellenmausTest {
 protected:
  void SetUp() override {
    TabellenmausTest::SetUp();
    std::vector<Person> leute;
    for (int i = 1; i <= 40; ++i) leute.push_back({QStringLiteral("P%1").arg(i), QStringLiteral("p%1").arg(i)});
    füllen(leute);
  }
};

TEST_F(TabellenmausScrollTest, MarkierteZeileAusDerSichtGerolltEntferntDieMarkierung) {
  ziehen({2, 4}, {2, 9});
  raster().setTopRow(2);
  EXPECT_EQ(stand().row, 2) << "still shown";
  raster().setTopRow(10);
  EXPECT_EQ(stand(), (Markierungsstand{0, 0, 0, 0, 0}));
}

TEST_F(TabellenmausScrollTest, ZiehenUeberDenUnterrandBehaeltDieEntstehendeMarkierung) {
  drücken(1, 4);
  const QPointF unten(punkt(1, 6).x(), vp()->height() + 5);
  for (int i = 0; i < 15; ++i) {
    QMouseEvent e(QEvent::MouseMove, unten, vp()->mapToGlobal(unten), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp(), &e);
  }
  ASSERT_GT(raster().TopRow(), 1) << "the grid scrolled under the drag";
  QTest::mouseRelease(vp(), Qt::LeftButton, {}, unten.toPoint());
  EXPECT_EQ(stand().row, 1);
  EXPECT_EQ(stand().col, 4);
  EXPECT_GT(stand().rowSel, 10);
  EXPECT_EQ(stand().highLight, 1);
}

// --- Saving and restoring across a reload --------------------------------------------

TEST_F(TabellenmausTest, WiederhergestellteMarkierungFolgtIhremMitarbeiterNachEingefuegterZeileDarueber) {
  ziehen({3, 4}, {3, 8});
  ASSERT_EQ(raster().TextMatrix(3, 0), u"Bernd");
  Markierung_beibehalten([&] {
    füllen({{QStringLiteral("Vertrieb"), {}},
            {QStringLiteral("Aaron"), QStringLiteral("aaron")},
            {QStringLiteral("Anna"), QStringLiteral("Anna")},
            {QStringLiteral("Bernd"), QStringLiteral("BERND")},
            {QStringLiteral("Technik"), {}},
            {QStringLiteral("Clara"), QStringLiteral("clara")}});
  });
  EXPECT_EQ(stand(), (Markierungsstand{4, 4, 4, 8, 1}));
  EXPECT_EQ(raster().TextMatrix(raster().Row(), 0), u"Bernd");
}

TEST_F(TabellenmausTest, WiederhergestellteMarkierungEntfaelltWennIhrMitarbeiterWegIst) {
  ziehen({3, 4}, {3, 8});
  Markierung_beibehalten([&] {
    füllen({{QStringLiteral("Vertrieb"), {}},
            {QStringLiteral("Anna"), QStringLiteral("anna")},
            {QStringLiteral("Technik"), {}},
            {QStringLiteral("Clara"), QStringLiteral("clara")}});
  });
  EXPECT_EQ(stand(), (Markierungsstand{0, 0, 0, 0, 0})) << "never moved to another person";
}

TEST_F(TabellenmausTest, WiederhergestellteMarkierungUeberMehrereZeilenBrauchtSieZusammen) {
  ziehen({2, 4}, {3, 8});
  Markierung_merken();
  füllen({{QStringLiteral("Neu"), QStringLiteral("neu")},
          {QStringLiteral("Vertrieb"), {}},
          {QStringLiteral("Anna"), QStringLiteral("anna")},
          {QStringLiteral("Bernd"), QStringLiteral("bernd")}});
  EXPECT_TRUE(Markierung_wiederherstellen());
  EXPECT_EQ(stand().row, 3);
  EXPECT_EQ(stand().rowSel, 4);
  EXPECT_EQ(stand().col, 4);
  EXPECT_EQ(stand().colSel, 8);

  Markierung_merken();
  füllen({{QStringLiteral("Anna"), QStringLiteral("anna")},
          {QStringLiteral("Zoe"), QStringLiteral("zoe")},
          {QStringLiteral("Bernd"), QStringLiteral("bernd")}});
  EXPECT_FALSE(Markierung_wiederherstellen()) << "someone now stands between them";
  EXPECT_EQ(stand(), (Markierungsstand{0, 0, 0, 0, 0}));
}

TEST_F(TabellenmausTest, GemerkteMarkierungWirdNormalisiertUndKeineBleibtKeine) {
  ziehen({5, 12}, {2, 3});
  Markierung_merken();
  const Gemerkte_Markierung& m = gemerkteMarkierung();
  EXPECT_EQ(m.links, 3);
  EXPECT_EQ(m.rechts, 12);
  EXPECT_EQ(m.oben, 2);
  EXPECT_EQ(m.unten, 5);
  Markierung_aufheben();
  EXPECT_TRUE(Markierung_wiederherstellen());
  EXPECT_EQ(stand().row, 2);
  EXPECT_EQ(stand().col, 3);
  EXPECT_EQ(stand().rowSel, 5);
  EXPECT_EQ(stand().colSel, 12);

  Markierung_aufheben();
  Markierung_merken();
  Markierung_beibehalten([] {});
  EXPECT_EQ(stand(), (Markierungsstand{0, 0, 0, 0, 0}));
}

TEST_F(TabellenmausTest, UeberfahrHervorhebungLaesstGemerkteMarkierungInRuhe) {
  ziehen({2, 4}, {2, 9});
  Markierung_merken();
  gemerkteMarkierung().links = 5;  // narrowed by the caller
  Highlight_On(5, 12);
  EXPECT_EQ(stand(), (Markierungsstand{2, 4, 2, 9, 1})) << "the shown marking is kept";
  EXPECT_EQ(gemerkteMarkierung().links, 5);
  EXPECT_EQ(gemerkteMarkierung().rechts, 9);
  EXPECT_EQ(gemerkteMarkierung().oben, 2);
}

TEST_F(TabellenmausTest, MarkierungEntfernenLaesstNeuzeichnenAusSolangeZeilenGepuffertSind) {
  ziehen({2, 4}, {2, 9});
  gLogbuchPuffern = true;
  Markierung_aufheben();
  EXPECT_FALSE(raster().Redraw());
  gLogbuchPuffern = false;
  Markierung_aufheben();
  EXPECT_TRUE(raster().Redraw());
}

}  // namespace
