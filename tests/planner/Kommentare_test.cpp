#include "planner/Kommentare.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "common/Modaldialog.h"
#include "planner/Eingabe.h"
#include "planner/Markierung.h"
#include "planner/Monatsanzeige.h"
#include "planner/Planerdaten.h"
#include "planner/frmKommentar.h"
#include "platform/Bildschirm.h"
#include "startup/Logbuch.h"
#include "store/Feiertage.h"
#include "store/Monatsdatei.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace planer;

const QString kHeute = QStringLiteral("2603 260312 Data.dat");

// March 2026: the 23rd is a Monday, the 27th a Friday, the 28th a Saturday; the
// user "tester" is Schulz Bernd (row 4), an employee writing in the own row.
class KommentarTest : public PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    gDatumstrennzeichen = QStringLiteral(".");
    gDatumsreihenfolge = 1;
    monatSchreiben(
        QStringLiteral("2603 260311 Data.dat"),
        {QStringLiteral("A:anna:") + Codes({{2, '1'}, {3, '3'}}),
         QStringLiteral("A:tester:") + Codes({{23, '1'}, {27, '3'}, {30, '1'}}), QStringLiteral("K:tester:30-30:Alt")});
    fensterLaden();
    fenster->resize(1100, 700);
    fenster->show();
    QApplication::setActiveWindow(fenster.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    ASSERT_EQ(g().TextMatrix(4, 32), u"tester");
  }
  Raster& g() { return fenster->msgFlexGrid->raster(); }
  QWidget* vp() { return fenster->msgFlexGrid->viewport(); }
  QPoint punkt(int r, int c) { return fenster->msgFlexGrid->zellenRechteck(r, c).center(); }
  void bewegen(int r, int c) {
    const QPointF p(punkt(r, c));
    QMouseEvent e(QEvent::MouseMove, p, vp()->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp(), &e);
  }
  void markieren(int zeile, int von, int bis, int zeileBis = -1) {
    g().setCol(von);
    g().setRow(zeile);
    g().setColSel(bis);
    g().setRowSel(zeileBis < 0 ? zeile : zeileBis);
    g().setHighLight(1);
  }
  void rechtsklick(int r, int c) {
    bewegen(r, c);
    QTest::mouseClick(vp(), Qt::RightButton, {}, punkt(r, c));
  }
  // Answers the comment dialog: the text typed (nothing typed when empty) and OK or
  // cancel; records what the dialog showed.
  void antworten(const QString& text, bool ok = true, bool tippen = true) {
    gezeigt = false;
    beimDialog<frmKommentar>([this, text, ok, tippen](frmKommentar& d) {
      gezeigt = true;
      beschriftung = d.lblBeschriftung->text();
      vorgabe = d.txtKommentar->text();
      titel = d.windowTitle();
      if (tippen) d.txtKommentar->setText(text);
      d.cmdAuswahl[ok ? 1 : 2]->click();
    });
  }
  QStringList heute() { return dekodierteZeilen(gDatenordner + kHeute); }
  QStringList logbuch() {
    const QString pfad = gLogordner + QStringLiteral("2603 Velkora.log");
    return QFile::exists(pfad) ? dekodierteZeilen(pfad) : QStringList();
  }

  bool gezeigt = false;
  QString beschriftung, vorgabe, titel;
};

