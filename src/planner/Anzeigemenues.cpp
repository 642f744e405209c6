// The main window's items for display permissions and display groups.
#include <QAction>
#include <QComboBox>

#include "people/Gruppenspalten.h"
#include "people/frmAnzeigeberechtigungen.h"
#include "people/frmAnzeigegruppen.h"
#include "planner/Menuebefehle.h"
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

void frmVelkora::mnuAnzeigeberechtigungen_Click() {
  Menübefehl_ausführen(*this, QStringLiteral("mnuAnzeigeberechtigungen"));
}

void frmVelkora::mnuAnzeigegruppen_Click() { Menübefehl_ausführen(*this, QStringLiteral("mnuAnzeigegruppen")); }

bool Anzeigeberechtigungen_zeigen(frmVelkora& f) {
  if (!Mitarbeiter_erfasst()) return false;
  f.Tag.clear();
  const QStringList überschriften = Gruppenüberschriften();
  for (const QString& h : überschriften) f.Tag += h + u':';
  if (überschriften.size() < 2) {
    f.Tag.clear();
    Meldung(Gruppierungsmeldung(static_cast<int>(überschriften.size())));
    return false;
  }
  frmAnzeigeberechtigungen dialog(f.Tag, &f);
  dialog.exec();
  return true;
}

bool Anzeigegruppen_zeigen(frmVelkora& f) {
  if (!Mitarbeiter_erfasst()) return false;
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
    return false;
  }
  frmAnzeigegruppen dialog(sichtbar, &f);
  dialog.exec();
  f.Anzeigegruppen_füllen();
  return true;
}
