// The main window's items for display permissions and display groups.
#include <QAction>

#include "common/Anzeige.h"
#include "common/Modaldialog.h"
#include "people/frmAnzeigeberechtigungen.h"
#include "people/frmAnzeigegruppen.h"
#include "planner/Planerdaten.h"

namespace {

const QString kKeineNamen = QStringLiteral(
    "Es wurden noch keine Mitarbeiterdaten erfasst. Bitte rufen Sie den Menüpunkt 'Bearbeiten - Mitarbeiter' auf.");
const QString kGruppieren = QStringLiteral(
    "Sie müssen die Mitarbeiter zuerst gruppieren. Dies können Sie, indem Sie unter 'Bearbeiten - Mitarbeiter' ");
const QString kNichtNötig = QStringLiteral(
    "Das Festlegen von Anzeigegruppen ist nicht notwendig bzw. möglich, da keine weiteren Mitarbeitergruppen "
    "vorhanden sind bzw. keine Berechtigung zur Anzeige weiterer Mitarbeitergruppen besteht.");

class Anzeigemenues : public planer::PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    gBenutzerstufe = 2;
  }
  // The fixture's table keeps the headings named.
  void nurÜberschriften(const QStringList& bleiben) {
    for (int i = Mitarbeiterzeilen(); i >= 1; --i)
      if (gBenutzerIDs[i].isEmpty() && !bleiben.contains(gMitarbeiterNamen[i])) gBenutzerIDs[i] = QStringLiteral("x");
  }
};

TEST_F(Anzeigemenues, MeldungenStattDerDialoge) {
  struct Fall {
    const char* wie;
    int stufe;
    QStringList überschriften;
    QString berechtigung;
    QString meldungBerechtigungen;
    QString meldungGruppen;
  };
  const Fall fälle[] = {
      {"no heading",
       2,
       {},
       QStringLiteral("AllGroups"),
       kGruppieren + QStringLiteral("Überschriften einfügen."),
       kGruppieren + QStringLiteral("Überschriften einfügen.")},
      {"one heading",
       2,
       {QStringLiteral("Lager")},
       QStringLiteral("AllGroups"),
       kGruppieren + QStringLiteral("weitere Überschriften einfügen."),
       kGruppieren + QStringLiteral("weitere Überschriften einfügen.")},
      {"another user who sees one group",
       0,
       {QStringLiteral("Lager"), QStringLiteral("Verwaltung")},
       QStringLiteral("Verwaltung:"),
       QString(),
       kNichtNötig},
  };
  frmVelkora& fenster = fensterLaden();
  const QStringList namen = gMitarbeiterNamen, benutzer = gBenutzerIDs;
  for (const Fall& f : fälle) {
    skript->protokoll.clear();
    gMitarbeiterNamen = namen;
    gBenutzerIDs = benutzer;
    gBenutzerstufe = f.stufe;
    nurÜberschriften(f.überschriften);
    gAnzeigeberechtigung = f.berechtigung;
    if (!f.meldungBerechtigungen.isEmpty()) {
      fenster.mnuAnzeigeberechtigungen_Click();
      EXPECT_EQ(skript->texte(), std::vector<QString>{f.meldungBerechtigungen}) << f.wie;
      skript->protokoll.clear();
    }
    fenster.mnuAnzeigegruppen_Click();
    EXPECT_EQ(skript->texte(), std::vector<QString>{f.meldungGruppen}) << f.wie;
  }
}

TEST_F(Anzeigemenues, NochKeineMitarbeiter) {
  frmVelkora& fenster = fensterLaden();
  Mitarbeitertabelle_dimensionieren(1);
  gMitarbeiterNamen[1] = QStringLiteral("NoNames");
  gBenutzerIDs[1].clear();
  fenster.mnuAnzeigeberechtigungen_Click();
  fenster.mnuAnzeigegruppen_Click();
  EXPECT_EQ(skript->texte(), (std::vector<QString>{kKeineNamen, kKeineNamen}));
}

TEST_F(Anzeigemenues, DialogeOeffnenMitIhrenGruppen) {
  // Display groups and permissions in use.
  SetSetting(17, 0);
  SetSetting(18, 0);
  frmVelkora& fenster = fensterLaden();
  EXPECT_TRUE(fenster.aktion(QStringLiteral("mnuAnzeigeberechtigungen"))->isEnabled());
  EXPECT_TRUE(fenster.aktion(QStringLiteral("mnuAnzeigegruppen"))->isEnabled());
  QStringList gruppen;
  beimDialog<frmAnzeigeberechtigungen>([&](frmAnzeigeberechtigungen& d) {
    for (int i = 0; i < d.cmbMitarbeitergruppe->count(); ++i) gruppen << d.cmbMitarbeitergruppe->itemText(i);
    d.cmdAuswahl[2]->click();
  });
  fenster.mnuAnzeigeberechtigungen_Click();
  EXPECT_EQ(gruppen, (QStringList{QStringLiteral("Verwaltung"), QStringLiteral("Lager")}));
  EXPECT_TRUE(fenster.Tag.isEmpty());

  gAnzeigeberechtigung = QStringLiteral("AllGroups");
  size_t boxen = 0;
  beimDialog<frmAnzeigegruppen>([&](frmAnzeigegruppen& d) {
    boxen = d.chkMitarbeitergruppe.size() - 1;
    d.cmdAuswahl[6]->click();
  });
  fenster.mnuAnzeigegruppen_Click();
  EXPECT_EQ(boxen, 2u);
  // The stored group is offered in the main window at once.
  EXPECT_EQ(gAnzeigegruppen.value(1), u"Alle Mitarbeiter|Verwaltung:Lager:");
}

TEST_F(Anzeigemenues, PunkteFolgenStufeUndEinstellungen) {
  struct Fall {
    int stufe, stelle17, stelle18;
    bool berechtigungen, gruppen;
  };
  for (const Fall& f : {Fall{2, 1, 1, false, false}, Fall{2, 0, 0, true, true}, Fall{1, 0, 0, false, true}}) {
    gBenutzerstufe = f.stufe;
    SetSetting(17, f.stelle17);
    SetSetting(18, f.stelle18);
    fenster.reset();
    frmVelkora& w = fensterLaden();
    EXPECT_EQ(w.aktion(QStringLiteral("mnuAnzeigeberechtigungen"))->isEnabled(), f.berechtigungen) << f.stufe;
    EXPECT_EQ(w.aktion(QStringLiteral("mnuAnzeigegruppen"))->isEnabled(), f.gruppen) << f.stufe;
  }
}

}  // namespace
