// The CSV export, the mouse wheel, the busy caption, the about box and the help window.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QWheelEvent>

#include "Planerdaten.h"
#include "planner/CSV_Export.h"
#include "planner/Hilfebefehle.h"
#include "planner/Mausrad.h"
#include "planner/Wartetitel.h"
#include "planner/frmHilfe.h"
#include "planner/frmInfo.h"
#include "startup/Meldungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "widgets/Rasteransicht.h"
#include "widgets/frmStart.h"

namespace {
using namespace planer;

// ---- CSV ---------------------------------------------------------------------------

TEST(CSV_Zeilen, FelderSpaltenKopfUndTagessummen) {
  Raster g(3, 4);
  g.setTextMatrix(0, 0, QStringLiteral("Name"));
  g.setTextMatrix(0, 1, QStringLiteral("Mo\r02"));  // a two-line day header
  g.setTextMatrix(0, 2, QStringLiteral("Di - 03"));
  g.setTextMatrix(0, 3, QStringLiteral("versteckt"));
  g.setTextMatrix(1, 0, QStringLiteral("Meier; Anna"));
  g.setTextMatrix(1, 1, QStringLiteral("U"));
  g.setTextMatrix(2, 0, QStringLiteral("Zeile\nzwei"));
  g.setColWidth(3, 0);
  Raster summen(3, 3);
  summen.setRowHeight(0, 0);
  summen.setTextMatrix(1, 0, QStringLiteral("Urlaub"));
  summen.setTextMatrix(1, 1, QStringLiteral("1"));
  summen.setRowHeight(2, 0);  // a deselected code
  struct Fall {
    const char* name;
    QString trenner;
    const Raster* summen;
    QStringList erwartet;
  };
  const Fall fälle[] = {
      {"semikolon",
       QStringLiteral(";"),
       nullptr,
       {QStringLiteral("Monat März 2026;;"), QStringLiteral(";Mo 02;Di 03"), QStringLiteral("Meier, Anna;U;"),
        QStringLiteral("Zeile zwei;;")}},
      {"komma",
       QStringLiteral(","),
       nullptr,
       {QStringLiteral("Monat März 2026,,"), QStringLiteral(",Mo 02,Di 03"), QStringLiteral("Meier; Anna,U,"),
        QStringLiteral("Zeile zwei,,")}},
      {"mit Tagessummen",
       QStringLiteral(";"),
       &summen,
       {QStringLiteral("Monat März 2026;;"), QStringLiteral(";Mo 02;Di 03"), QStringLiteral("Meier, Anna;U;"),
        QStringLiteral("Zeile zwei;;"), QStringLiteral("Urlaub;1;")}},
  };
  for (const Fall& f : fälle)
    EXPECT_EQ(CSV_Zeilen(QStringLiteral("Monat März 2026"), g, f.summen, f.trenner), f.erwartet) << f.name;
}

class CSVFensterTest : public PlanerFensterTest {};

TEST_F(CSVFensterTest, F12SchreibtDenGezeigtenMonatMitDenSichtbarenSummen) {
  frmVelkora& f = fensterLaden();
  const QString datei = ordner() + QStringLiteral("Monat.csv");
  for (const bool summen : {false, true}) {
    if (summen) {
      Raster& ts = f.msgFlexTaSu->raster();
      ts.setRows(2);
      ts.setRowHeight(0, 0);
      ts.setRowHeight(1, 300);
      ts.setTextMatrix(1, 0, QStringLiteral("Urlaub"));
      f.msgFlexTaSu->show();
    }
    skript->antworte(dialoge::kOK, datei);
    ASSERT_TRUE(Hilfe_und_Export_Tasten(f, Qt::Key_F12, 0));
    const dialoge::Aufforderung& dialog = skript->protokoll[skript->protokoll.size() - 2];
    EXPECT_EQ(dialog.titel, u"Velkora - CSV-Export");
    EXPECT_TRUE(dialog.vorgabe.endsWith(QStringLiteral("Monat März 2026.csv")));
    EXPECT_EQ(skript->protokoll.back().text, QStringLiteral("Daten wurden erfolgreich nach ") +
                                                 ShowPfad(ordner(), 100) + QStringLiteral(" exportiert"));
    const QList<QByteArray> zeilen = lesen(datei).split('\n');
    ASSERT_GT(zeilen.size(), 3);
    EXPECT_TRUE(zeilen[0].startsWith("Monat M\xe4rz 2026;;")) << zeilen[0].constData();
    EXPECT_TRUE(zeilen[0].endsWith('\r'));
    const QByteArray letzte = zeilen[zeilen.size() - 2];
    EXPECT_EQ(letzte.startsWith("Urlaub;"), summen) << letzte.constData();
  }
  EXPECT_EQ(gExportordner, ordner());
}

// ---- mouse wheel --------------------------------------------------------------------

class MausradTest : public PlanerTest {
 protected:
  void SetUp() override {
    PlanerTest::SetUp();
    fenster = std::make_unique<QWidget>();
    grid = new Rasteransicht(fenster.get());
    grid->setObjectName(QStringLiteral("msgFlexGrid"));
    box = new QWidget(fenster.get());
    box->setObjectName(QStringLiteral("picKommentar"));
    grid->raster().setRows(60);
    grid->resize(300, 200);
    fenster->resize(320, 220);
  }
  void TearDown() override {
    UnHook();
    fenster.reset();
    PlanerTest::TearDown();
  }
  void rad(int delta) {
    QWheelEvent e(QPointF(10, 10), grid->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &e);
  }
  std::unique_ptr<QWidget> fenster;
  Rasteransicht* grid = nullptr;
  QWidget* box = nullptr;
};

TEST_F(MausradTest, EineZeileJeRastung) {
  ASSERT_TRUE(ScrollbarIsVisible(*fenster, *grid));
  EXPECT_EQ(Mausrad_Fenster(), grid);
  Raster& g = grid->raster();
  ASSERT_EQ(g.TopRow(), 1);
  rad(120);  // away from the user at the top: nothing
  EXPECT_EQ(g.TopRow(), 1);
  box->show();
  rad(-120);
  EXPECT_EQ(g.TopRow(), 2);
  EXPECT_TRUE(box->isHidden());
  for (int i = 0; i < 5; ++i) rad(-20);
  EXPECT_EQ(g.TopRow(), 2) << "five small steps are less than a notch";
  rad(-20);
  EXPECT_EQ(g.TopRow(), 3) << "the sixth completes it";
  rad(120);
  EXPECT_EQ(g.TopRow(), 2);
}

TEST_F(MausradTest, AbgeschaltetOderNichtEingehaengtScrolltNichts) {
  gBenutzerwerte[34] = 1;
  EXPECT_TRUE(ScrollbarIsVisible(*fenster, *grid));
  EXPECT_EQ(Mausrad_Fenster(), nullptr);
  rad(-120);
  EXPECT_EQ(grid->raster().TopRow(), 1);
  gBenutzerwerte[34] = 0;
  // A grid without scroll bar is not hooked either.
  grid->raster().setRows(2);
  EXPECT_FALSE(ScrollbarIsVisible(*fenster, *grid));
  EXPECT_FALSE(gMausradAktiv);
}

// ---- busy caption -------------------------------------------------------------------

TEST(Wartetitel, PunkteWachsenUndFangenImSchmalenFensterNeuAn) {
  const auto breite = [](const QString& t) { return static_cast<int>(t.size()) * 100; };
  const QString t1 = Wartetitel_nächster(QStringLiteral("Velkora"), breite, 100000);
  EXPECT_EQ(t1, u"Velkora - Bitte warten . . .");
  const QString t2 = Wartetitel_nächster(t1, breite, 100000);
  EXPECT_EQ(t2, u"Velkora - Bitte warten . . . .");
  EXPECT_EQ(Wartetitel_nächster(t2, breite, 100000), u"Velkora - Bitte warten . . . . .");
  // 32 characters are 3200 twips: plus 1200 wider than a window of 4300.
  EXPECT_EQ(Wartetitel_nächster(t2, breite, 4300), u"Velkora - Bitte warten . . .");
  EXPECT_EQ(Wartetitel_nächster(QStringLiteral("Laden . . ."), breite, 100000), u"Laden . . . .");
}

// ---- about box ----------------------------------------------------------------------

class InfoTest : public PlanerTest {};

TEST_F(InfoTest, DatumstasteReihumUndAdministratorTastenNurFuerAdministratoren) {
  int länder = 0;
  frmInfo::länderdialog = [&](QWidget*) { ++länder; };
  gDatumstrennzeichen = QStringLiteral(".");
  gDatumsreihenfolge = 1;
  for (const int stufe : {0, 1, 2}) {
    gBenutzerstufe = stufe;
    frmInfo f;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(f.Form_KeyDown(Qt::Key_F4, 2));
    EXPECT_EQ(gDatumstrennzeichen, u".");
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(f.Form_KeyDown(Qt::Key_F5, 2));
    EXPECT_EQ(gDatumsreihenfolge, 1);
    const QString vorher = gSFVerbergenText;
    EXPECT_TRUE(f.Form_KeyDown(Qt::Key_F3, 2));
    f.imgLogo_DblClick();
    EXPECT_TRUE(f.Form_KeyDown(Qt::Key_F9, 3));
    EXPECT_FALSE(f.Form_KeyDown(Qt::Key_F9, 0));
    if (stufe < 2) {
      EXPECT_EQ(länder, 0);
      EXPECT_EQ(gSFVerbergenText, vorher);
    } else {
      EXPECT_EQ(länder, 2);
      EXPECT_EQ(gSFVerbergenText, QString(Schaltflächen_Anzahl(), u'0'));
      EXPECT_EQ(Setting(3), 2);
      EXPECT_EQ(Setting(19), 1);
      EXPECT_TRUE(f.Form_KeyDown(Qt::Key_F10, 3));
      EXPECT_EQ(gSFVerbergenText, u"void");
    }
  }
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(InfoTest, DiagnoseNurMitStrgUndRechterMaustaste) {
  gLand = QStringLiteral("Deutschland");
  gDatumstrennzeichen = QStringLiteral(".");
  gDatumsreihenfolge = 1;
  gAnzeigeberechtigung = QStringLiteral("Verwaltung:Lager:");
  frmInfo f;
  f.imgLogo_MouseDown(2, 0);
  f.imgLogo_MouseDown(1, 2);
  EXPECT_TRUE(skript->protokoll.empty());
  f.imgLogo_MouseDown(2, 2);
  ASSERT_EQ(skript->protokoll.size(), 1u);
  const QString erwartet = QStringLiteral(
                               "Diagnoseinformationen:\r\rLändereinstellung: Deutschland\rSystemdatum: 12.03.26\r"
                               "Datumsformat: tt.mm.jj\rSettings 1 - 25: 00000 00000 00010 1110U ½##K3\r"
                               "Settings 26 - 50: 10030 100## ##000 00100 00000\rWindows-Benutzername: tester\r"
                               "Benutzerstatus: 0\rAdministratoren: ") +
                           ShowAdmins(false) + QStringLiteral("\rAnzeigeberechtigungen: Verwaltung:Lager");
  EXPECT_EQ(skript->protokoll[0].text.toStdString(), erwartet.toStdString());
  EXPECT_TRUE(f.lblHyperlink->isHidden());
  EXPECT_EQ(f.lblBeschriftung[2]->text(), u"Version 1.16  Release 1");
}

// ---- help window ----------------------------------------------------------------------

TEST_F(CSVFensterTest, HilfethemenNachAufruferTagUndEinstellung) {
  frmVelkora& f = fensterLaden();
  struct Fall {
    const char* fenster;
    const char* tag;
    char setting28;
    int thema;
    const char16_t* titel;
  };
  for (const Fall& c : {Fall{"frmVelkora", "", '0', 1, u"Velkora"}, Fall{"frmAdmins", "A", '0', 10, u"Administratoren"},
                        Fall{"frmAdmins", "P", '0', 11, u"Privilegierte Benutzer"},
                        Fall{"frmMitarbeiter", "", '1', 2, u"Mitarbeiterdaten"},
                        Fall{"frmMitarbeiter", "", '0', 3, u"Mitarbeiterdaten"},
                        Fall{"frmRecovery", "", '0', 12, u"Datenordner wiederherstellen"},
                        Fall{"frmUrlaubsuebersicht", "", '0', 13, u"Urlaubsübersicht"}}) {
    f.Tag = QString::fromUtf8(c.tag);
    gSettings[27] = QChar(c.setting28);
    EXPECT_EQ(Hilfethema(QString::fromUtf8(c.fenster)), c.thema) << c.fenster << c.tag;
    EXPECT_EQ(Hilfetitel(c.thema), QString::fromUtf16(c.titel));
  }
  // Only the user-name topic explains the Windows user name.
  EXPECT_FALSE(Hilfetext(2).contains(QStringLiteral("Windows-Benutzername")));
  EXPECT_TRUE(Hilfetext(3).contains(QStringLiteral("Windows-Benutzername")));
  frmHilfe h(&f);
  EXPECT_EQ(h.thema(), 1);
  EXPECT_TRUE(h.lblHilfetext->text().contains(u'\n'));
  EXPECT_FALSE(h.lblHilfetext->text().contains(u'|'));
}

TEST_F(CSVFensterTest, PdfKnoepfeNurMitIhrenDateien) {
  QWidget aufrufer;
  aufrufer.setObjectName(QStringLiteral("frmWochenende"));
  {
    frmHilfe h(&aufrufer);
    EXPECT_EQ(h.thema(), 8);
    EXPECT_FALSE(h.cmdHilfe[1]->isEnabled());
    EXPECT_FALSE(h.cmdHilfe[2]->isEnabled());
  }
  schreiben(gProgrammordner + QStringLiteral("Handbuch.pdf"), "%PDF");
  schreiben(gProgrammordner + QStringLiteral("Lies mich.pdf"), "%PDF");
  {
    frmHilfe h(&aufrufer);
    EXPECT_TRUE(h.cmdHilfe[1]->isEnabled());
    EXPECT_FALSE(h.cmdHilfe[2]->isEnabled()) << "the readme only for the default data folder";
  }
  gBasisordner = ParentDir(gDatenordner);
  {
    frmHilfe h(&aufrufer);
    EXPECT_TRUE(h.cmdHilfe[2]->isEnabled());
  }
}

TEST_F(CSVFensterTest, HilfeUndInfoSindImMenueFreigegeben) {
  frmVelkora& f = fensterLaden();
  EXPECT_TRUE(f.aktion(QStringLiteral("mnuHilfe"))->isEnabled());
  EXPECT_TRUE(f.aktion(QStringLiteral("mnuInfo"))->isEnabled());
}

// ---- screenshots of the new windows (only with VELKORA_BILDER set) --------------------

TEST_F(CSVFensterTest, Bildschirmfotos) {
  const QString ziel = qEnvironmentVariable("VELKORA_BILDER");
  if (ziel.isEmpty()) GTEST_SKIP() << "VELKORA_BILDER not set";
  QDir().mkpath(ziel);
  frmVelkora& f = fensterLaden();
  frmStart s;
  s.show();
  s.grab().save(ziel + QStringLiteral("/frmStart.png"));
  frmInfo i(&f);
  i.show();
  i.grab().save(ziel + QStringLiteral("/frmInfo.png"));
  for (const char* name : {"frmVelkora", "frmMitarbeiter", "frmAnAbwesenheitsgruende", "frmAdmins"}) {
    QWidget aufrufer;
    aufrufer.setObjectName(QString::fromUtf8(name));
    frmHilfe h(name == std::string("frmVelkora") ? static_cast<QWidget*>(&f) : &aufrufer);
    h.show();
    h.grab().save(ziel + QStringLiteral("/frmHilfe_%1.png").arg(h.thema()));
    h.resize(h.minimumSizeHint());
    h.grab().save(ziel + QStringLiteral("/frmHilfe_%1_min.png").arg(h.thema()));
  }
}

}  // namespace

namespace {
TEST_F(CSVFensterTest, DerWartezustandLaesstDieTitelpunkteLaufen) {
  frmVelkora& f = fensterLaden();
  ASSERT_FALSE(f.tmrTimer2->isActive());
  Sanduhr_Warten_ein();
  EXPECT_TRUE(f.tmrTimer2->isActive());
  EXPECT_EQ(f.tmrTimer2->interval(), 1500);
  f.setWindowTitle(QStringLiteral("Velkora - Muster GmbH"));
  f.resize(1200, 600);
  tmrTimer2_Timer(f);
  EXPECT_EQ(f.windowTitle(), u"Velkora - Muster GmbH - Bitte warten . . .");
  Sanduhr_Warten_aus();
  EXPECT_FALSE(f.tmrTimer2->isActive());
}

TEST_F(CSVFensterTest, DerWartezustandNachDemHauptfensterBeruehrtEsNichtMehr) {
  fensterLaden();
  ASSERT_TRUE(gWartehaken.punkte_starten);
  fenster.reset();
  // A later busy state (another window's, the end of the program) finds no hooks.
  EXPECT_FALSE(gWartehaken.punkte_starten);
  EXPECT_FALSE(gWartehaken.punkte_stoppen);
  Sanduhr_Warten_ein();
  Sanduhr_Warten_aus();
  // A window loaded after it takes the hooks over.
  frmVelkora& neu = fensterLaden();
  Sanduhr_Warten_ein();
  EXPECT_TRUE(neu.tmrTimer2->isActive());
  Sanduhr_Warten_aus();
}
}  // namespace
