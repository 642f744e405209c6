#include "store/Monatsstand.h"

#include <sys/stat.h>

#include <QFile>

#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Mitarbeiterdaten.h"

Monatsstand gMonatsdateiStand;

namespace {

void Zustand_zurücksetzen() { gMonatsdateiStand = Monatsstand{}; }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

}  // namespace

Monatsstand Monatsstand_lesen(const QString& monatsschlüssel) {
  Monatsstand s;
  s.schlüssel = monatsschlüssel;
  s.bekannt = true;
  s.name = Erfassungsdatei_Name(monatsschlüssel);
  if (s.name.isEmpty()) return s;
  struct stat st {};
  // Gone between the listing and this look (another workstation replaced it): the
  // stamp keeps the name with size -1, which differs from any real one.
  if (::stat(QFile::encodeName(gDatenordner + s.name).constData(), &st) != 0) return s;
  s.zeit = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.größe = static_cast<qint64>(st.st_size);
  s.datei = static_cast<quint64>(st.st_ino) ^ (static_cast<quint64>(st.st_dev) << 40);
  return s;
}

void Monatsstand_merken(const QString& monatsschlüssel) { gMonatsdateiStand = Monatsstand_lesen(monatsschlüssel); }

void Monatsstand_verwerfen() { gMonatsdateiStand = Monatsstand{}; }

bool Monatsstand_geändert(const QString& monatsschlüssel) {
  return Monatsstand_lesen(monatsschlüssel) != gMonatsdateiStand;
}

void Monatsstand_nach_eigenem_Schreiben(const QString& monatsschlüssel, const Monatsstand& vorher) {
  // The stamp of another month than the one written stays as it is.
  if (gMonatsdateiStand.bekannt && gMonatsdateiStand.schlüssel != monatsschlüssel) return;
  if (vorher == gMonatsdateiStand)
    gMonatsdateiStand = Monatsstand_lesen(monatsschlüssel);
  else
    Monatsstand_verwerfen();
}

void Mitarbeiterdaten_vor_Umschreiben_prüfen() {
  const QString pfad = gDatenordner + QStringLiteral("Mitarbeiterdaten.dat");
  // No file: the table was set up without one and nothing newer can be read.
  if (!Datei_vorhanden(pfad)) return;
  if (Dateizeit(pfad) == gMitarbeiterdatenZeit) return;
  Mitarbeiterdaten_lesen();
}
