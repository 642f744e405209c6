#include "people/Wartungssperre.h"

#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Sperrdatei.h"

namespace {
QString Pfad() { return gDatenordner + QStringLiteral("Lockfile.txt"); }
}  // namespace

Wartungssperre::Wartungssperre() {
  if (Datei_vorhanden(Pfad())) return;
  mGesetzt = Sperrdatei_anlegen(QStringLiteral("Wegen Wartungsarbeiten Programmaufruf zurzeit nicht möglich"));
}

Wartungssperre::~Wartungssperre() {
  if (mGesetzt) Sperrdatei_entfernen();
}
