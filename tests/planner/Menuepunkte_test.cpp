// Which menu items of the loaded main window are shown and enabled for the settings,
// the user's level, an own row and the look-back mode; the change polling switched by
// settings position 32, also when the configuration is read again.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSet>
#include <vector>

#include "Fensterbedienung.h"
#include "planner/Menuebefehle.h"
#include "planner/Undo.h"
#include "planner/Zwischenablage.h"
#include "store/Feiertage.h"
#include "store/Jahreswechsel.h"

namespace {
using namespace planer;

const QStringList kAlle = {
    QStringLiteral("mnuDatei"),           QStringLiteral("mnuDatenordner_ändern"),
    QStringLiteral("mnuDatenexport"),     QStringLiteral("mnuDatenimport"),
    QStringLiteral("mnuRecovery"),        QStringLiteral("mnuLeer1"),
    QStringLiteral("mnuDrucken"),         QStringLiteral("mnuLeer2"),
    QStringLiteral("mnuBeenden"),         QStringLiteral("mnuBearbeiten"),
    QStringLiteral("mnuMitarbeiter"),     QStringLiteral("mnuAnzeigeberechtigungen"),
    QStringLiteral("mnuAnzeigegruppen"),  QStringLiteral("mnuAnAbwesenheitsgründe"),
    QStringLiteral("mnuWochenende"),      QStringLiteral("mnuFeiertage"),
    QStringLiteral("mnuAdministratoren"), QStringLiteral("mnuPrivilegierteBenutzer"),
    QStringLiteral("mnuEinstellungen"),   QStringLiteral("mnuAnsicht"),
    QStringLiteral("mnuJahresübersicht"), QStringLiteral("mnuUrlaubsübersicht"),
    QStringLiteral("mnuRTTÜbersicht"),    QStringLiteral("mnuSummenübersicht"),
    QStringLiteral("mnuLogbuch"),         QStringLiteral("mnuHelp"),
    QStringLiteral("mnuHilfe"),           QStringLiteral("mnuInfo"),
};

// The items only an administrator may use, and those closed in look-back mode.
const QStringList kAdministrator = {
    QStringLiteral("mnuDatenexport"),
    QStringLiteral("mnuDatenimport"),
    QStringLiteral("mnuRecovery"),
    QStringLiteral("mnuMitarbeiter"),
    QStringLiteral("mnuAnzeigeberechtigungen"),
    QStringLiteral("mnuAnAbwesenheitsgründe"),
    QStringLiteral("mnuWochenende"),
    QStringLiteral("mnuFeiertage"),
    QStringLiteral("mnuAdministratoren"),
    QStringLiteral("mnuPrivilegierteBenutzer"),
};
const QStringList kRückblick = {
    QStringLiteral("mnuDatenordner_ändern"), QStringLiteral("mnuDatenexport"), QStringLiteral("mnuDatenimport"),
    QStringLiteral("mnuRecovery"),           QStringLiteral("mnuBearbeiten"),  QStringLiteral("mnuLogbuch"),
};
const QStringList kÜbersichten = {QStringLiteral("mnuUrlaubsübersicht"), QStringLiteral("mnuRTTÜbersicht"),
                                  QStringLiteral("mnuSummenübersicht")};
const QString kJahr = QStringLiteral("mnuJahresübersicht");
const QString kLogbuch = QStringLiteral("mnuLogbuch");
// Hidden by the fixture's settings: display groups and permissions not in use, no
// privileged users, no special leave.
const QStringList kVerborgen = {QStringLiteral("mnuAnzeigegruppen"), QStringLiteral("mnuAnzeigeberechtigungen"),
                                QStringLiteral("mnuPrivilegierteBenutzer"), QStringLiteral("mnuRTTÜbersicht")};

struct Fall {
  const char* was;
  int stufe;
  bool eigeneZeile;
  bool rückblick;
  QString einstellungen;  // position=character pairs, "17=0 18=0"
  QStringList verborgen;
  QStringList gesperrt;
  bool abfrage;  // the change polling runs
};

class MenuepunkteTest : public FensterbedienungTest {};

TEST_F(MenuepunkteTest, PunkteFolgenEinstellungenStufeEigenerZeileUndRueckblick) {
  const std::vector<Fall> fälle = {
      {"administrator", 2, true, false, {}, kVerborgen, {}, true},
      {"privileged user", 1, false, false, {}, kVerborgen, kAdministrator, true},
      {"employee with an own row", 0, true, false, {}, kVerborgen, kAdministrator, true},
      {"employee without an own row", 0, false, false, {}, kVerborgen, kAdministrator + QStringList{kJahr}, true},
      {"everything in use", 2, true, false, QStringLiteral("11=1 17=0 18=0 33=1"), {}, {}, true},
      {"no vacation code",
       2,
       true,
       false,
       QStringLiteral("20=# 21=# 22=# 23=#"),
       kVerborgen + QStringList{QStringLiteral("mnuUrlaubsübersicht")},
       {},
       true},
      {"one vacation code", 2, true, false, QStringLiteral("20=# 21=# 22=# 23=U"), kVerborgen, {}, true},
      {"overviews closed to employees", 0, true, false, QStringLiteral("19=1"), kVerborgen,
       kAdministrator + kÜbersichten, true},
      {"overviews closed to employees, privileged user", 1, true, false, QStringLiteral("19=1"), kVerborgen,
       kAdministrator, true},
      {"logbook closed to employees", 0, true, false, QStringLiteral("3=2 28=1"), kVerborgen,
       kAdministrator + QStringList{kLogbuch}, true},
      {"logbook closed to employees, privileged user", 1, true, false, QStringLiteral("3=2 28=1"), kVerborgen,
       kAdministrator, true},
      {"logbook open without position 28", 0, true, false, QStringLiteral("3=2"), kVerborgen, kAdministrator, true},
      {"logbook open without position 3", 0, true, false, QStringLiteral("3=1 28=1"), kVerborgen, kAdministrator, true},
      {"look-back, administrator", 2, true, true, {}, kVerborgen, kRückblick, true},
      {"look-back, employee without an own row", 0, false, true, QStringLiteral("19=1"), kVerborgen,
       kAdministrator + kRückblick + kÜbersichten + QStringList{kJahr}, true},
      {"no polling", 2, true, false, QStringLiteral("32=1"), kVerborgen, {}, false},
      {"polling with position 32 at 2", 2, true, false, QStringLiteral("32=2"), kVerborgen, {}, true},
  };
  const QString einstellungen = gSettings;
  for (const Fall& fall : fälle) {
    SCOPED_TRACE(fall.was);
    gSettings = einstellungen;
    for (const QString& paar : fall.einstellungen.split(u' ', Qt::SkipEmptyParts))
      gSettings[paar.section(u'=', 0, 0).toInt() - 1] = paar.section(u'=', 1)[0];
    gBenutzerstufe = fall.stufe;
    gIstMitarbeiter = fall.eigeneZeile;
    gRückblick = fall.rückblick;
    frmVelkora& f = laden();
    const QSet<QString> verborgen(fall.verborgen.begin(), fall.verborgen.end());
    const QSet<QString> gesperrt(fall.gesperrt.begin(), fall.gesperrt.end());
    for (const QString& name : kAlle) {
      const QAction* a = f.aktion(name);
      ASSERT_NE(a, nullptr) << name.toStdString();
      EXPECT_EQ(a->isVisible(), !verborgen.contains(name)) << name.toStdString();
      EXPECT_EQ(f.Menüpunkt_freigegeben(name), !gesperrt.contains(name)) << name.toStdString();
      // A hidden action also counts as disabled in Qt: its key does nothing either.
      EXPECT_EQ(a->isEnabled(), !verborgen.contains(name) && !gesperrt.contains(name)) << name.toStdString();
    }
    EXPECT_EQ(f.änderungsprüfung().tmrTimer1()->isActive(), fall.abfrage);
    fenster.reset();
  }
  gRückblick = false;
}

// No item stands enabled without a command behind it, and an administrator may use
// every item he sees.
TEST_F(MenuepunkteTest, JederSichtbarePunktEinesAdministratorsIstFreigegebenUndHatSeinenBefehl) {
  gBenutzerstufe = 2;
  frmVelkora& f = laden();
  for (const QString& name : kAlle) {
    const QAction* a = f.aktion(name);
    ASSERT_NE(a, nullptr) << name.toStdString();
    if (a->menu() || a->isSeparator()) continue;
    EXPECT_NE(Menübefehl_zu(name), nullptr) << name.toStdString();
    if (a->isVisible()) {
      EXPECT_TRUE(a->isEnabled()) << name.toStdString();
    }
  }
}

TEST_F(MenuepunkteTest, FuerDieStufeGesperrterPunktBleibtGesperrtWennDieStufeSteigt) {
  gBenutzerstufe = 0;
  gIstMitarbeiter = false;
  frmVelkora& f = laden();
  ASSERT_FALSE(f.Menüpunkt_freigegeben(QStringLiteral("mnuMitarbeiter")));
  ASSERT_FALSE(f.Menüpunkt_freigegeben(kJahr));
  gBenutzerstufe = 2;
  f.Menüpunkte_aktivieren();
  EXPECT_FALSE(f.Menüpunkt_freigegeben(QStringLiteral("mnuMitarbeiter"))) << "only from the next start";
  EXPECT_TRUE(f.Menüpunkt_freigegeben(kJahr)) << "worked out anew each time";
}

// Another workstation switches the polling off and on again in the shared configuration;
// each reload also empties the clipboard and the undo history.
TEST_F(MenuepunkteTest, NeuGeleseneStelleZweiunddreissigSchaltetDieAbfrage) {
  Feiertage_schreiben();
  gBenutzerstufe = 2;
  frmVelkora& f = laden();
  ASSERT_TRUE(f.änderungsprüfung().tmrTimer1()->isActive());
  const int ich = zeile(QStringLiteral("tester"));
  int tag = 16;
  for (const int wert : {1, 0}) {
    eintragen(ich, tag, tag, 1);
    ASSERT_EQ(Undoposition(), 2);
    ASSERT_EQ(Zwischenablage(), QStringList{QStringLiteral("1")});
    const QString pfad = gDatenordner + QStringLiteral("Konfigdaten.dat");
    const QDateTime zeit = QFileInfo(pfad).lastModified();
    SetSetting(32, wert);
    Konfigdaten_schreiben();
    QFile datei(pfad);
    ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
    ASSERT_TRUE(datei.setFileTime(zeit.addSecs(60 * (tag - 15)), QFileDevice::FileModificationTime));
    datei.close();
    SetSetting(32, 1 - wert);  // what this workstation still holds
    monat(2);
    EXPECT_EQ(Setting(32), wert) << "read again";
    EXPECT_EQ(f.änderungsprüfung().tmrTimer1()->isActive(), wert != 1);
    EXPECT_EQ(Undoposition(), 0);
    EXPECT_EQ(Zwischenablage(), QStringList{QStringLiteral("NoEntry")});
    gBenutzerstufe = 2;
    ++tag;
  }
}

}  // namespace
