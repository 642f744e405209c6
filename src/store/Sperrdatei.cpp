#include "store/Sperrdatei.h"

#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Mitarbeiterdaten.h"

namespace {
QString Sperrdateipfad() { return gDatenordner + QStringLiteral("Lockfile.txt"); }
}  // namespace

bool Sperrdatei_anlegen(const QString& sperrtext) {
  try {
    if (!FOpen(Sperrdateipfad(), QStringLiteral("Output"), QStringLiteral("IgnoreErrors"))) return false;
    const QString name = Name_zu_BenutzerID(gBenutzername);
    LineOutPlain(sperrtext + u'|' + gBenutzername + (name.isEmpty() ? QString() : u'|' + name));
    FClose();
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (...) {
    FVerwerfen();
    return false;
  }
  gSperrmeldung = sperrtext;
  return Datei_vorhanden(Sperrdateipfad());
}

bool Sperrdatei_entfernen() {
  Löschen(Sperrdateipfad());
  if (Datei_vorhanden(Sperrdateipfad())) return false;
  gSperrmeldung.clear();
  return true;
}
