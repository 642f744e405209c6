#include "planner/Ansichtsbefehle.h"

#include <QAction>
#include <QComboBox>
#include <QTabBar>

#include "planner/CSV_Export.h"
#include "planner/Mausrad.h"
#include "planner/Menuebefehle.h"
#include "planner/frmHilfe.h"
#include "planner/frmKommentar.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "printing/frmDrucken.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Feiertage.h"
#include "views/Ansichtsrahmen.h"
#include "views/frmJahresuebersicht.h"
#include "views/frmLogbuch.h"
#include "views/frmSummenuebersicht.h"
#include "views/frmUrlaubsuebersicht.h"
#include "widgets/Rasteransicht.h"

void Ansicht_übernehmen(frmVelkora& f) {
  if (Anzeigegruppen_Anzahl() > 0 && f.cmbMitarbeitergruppen->currentIndex() >= 0)
    gAnzeigegruppe = f.cmbMitarbeitergruppen->currentIndex();
  // The year overview reads other months through the shared month state: the shown
  // month comes from the tabs again.
  gMonatsschlüssel = f.tabJahre->tabText(f.tabJahre->currentIndex()).right(2) +
                     QStringLiteral("%1").arg(f.tabMonate->currentIndex() + 1, 2, 10, QChar(u'0'));
  Ferientage_suchen();
}

QString Eingabe_im_Kommentarfeld(QWidget* fenster, const QString& aufforderung) {
  // "label|preset||title"
  const qsizetype t = aufforderung.indexOf(QStringLiteral("||"));
  const QString kopf = t < 0 ? aufforderung : aufforderung.left(t);
  const QString titel = t < 0 ? QString() : aufforderung.mid(t + 2);
  const qsizetype v = kopf.indexOf(u'|');
  return Eingabefeld(v < 0 ? kopf : kopf.left(v), v < 0 ? QString() : kopf.mid(v + 1), titel, fenster);
}

void Jahresübersicht_anzeigen(frmVelkora& f, const QString& parameter) {
  Prozedur(QStringLiteral("frmVelkora - Jahresübersicht_anzeigen"), [&] {
    f.Tag = parameter;
    Jahresübersicht_zeigen(&f);
    Nachschritte(f, Menübefehl_zu(QStringLiteral("mnuJahresübersicht"))->danach);
  });
}