TEST_F(KommentarTest, FuenfTageMitEintraegenAmErstenUndLetztenBekommenEineZeileUndZweiFetteZellen) {
  markieren(4, 23, 27);
  antworten(QStringLiteral("  Seminar in Köln  "));
  rechtsklick(4, 25);
  ASSERT_TRUE(gezeigt);
  EXPECT_EQ(titel, u"Velkora - Kommentar");
  EXPECT_EQ(beschriftung, u"Schulz Bernd\n\nKommentar für den 23. - 27.03.26");
  EXPECT_EQ(vorgabe, QString());

  EXPECT_EQ(heute().last(), u"K:tester:23-27:Seminar in Köln") << "trimmed on OK";
  for (int d = 22; d <= 28; ++d) {
    const bool eintrag = d == 23 || d == 27;
    EXPECT_EQ(g().CellFontBold(4, d), eintrag) << d;
    EXPECT_EQ(gKommentarMarken.text(4, d), eintrag ? QStringLiteral("Seminar in Köln") : QString()) << d;
  }
  ASSERT_FALSE(logbuch().isEmpty());
  EXPECT_TRUE(logbuch().last().endsWith(u"|tester|tester|Kommentar|230326|270326|Seminar in Köln"))
      << logbuch().last().toStdString();
  EXPECT_EQ(g().HighLight(), 0) << "the marking is cleared";

  // The text shows when the pointer rests on an entry cell, and not on the plain ones.
  QApplication::setActiveWindow(fenster.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
  bewegen(4, 24);
  EXPECT_FALSE(fenster->picKommentar->isVisible());
  bewegen(4, 27);
  EXPECT_TRUE(QTest::qWaitFor([&] { return fenster->picKommentar->isVisible(); }, 3000));
  EXPECT_EQ(fenster->lblKommentar->text(), u"Seminar in Köln");
  const QRect box = fenster->picKommentar->geometry();
  EXPECT_TRUE(fenster->msgFlexGrid->geometry().contains(box)) << "inside the grid's area";
  bewegen(4, 26);
  EXPECT_FALSE(fenster->picKommentar->isVisible());
}

TEST_F(KommentarTest, VonAnderemArbeitsplatzBeiOffenemDialogGeaenderterMonatBekommtDenKommentar) {
  markieren(4, 23, 27);
  gezeigt = false;
  beimDialog<frmKommentar>([this](frmKommentar& d) {
    gezeigt = true;
    // Meanwhile another workstation enters day 25 for the same employee.
    monatSchreiben(kHeute, {QStringLiteral("A:tester:") + Codes({{23, '1'}, {25, '4'}, {27, '3'}, {30, '1'}})});
    d.txtKommentar->setText(QStringLiteral("Seminar"));
    d.cmdAuswahl[1]->click();
  });
  rechtsklick(4, 25);
  ASSERT_TRUE(gezeigt);
  EXPECT_EQ(heute(),
            (QStringList{"[2603]", "Velkora:0123456789AB", "NoEx:NoEx",
                         "A:tester:" + Codes({{23, '1'}, {25, '4'}, {27, '3'}, {30, '1'}}), "K:tester:23-27:Seminar"}))
      << "appended to the month as the other workstation left it";
  EXPECT_EQ(g().TextMatrix(4, 25), u"D");
  for (int d : {23, 25, 27}) EXPECT_TRUE(g().CellFontBold(4, d)) << d;
  EXPECT_FALSE(g().CellFontBold(4, 24));
}

TEST_F(KommentarTest, NichtSpeicherbarerKommentarLaesstDasRasterWieEsWar) {
  // Another workstation holds the month: the comment line cannot be saved.
  schreiben(Monatssperre_Datei(gMonatsschlüssel), "andererPC|4711|x");
  markieren(4, 30, 30);
  antworten(QStringLiteral("Neu"));
  rechtsklick(4, 30);
  ASSERT_TRUE(gezeigt);
  EXPECT_EQ(gKommentarMarken.text(4, 30), u"Alt");
  EXPECT_TRUE(g().CellFontBold(4, 30));
  EXPECT_TRUE(logbuch().isEmpty()) << "no logbook line for a comment not stored";
}

TEST_F(KommentarTest, WeiterbewegterZeigerVorDerRuhezeitZeigtKeinFeld) {
  gKommentarMarken.setzen(4, 23, QStringLiteral("Kurz"));
  bewegen(4, 23);
  bewegen(4, 24);
  QTest::qWait(600);
  EXPECT_FALSE(fenster->picKommentar->isVisible());
}

TEST_F(KommentarTest, UnveraenderterTextOderAbbrechenSchreibtNichts) {
  const struct {
    QString text;
    bool ok;
    bool tippen;
  } fälle[] = {{{}, true, false}, {QStringLiteral("Neu"), false, true}, {QStringLiteral(" Alt "), true, true}};
  for (const auto& fall : fälle) {
    markieren(4, 30, 30);
    antworten(fall.text, fall.ok, fall.tippen);
    rechtsklick(4, 30);
    ASSERT_TRUE(gezeigt);
    EXPECT_EQ(vorgabe, u"Alt");
    EXPECT_EQ(beschriftung, u"Schulz Bernd\n\nKommentar für den 30.03.26");
    EXPECT_FALSE(QFile::exists(gDatenordner + kHeute)) << fall.text.toStdString();
    EXPECT_TRUE(logbuch().isEmpty());
    EXPECT_EQ(gKommentarMarken.text(4, 30), u"Alt");
  }
}

TEST_F(KommentarTest, LeereAntwortLoeschtDenKommentarUndProtokolliertEs) {
  markieren(4, 30, 30);
  antworten(QString());
  rechtsklick(4, 30);
  ASSERT_TRUE(gezeigt);
  EXPECT_EQ(heute().last(), u"K:tester:30-30:");
  EXPECT_TRUE(logbuch().last().endsWith(u"|tester|Kommentar|300326|300326|Kommentar gelöscht"));
  EXPECT_FALSE(g().CellFontBold(4, 30));
  EXPECT_TRUE(gKommentarMarken.text(4, 30).isEmpty());
}

TEST_F(KommentarTest, ZweiVerschiedeneKommentareInDerMarkierungWerdenAbgelehnt) {
  gKommentarMarken.setzen(4, 23, QStringLiteral("Eins"));
  gKommentarMarken.setzen(4, 27, QStringLiteral("Zwei"));
  markieren(4, 22, 28);
  rechtsklick(4, 24);
  EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral(
                                 "Für diesen Zeitraum sind bereits mehrere unterschiedliche Kommentare vorhanden. Sie "
                                 "müssen diese Kommentare einzeln bearbeiten.")});
  EXPECT_EQ(offeneDialoge<frmKommentar>(), 0);
  EXPECT_FALSE(QFile::exists(gDatenordner + kHeute));
}

