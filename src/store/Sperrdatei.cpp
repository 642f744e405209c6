#include "store/Sperrdatei.h"

#include "platform/Programmende.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Mitarbeiterdaten.h"

QString gSperrmeldung;
QString gSperrzeit;

namespace {
void Zustand_zurücksetzen() {
  gSperrmeldung.clear();
  gSperrzeit.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

QString Sperrdateipfad() { return gDatenordner + QStringLiteral("Lockfile.txt"); }
}  // namespace

bool Sperrdatei_anlegen(const QString& sperrtext) {
  try {
    const QString name = Name_zu_BenutzerID(gBenutzername);
    const QString zeile = sperrtext + u'|' + gBenutzername + (name.isEmpty() ? QString() : u'|' + name);
    if (!Alle_Zeilen_schreiben_wie(Sperrdateipfad(), {zeile}, {.art = Zeilenart::Klartext, .fehlerIgnorieren = true}))
      return false;
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
