#include "platform/Einzelinstanz.h"

#include <QLockFile>
#include <memory>

#include "platform/Umgebung.h"

namespace einzelinstanz {
namespace {
std::unique_ptr<QLockFile> gSperre;
}

bool sichern() {
  if (gSperre) return true;
  auto s = std::make_unique<QLockFile>(umgebung::tempOrdner() + QStringLiteral("velkora-") + umgebung::benutzername() +
                                       QStringLiteral(".instance"));
  s->setStaleLockTime(0);  // a lock is stale only when its process is gone
  if (!s->tryLock(0)) return false;
  gSperre = std::move(s);
  return true;
}

void freigeben() { gSperre.reset(); }

}  // namespace einzelinstanz
