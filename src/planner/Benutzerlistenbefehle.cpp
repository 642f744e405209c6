// Bearbeiten - Administratoren and Bearbeiten - Privilegierte Benutzer: the main
// window's Tag tells the dialog which list it edits (and the help which topic).
#include "people/frmAdmins.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"

namespace {

void Benutzerliste_bearbeiten(frmVelkora& f, const QString& modus) {
  f.Tag = modus;
  Administratoren_bearbeiten(&f, f.Tag);
}

}  // namespace

void frmVelkora::mnuAdministratoren_Click() {
  Prozedur(QStringLiteral("frmVelkora - mnuAdministratoren_Click"),
           [&] { Benutzerliste_bearbeiten(*this, QStringLiteral("A")); });
}

void frmVelkora::mnuPrivilegierteBenutzer_Click() {
  Prozedur(QStringLiteral("frmVelkora - mnuPrivilegierteBenutzer_Click"),
           [&] { Benutzerliste_bearbeiten(*this, QStringLiteral("P")); });
}
