#include "planner/Navigation.h"

#include <QComboBox>
#include <QEvent>
#include <QHash>
#include <QKeyEvent>
#include <QSet>
#include <QSignalBlocker>
#include <QTabBar>

#include "planner/Aenderungspruefung.h"
#include "planner/Dateibefehle.h"
#include "planner/Markierung.h"
#include "planner/Monatsanzeige.h"
#include "planner/Monatsspeicher.h"
#include "planner/Tabellenmaus.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Text.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Sicherung.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {

// Passes the arrow keys of a tab strip to the month navigation.
class Pfeiltasten : public QObject {
 public:
  Pfeiltasten(QObject* eltern, std::function<bool(int)> taste) : QObject(eltern), mTaste(std::move(taste)) {}

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) {
      const int k = static_cast<QKeyEvent*>(e)->key();
      if ((k == Qt::Key_Left || k == Qt::Key_Right) && mTaste(k == Qt::Key_Left ? 37 : 39)) return true;
    }
    return QObject::eventFilter(o, e);
  }

 private:
  std::function<bool(int)> mTaste;
};
}  // namespace

void frmVelkora::Anzeige_verbinden() {
  mAnzeige = std::make_unique<Monatsanzeige>(msgFlexGrid->raster(), msgFlexKaWo->raster(), msgFlexTaSu->raster());
  mAnzeige->zeilenzahl_geändert = [this] { Tabellenfelder_anordnen(false); };
  mAnzeige->markierung_aufheben = [] { Markierung_aufheben(); };
  mAnzeige->kopf_zweizeilig = [this] { return mZweizeiligerKopf; };
  connect(cmbMitarbeitergruppen, &QComboBox::activated, this, [this](int) { cmbMitarbeitergruppen_Click(); });
  // A click on a tab gives it the focus, so that the arrow keys reach it next.
  tabJahre->setFocusPolicy(Qt::StrongFocus);
  tabMonate->setFocusPolicy(Qt::StrongFocus);
  tabJahre->installEventFilter(new Pfeiltasten(this, [this](int taste) {
    tabJahre_KeyDown(taste);
    return true;
  }));
  // Once the month tabs hold the focus, the arrows go on from month to month; the
  // tab bar's own stepping would change the tab without showing its month.
  tabMonate->installEventFilter(new Pfeiltasten(this, [this](int taste) {
    const int monat = tabMonate->currentIndex();
    tabMonate_wählen(taste == 37 ? (monat + 11) % 12 : (monat + 1) % 12);
    return true;
  }));
}

void frmVelkora::Daten_anzeigen(bool beschäftigt) {
  Prozedur(QStringLiteral("frmVelkora - Daten_anzeigen"), [&] {
    gMerker = false;
    CheckKonfigdaten();
    const bool konfiguration = gMerker;
    // An employee table read again lays the window out by itself (see the constructor).
    CheckMitarbeiterdaten();
    // The menus follow the settings and the level; codes of a changed button table or
    // rows of a changed employee list must not be pasted or replayed.
    if (gMerker) Menüpunkte_aktivieren();
    if (konfiguration) Form_Resize();
    mAnzeige->anzeigen(beschäftigt);
  });
}

void frmVelkora::tabMonate_Click() {
  Prozedur(QStringLiteral("frmVelkora - tabMonate_Click"), [&] {
    gMonatsschlüssel = tabJahre->tabText(tabJahre->currentIndex()).right(2) +
                       QStringLiteral("%1").arg(tabMonate->currentIndex() + 1, 2, 10, QChar(u'0'));
    Ferientage_suchen();
    Daten_anzeigen(false);
    // Counted from the month just read: a month without a file has no lines.
    if (mAnzeige->monat().einträge.size() > kVerdichtungsschwelle * Mitarbeiterzeilen())
      Erfassungsdatei_defragmentieren();
    if (gStörungAnzeigen) {
      gStörungAnzeigen = false;
      gOffeneDatei.clear();
      if (!gStörungsmeldung.isEmpty()) Störungsmeldung_anzeigen();
    }
    mÄnderungsprüfung->zurücksetzen();
  });
}

void frmVelkora::Monat_neu_laden() {
  Prozedur(QStringLiteral("frmVelkora - Monat_neu_laden"), [&] {
    Raster& g = msgFlexGrid->raster();
    const int oben = g.TopRow();
    Markierung_beibehalten([this] { tabMonate_Click(); });
    // The rows the user was looking at stay in view (as far as the grid still reaches).
    g.setTopRow(oben);
  });
}

void frmVelkora::tabMonate_wählen(int index) {
  {
    const QSignalBlocker b(tabMonate);
    tabMonate->setCurrentIndex(index);
  }
  mÄnderungsprüfung->zurücksetzen();
  tabMonate_Click();
}

void frmVelkora::tabJahre_Click() {
  Prozedur(QStringLiteral("frmVelkora - tabJahre_Click"), [&] {
    if (Setting(40) != 0) {
      tabMonate_Click();
      return;
    }
    // Continuous: forward into a year begins with its January, back ends with its December.
    const QString neu = tabJahre->tabText(tabJahre->currentIndex()).right(2);
    const QString alt = gMonatsschlüssel.left(2);
    const int monat = tabMonate->currentIndex();
    if (neu > alt && monat != 0)
      tabMonate_wählen(0);
    else if (neu < alt && monat != 11)
      tabMonate_wählen(11);
    else
      tabMonate_Click();
  });
}

void frmVelkora::tabJahre_KeyDown(int taste) {
  Prozedur(QStringLiteral("frmVelkora - tabJahre_KeyDown"), [&] {
    if (taste != 37 && taste != 39) return;
    tabMonate->setFocus();
    const int monat = tabMonate->currentIndex();
    tabMonate_wählen(taste == 37 ? (monat + 11) % 12 : (monat + 1) % 12);
  });
}

void frmVelkora::Anzeigegruppen_füllen() {
  const QStringList gruppen = Anzeigegruppen();
  const bool keine = gruppen.isEmpty() || gruppen.first() == u"NoGroups";
  cmbMitarbeitergruppen->setVisible(!keine && gruppen.size() > 1);
  if (keine) return;
  const QSignalBlocker b(cmbMitarbeitergruppen);
  cmbMitarbeitergruppen->clear();
  for (const QString& g : gruppen) cmbMitarbeitergruppen->addItem(g.left(g.indexOf(u'|')));
  if (Anzeigegruppe() >= cmbMitarbeitergruppen->count()) Anzeigegruppe_setzen(0);
  cmbMitarbeitergruppen->setCurrentIndex(Anzeigegruppe());
}

void frmVelkora::cmbMitarbeitergruppen_Click() {
  Prozedur(QStringLiteral("frmVelkora - cmbMitarbeitergruppen_Click"), [&] {
    const int gewählt = cmbMitarbeitergruppen->currentIndex();
    if (gewählt == Anzeigegruppe()) return;
    msgFlexGrid->raster().setTopRow(1);
    Anzeigegruppe_setzen(gewählt);
    Daten_anzeigen(false);
  });
}

void frmVelkora::CheckAnzeigegruppen() {
  Prozedur(QStringLiteral("frmVelkora - CheckAnzeigegruppen"), [&] {
    if (!cmbMitarbeitergruppen->isHidden()) {
      Meldung(QStringLiteral("Nicht möglich, wenn Anzeigegruppen aktiv sind"));
      return;
    }
    gBenutzerwerte[32] = 300;
    msgFlexGrid->raster().setRowHeightMin(300);
    msgFlexTaSu->raster().setRowHeightMin(300);
    gBenutzerwerte[33] = 0;
    Form_Resize();
  });
}
