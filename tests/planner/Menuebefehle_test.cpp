// Every item of the main window's menus opens its own window with its value in the
// main window's Tag, and the main window is brought up to date as the item's table row
// says; opening a menu ends the marking.
#include "planner/Menuebefehle.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "Fensterbedienung.h"
#include "config/frmAnAbwesenheitsgruende.h"
#include "people/frmAnzeigeberechtigungen.h"
#include "people/frmAnzeigegruppen.h"
#include "people/frmMitarbeiter.h"
#include "planner/Eingabe.h"
#include "planner/Tabellenmaus.h"
#include "planner/Undo.h"
#include "planner/Zwischenablage.h"
#include "planner/frmHilfe.h"
#include "planner/frmRecovery.h"
#include "printing/Druckprimitive.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Feiertage.h"

namespace {
using namespace planer;

// What the first window (other than the main window) that opens shows: its name and
// the main window's Tag at that moment; the window is closed again.
struct Geöffnet {
  QString fenster;
  QString tag;
  QString druckauftrag;
};

// Looks for the window every few milliseconds (other events may run first) while the
// command waits for it; gives up after five seconds.
void beimFenster(std::shared_ptr<Geöffnet> ergebnis, frmVelkora& haupt, int versuche = 500) {
  QTimer::singleShot(versuche == 500 ? 0 : 10, [ergebnis, &haupt, versuche] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w == &haupt || !w->isVisible() || !w->objectName().startsWith(u"frm")) continue;
      *ergebnis = {w->objectName(), haupt.Tag, gDruckauftrag};
      if (auto* d = qobject_cast<QDialog*>(w))
        d->reject();
      else
        w->close();
      return;
    }
    if (versuche > 0) beimFenster(ergebnis, haupt, versuche - 1);
  });
}

struct Fall {
  const char* punkt;
  const char* fenster;                 // the window's name, or "" when a prompt comes instead
  const char* tag;                     // the Tag the window found; nullptr: not checked
  bool neuAngezeigt;                   // the month was shown anew afterwards
  bool puffer;                         // undo history and entry clipboard emptied afterwards
  const char* aufforderung = nullptr;  // the prompt's title, when a prompt comes
};

class MenuebefehleTest : public FensterbedienungTest {
 protected:
  void SetUp() override {
    FensterbedienungTest::SetUp();
    // A confirmed country: the holidays item goes straight to its dialog.
    gLand = QStringLiteral("Deutschland");
    Feiertage_schreiben();
    gBenutzerstufe = 2;
    gIstMitarbeiter = true;
    // Display groups and permissions, privileged users and special leave in use.
    for (const auto& [stelle, wert] : {std::pair{11, 1}, {14, 0}, {17, 0}, {18, 0}, {33, 1}}) SetSetting(stelle, wert);
    gAnzeigeberechtigung = QStringLiteral("AllGroups");
  }
};

TEST_F(MenuebefehleTest, JederMenuepunktOeffnetSeinFensterMitSeinemTagUndFrischtDasHauptfensterAuf) {
  const std::vector<Fall> fälle = {
      {"mnuDatenordner_ändern", "", nullptr, true, true, "Velkora"},
      {"mnuDatenexport", "", nullptr, false, false, "Velkora - Datenexport"},
      {"mnuDatenimport", "", nullptr, false, false, "Velkora - Datenimport"},
      {"mnuRecovery", "frmRecovery", nullptr, false, false},
      {"mnuDrucken", "frmDrucken", nullptr, false, false},
      {"mnuMitarbeiter", "frmMitarbeiter", nullptr, true, true},
      // The dialog consumes its Tag, the group headings, while it loads.
      {"mnuAnzeigeberechtigungen", "frmAnzeigeberechtigungen", "", true, false},
      {"mnuAnzeigegruppen", "frmAnzeigegruppen", "AllGroups", true, true},
      {"mnuAnAbwesenheitsgründe", "frmAnAbwesenheitsgruende", nullptr, true, true},
      {"mnuWochenende", "frmWochenende", nullptr, true, false},
      {"mnuFeiertage", "frmFeiertage", nullptr, true, false},
      {"mnuAdministratoren", "frmAdmins", "A", false, false},
      {"mnuPrivilegierteBenutzer", "frmAdmins", "P", false, false},
      {"mnuJahresübersicht", "frmJahresuebersicht", "G", true, false},
      {"mnuUrlaubsübersicht", "frmUrlaubsuebersicht", "U", true, false},
      {"mnuRTTÜbersicht", "frmUrlaubsuebersicht", "R", true, false},
      {"mnuSummenübersicht", "frmSummenuebersicht", nullptr, true, false},
      // The menus are set anew, and with them the entry clipboard and undo history.
      {"mnuEinstellungen", "frmEinstellungen", nullptr, true, true},
      // No logbook yet: the viewer says so and closes.
      {"mnuLogbuch", "", nullptr, false, false, "Velkora"},
      {"mnuHilfe", "frmHilfe", nullptr, false, false},
      {"mnuInfo", "frmInfo", nullptr, false, false},
  };
  frmVelkora& f = laden();
  const int ich = zeile(QStringLiteral("tester"));
  ASSERT_GT(ich, 0);
  for (const Fall& fall : fälle) {
    const QString punkt = QString::fromUtf8(fall.punkt);
    SCOPED_TRACE(fall.punkt);
    ASSERT_NE(Menübefehl_zu(punkt), nullptr);
    QAction* a = f.aktion(punkt);
    ASSERT_TRUE(a && a->isEnabled());
    // A cell the month display would write anew, and a copied code.
    raster().setTextMatrix(ich, 20, QStringLiteral("X"));
    Zwischenablage_setzen(QStringLiteral("1"));
    skript->protokoll.clear();
    gDruckauftrag.clear();
    auto geöffnet = std::make_shared<Geöffnet>();
    if (*fall.fenster) beimFenster(geöffnet, f);
    a->trigger();
    EXPECT_EQ(geöffnet->fenster, QString::fromUtf8(fall.fenster));
    if (fall.tag) {
      EXPECT_EQ(geöffnet->tag, QString::fromUtf8(fall.tag));
    }
    if (fall.aufforderung) {
      ASSERT_FALSE(skript->protokoll.empty());
      EXPECT_EQ(skript->protokoll.front().titel, QString::fromUtf8(fall.aufforderung));
    }
    EXPECT_EQ(raster().TextMatrix(ich, 20) != u"X", fall.neuAngezeigt);
    EXPECT_EQ(Zwischenablage() == QStringList{QStringLiteral("NoEntry")}, fall.puffer);
  }
  // Printing from the menu prints the shown month.
  auto druck = std::make_shared<Geöffnet>();
  beimFenster(druck, f);
  f.aktion(QStringLiteral("mnuDrucken"))->trigger();
  EXPECT_EQ(druck->druckauftrag, u"ME");
}

