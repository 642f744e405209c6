#include "people/Wartungssperre.h"

#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Mitarbeiterdaten.h"

namespace {
QString Pfad() { return gDatenordner + QStringLiteral("Lockfile.txt"); }
}  // namespace

Wartungssperre::Wartungssperre() {
  if (Datei_vorhanden(Pfad())) return;
  if (!FOpen(Pfad(), QStringLiteral("Output"), QStringLiteral("IgnoreErrors"))) return;
  LineOutPlain(QStringLiteral("Wegen Wartungsarbeiten Programmaufruf zurzeit nicht möglich|") + gBenutzername + u'|' +
               Name_zu_BenutzerID(gBenutzername));
  FClose();
  mGesetzt = true;
}

Wartungssperre::~Wartungssperre() {
  if (mGesetzt) Löschen(Pfad());
}
