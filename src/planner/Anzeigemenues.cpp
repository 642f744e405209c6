// The main window's items for display permissions and display groups.
#include <QAction>
#include <QComboBox>

#include "people/Gruppenspalten.h"
#include "people/frmAnzeigeberechtigungen.h"
#include "people/frmAnzeigegruppen.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Meldungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Velkoraini.h"

namespace {

QString Gruppierungsmeldung(int überschriften) {
  return QStringLiteral(
             "Sie müssen die Mitarbeiter zuerst gruppieren. Dies können Sie, indem Sie unter "
             "'Bearbeiten - Mitarbeiter' ") +
         (überschriften == 1 ? QStringLiteral("weitere ") : QString()) + QStringLiteral("Überschriften einfügen.");
}

}  // namespace

void frmVelkora::Anzeigemenüs_verbinden() {
  connect(aktion(QStringLiteral("mnuAnzeigeberechtigungen")), &QAction::triggered, this,
          [this] { mnuAnzeigeberechtigungen_Click(); });
  connect(aktion(QStringLiteral("mnuAnzeigegruppen")), &QAction::triggered, this,
          [this] { mnuAnzeigegruppen_Click(); });
}

void frmVelkora::mnuAnzeigeberechtigungen_Click() {
  Prozedur(QStringLiteral("frmVelkora - mnuAnzeigeberechtigungen_Click"), [&] {
    if (!Mitarbeiter_erfasst()) return;
    Tag.clear();
    const QStringList überschriften = Gruppenüberschriften();
    for (const QString& h : überschriften) Tag += h + u':';
    if (überschriften.size() < 2) {
      Tag.clear();
      Meldung(Gruppierungsmeldung(static_cast<int>(überschriften.size())));
      return;
    }
    frmAnzeigeberechtigungen dialog(Tag, this);
    dialog.exec();
    Form_Resize();
    Daten_anzeigen(false);
  });
}

void frmVelkora::mnuAnzeigegruppen_Click() {
  Prozedur(QStringLiteral("frmVelkora - mnuAnzeigegruppen_Click"), [&] {
    if (!Mitarbeiter_erfasst()) return;
    int sichtbar = 0;
    for (const QString& h : Gruppenüberschriften())
      if (Anzeigeberechtigung_enthält(h)) ++sichtbar;
    if (sichtbar < 2) {
      if (gBenutzerstufe == 2)
        Meldung(Gruppierungsmeldung(sichtbar));
      else
        Meldung(QStringLiteral(
            "Das Festlegen von Anzeigegruppen ist nicht notwendig bzw. möglich, da keine weiteren "
            "Mitarbeitergruppen vorhanden sind bzw. keine Berechtigung zur Anzeige weiterer Mitarbeitergruppen "
            "besteht."));
      return;
    }
    Tag = QString::number(sichtbar);
    frmAnzeigegruppen dialog(sichtbar, this);
    dialog.exec();
    Anzeigegruppen_füllen();
    Form_Resize();
    Daten_anzeigen(false);
    if (gBenutzerwerte[33] == 0 && cmbMitarbeitergruppen->isHidden()) CheckAnzeigegruppen();
  });
}
