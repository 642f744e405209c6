#include "planner/Ansichtsbefehle.h"

#include <QAction>
#include <QComboBox>

#include "planner/frmKommentar.h"
#include "planner/frmVelkora.h"
#include "platform/widgets/Rasteransicht.h"
#include "store/Anzeigeberechtigungen.h"
#include "views/Ansichtsrahmen.h"
#include "views/frmSummenuebersicht.h"

void Nach_Ansicht(frmVelkora& f) {
  if (Anzeigegruppen_Anzahl() > 0 && f.cmbMitarbeitergruppen->currentIndex() >= 0)
    gAnzeigegruppe = f.cmbMitarbeitergruppen->currentIndex();
  f.Daten_anzeigen(false);
}

void Ansichtsbefehle_verbinden(frmVelkora& f) {
  gAnsichtshaken.hauptfenster_tag = [](const QString& wert) {
    if (frmVelkora* h = frmVelkora::instanz()) h->Tag = wert;
  };
  gAnsichtshaken.namensspaltenbreite = [] {
    frmVelkora* h = frmVelkora::instanz();
    return h ? h->msgFlexGrid->raster().ColWidth(0) : 2700;
  };
  gAnsichtshaken.eingabe = [](QWidget* fenster, const QString& aufforderung) {
    // "label|preset||title"
    const qsizetype t = aufforderung.indexOf(QStringLiteral("||"));
    const QString kopf = t < 0 ? aufforderung : aufforderung.left(t);
    const QString titel = t < 0 ? QString() : aufforderung.mid(t + 2);
    const qsizetype v = kopf.indexOf(u'|');
    return Eingabefeld(v < 0 ? kopf : kopf.left(v), v < 0 ? QString() : kopf.mid(v + 1), titel, fenster);
  };
  gAnsichtshaken.nach_schließen = [] {
    if (frmVelkora* h = frmVelkora::instanz()) Nach_Ansicht(*h);
  };
  if (QAction* a = f.aktion(QStringLiteral("mnuSummenübersicht"))) {
    a->setEnabled(true);
    QObject::connect(a, &QAction::triggered, &f, [&f] { Summenübersicht_zeigen(&f); });
  }
}