TEST_F(KommentarTest, MarkierungUeberZweiZeilenWirdMitDemTextDerStufeAbgelehnt) {
  const struct {
    int stufe;
    int pos44;
    const char16_t* text;
  } fälle[] = {
      {0, 0, u"Die Markierung darf sich nicht über mehr als eine Zeile erstrecken"},
      {2, 0, u"Die Markierung darf sich bei Kommentaren nicht über mehr als eine Zeile erstrecken"},
      {1, 1, u"Die Markierung darf sich nicht über mehr als eine Zeile erstrecken"},
  };
  for (const auto& fall : fälle) {
    gBenutzerstufe = fall.stufe;
    SetSetting(44, fall.pos44);
    skript->protokoll.clear();
    markieren(3, 23, 24, 4);
    Kommentar_hinzufügen();
    EXPECT_EQ(skript->texte(), std::vector<QString>{QString::fromUtf16(fall.text)});
  }
}

TEST_F(KommentarTest, RechtsklickOhneMarkierungKommentiertDieZelleUnterDemZeiger) {
  Markierung_aufheben();
  antworten(QStringLiteral("Arzt"));
  rechtsklick(4, 23);
  ASSERT_TRUE(gezeigt);
  EXPECT_EQ(beschriftung, u"Schulz Bernd\n\nKommentar für den 23.03.26");
  EXPECT_EQ(heute().last(), u"K:tester:23-23:Arzt");
  EXPECT_TRUE(g().CellFontBold(4, 23));
}

TEST_F(KommentarTest, AnderesDatumstrennzeichenAlsPunktNenntBeideDatenVoll) {
  gDatumstrennzeichen = QStringLiteral("/");
  EXPECT_EQ(Kommentar_Zeitraum(QStringLiteral("2603"), 23, 27), u"23/03/26 - 27/03/26");
  gDatumstrennzeichen = QStringLiteral(".");
  EXPECT_EQ(Kommentar_Zeitraum(QStringLiteral("2603"), 5, 5), u"05.03.26");
}

TEST_F(KommentarTest, FeiertagstexteUeberDemTageskopf) {
  gFeiertagsdaten = {QString(), QStringLiteral("260319:Josefstag"), QStringLiteral("260320"),
                     QStringLiteral("260324:")};
  EXPECT_EQ(Feiertag_Text(19), u"Josefstag");
  EXPECT_EQ(Feiertag_Text(20), u"Jährlich wiederkehrender Feiertag");
  EXPECT_EQ(Feiertag_Text(24), u"Jährlich wiederkehrender Feiertag");
  EXPECT_EQ(Feiertag_Text(25), u"Einmaliger Feiertag 25.03.26");

  // Over the header of the holiday (the 19th of the fixture) and of a school-holiday day.
  bewegen(0, 19);
  EXPECT_TRUE(QTest::qWaitFor([&] { return fenster->picKommentar->isVisible(); }, 3000));
  EXPECT_EQ(fenster->lblKommentar->text(), u"Josefstag");
  bewegen(0, 30);
  EXPECT_TRUE(fenster->picKommentar->isVisible()) << "moving from one text to the next keeps the box";
  EXPECT_EQ(fenster->lblKommentar->text(), u"Ferientag");
  bewegen(0, 18);
  EXPECT_FALSE(fenster->picKommentar->isVisible());
}

// --- The dialog as the input box of other windows -----------------------------------

class EingabefeldTest : public VelkoraTest {};

TEST_F(EingabefeldTest, BeschriftungLeereVorgabeUndTitelDannAbbrechen) {
  QString gesehen, text, caption;
  beimDialog<frmKommentar>([&](frmKommentar& d) {
    gesehen = d.lblBeschriftung->text();
    text = d.txtKommentar->text();
    caption = d.windowTitle();
    d.txtKommentar->setText(QStringLiteral("etwas"));
    d.cmdAuswahl[2]->click();
  });
  EXPECT_EQ(Eingabefeld(QStringLiteral("Name der Anzeigegruppe"), QString(), QStringLiteral("Anzeigegruppen")),
            QString());
  EXPECT_EQ(gesehen, u"Name der Anzeigegruppe");
  EXPECT_EQ(text, QString());
  EXPECT_EQ(caption, u"Velkora - Anzeigegruppen");

  beimDialog<frmKommentar>([&](frmKommentar& d) {
    text = d.txtKommentar->text();
    caption = d.windowTitle();
    d.txtKommentar->setText(QStringLiteral("Vertrieb Süd"));
    QTest::keyClick(d.txtKommentar, Qt::Key_Return);
  });
  EXPECT_EQ(Eingabefeld(QStringLiteral("Name"), QStringLiteral("Vertrieb")), u"Vertrieb Süd") << "Enter acts as OK";
  EXPECT_EQ(text, u"Vertrieb") << "the preset alone";
  EXPECT_EQ(caption, u"Velkora - Kommentar");
}

