#include "startup/Logbuch.h"

#include "platform/Zustand.h"

bool gLogbuchPuffern = false;
QStringList gLogbuchPuffer{QStringLiteral("NoData")};

namespace {
void Zustand_zurücksetzen() {
  gLogbuchPuffern = false;
  gLogbuchPuffer = QStringList{QStringLiteral("NoData")};
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);
}  // namespace

void Logbuch_ergänzen(int, const QString&) {}
void Logbuch_bereinigen(const QString&) {}
void Logbuch_ÜStd_ergänzen(int, const QString&) {}