TEST_F(MenuebefehleTest, DasOeffnenEinesMenuesHebtDieMarkierungAuf) {
  frmVelkora& f = laden();
  for (const char* menü : {"mnuDatei", "mnuBearbeiten", "mnuAnsicht", "mnuHelp"}) {
    SCOPED_TRACE(menü);
    ziehen(zeile(QStringLiteral("tester")), 3, 5);
    ASSERT_EQ(raster().HighLight(), 1);
    QMenu* m = f.aktion(QString::fromUtf8(menü))->menu();
    ASSERT_NE(m, nullptr);
    emit m->aboutToShow();
    EXPECT_EQ(raster().HighLight(), 0);
    EXPECT_EQ(raster().Row(), 0);
  }
}

// Every item with a caption has its row.
TEST_F(MenuebefehleTest, JederMenuepunktHatSeineZeile) {
  frmVelkora& f = laden();
  for (const char16_t* name : {u"mnuDatenordner_ändern",
                               u"mnuDatenexport",
                               u"mnuDatenimport",
                               u"mnuRecovery",
                               u"mnuDrucken",
                               u"mnuBeenden",
                               u"mnuMitarbeiter",
                               u"mnuAnzeigeberechtigungen",
                               u"mnuAnzeigegruppen",
                               u"mnuAnAbwesenheitsgründe",
                               u"mnuWochenende",
                               u"mnuFeiertage",
                               u"mnuAdministratoren",
                               u"mnuPrivilegierteBenutzer",
                               u"mnuEinstellungen",
                               u"mnuJahresübersicht",
                               u"mnuUrlaubsübersicht",
                               u"mnuRTTÜbersicht",
                               u"mnuSummenübersicht",
                               u"mnuLogbuch",
                               u"mnuHilfe",
                               u"mnuInfo"}) {
    const QString n = QString::fromUtf16(name);
    ASSERT_NE(f.aktion(n), nullptr) << n.toStdString();
    EXPECT_NE(Menübefehl_zu(n), nullptr) << n.toStdString();
  }
}

// The main window fills every hook its dialogs call (its grid and its entry call their
// commands directly).
TEST_F(MenuebefehleTest, KeinHakenBleibtLeer) {
  laden();
  for (const bool gesetzt :
       {bool(frmRecovery::hilfe), bool(frmMitarbeiter::hilfe), bool(frmAnzeigeberechtigungen::hilfe),
        bool(frmAnzeigegruppen::hilfe), bool(frmAnAbwesenheitsgruende::hilfe)})
    EXPECT_TRUE(gesetzt);
}

// F1 in a dialog of the employees opens the help over it.
TEST_F(MenuebefehleTest, HilfeDerMitarbeiterdialogeOeffnetDasHilfefenster) {
  frmVelkora& f = laden();
  for (const auto& hilfe : {frmMitarbeiter::hilfe, frmAnzeigeberechtigungen::hilfe, frmAnzeigegruppen::hilfe,
                            frmAnAbwesenheitsgruende::hilfe}) {
    auto geöffnet = std::make_shared<Geöffnet>();
    beimFenster(geöffnet, f);
    hilfe(&f);
    EXPECT_EQ(geöffnet->fenster, u"frmHilfe");
  }
}

// The code button editor's help shows its own topic.
TEST_F(MenuebefehleTest, HilfeDesSchaltflaecheneditorsZeigtSeinThema) {
  laden();
  frmAnAbwesenheitsgruende editor;
  editor.show();
  int thema = 0;
  QString titel;
  QTimer::singleShot(0, [&] {
    if (auto* h = dynamic_cast<frmHilfe*>(QApplication::activeModalWidget())) {
      thema = h->thema();
      titel = h->lblTitel->text();
      h->reject();
    }
  });
  QTest::mouseClick(editor.cmdAuswahl[2], Qt::LeftButton);
  EXPECT_EQ(thema, 7);
  EXPECT_EQ(titel, QStringLiteral("An-/Abwesenheitsgründe"));
}

}  // namespace