TEST_F(EingabefeldTest, VerboteneZeichenWerdenAbgelehntUndDerDialogBleibt) {
  const struct {
    QString text;
    bool zulässig;
  } fälle[] = {
      {QStringLiteral("Termin: 10 Uhr"), false}, {QStringLiteral("a|b"), false},
      {QStringLiteral("[Notiz"), false},         {QStringLiteral("Notiz [intern]"), true},
      {QStringLiteral("Kosten 5 €"), true},      {QString::fromUtf16(u"Reise nach 東京"), false},
      {QStringLiteral("Tab\tTab"), false},
  };
  for (const auto& fall : fälle) {
    Kommentar_Tag() = QStringLiteral("Beschriftung|");
    frmKommentar d;
    d.txtKommentar->setText(fall.text);
    skript->protokoll.clear();
    d.cmdAuswahl[1]->click();
    if (fall.zulässig) {
      EXPECT_TRUE(skript->texte().empty()) << fall.text.toStdString();
      EXPECT_EQ(d.result(), QDialog::Accepted);
      EXPECT_EQ(Kommentar_Tag(), fall.text);
    } else {
      EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Unzulässiges Sonderzeichen enthalten")})
          << fall.text.toStdString();
      EXPECT_EQ(d.result(), 0) << "the dialog stays open";
      EXPECT_EQ(Kommentar_Tag(), QString()) << "the preset stays the answer";
    }
  }
}

TEST_F(EingabefeldTest, LangerTextWirdBeimFokusverlustGekuerzt) {
  Kommentar_Tag() = QStringLiteral("Beschriftung|Vorgabe");
  frmKommentar d;
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  d.activateWindow();
  d.txtKommentar->setFocus();
  d.txtKommentar->setText(QStringLiteral("  ") + QString(300, u'x'));
  d.cmdAuswahl[2]->setFocus();
  EXPECT_EQ(d.txtKommentar->text(), QString(255, u'x'));
  d.txtKommentar->setText(QString(300, u'y'));
  d.cmdAuswahl[1]->click();
  EXPECT_EQ(Kommentar_Tag(), QString(255, u'y')) << "cut on OK as well";
}

}  // namespace

// --- The comment box in another window with such a grid -------------------------------

class KommentarboxTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    bildschirm::setzeDpi(96);
    fenster.setObjectName(QStringLiteral("frmLogbuch"));
    fenster.resize(600, 300);
    grid = new Rasteransicht(&fenster);
    grid->setObjectName(QStringLiteral("msgFlexGrid"));
    grid->setGeometry(10, 10, 500, 200);
    grid->raster().setRows(200);
    grid->raster().setCols(5);
    for (int c = 0; c < 5; ++c) grid->raster().setColWidth(c, 1200);
    box = new QFrame(&fenster);
    box->setObjectName(QStringLiteral("picKommentar"));
    label = new QLabel(box);
    label->setObjectName(QStringLiteral("lblKommentar"));
    box->hide();
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
  }
  void TearDown() override {
    bildschirm::setzeDpi(0);
    VelkoraTest::TearDown();
  }
  QWidget fenster;
  Rasteransicht* grid = nullptr;
  QFrame* box = nullptr;
  QLabel* label = nullptr;
};

TEST_F(KommentarboxTest, StehtNebenDerZelleImRasterUndGehtBeimBildlaufMit) {
  // Not under the pointer: shown at once.
  Kommentar_anzeigen(&fenster, QStringLiteral("Anmeldung geändert"), 4, 3);
  ASSERT_TRUE(box->isVisible());
  EXPECT_EQ(label->text(), u"Anmeldung geändert");
  EXPECT_TRUE(grid->geometry().contains(box->geometry())) << "kept inside the grid's area";
  const QRect zelle = grid->zellenRechteck(3, 4).translated(grid->viewport()->mapTo(&fenster, QPoint(0, 0)));
  EXPECT_FALSE(box->geometry().intersects(zelle.adjusted(1, 1, -1, -1))) << "the cell itself stays readable";
  grid->raster().setTopRow(20);
  ASSERT_EQ(grid->raster().TopRow(), 20);
  EXPECT_FALSE(box->isVisible());
}
