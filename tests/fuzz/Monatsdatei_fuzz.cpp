// Fuzz target of the month-record reader: the input is the file of a month in a data
// folder of its own. Reading it, its check and, for an administrator, its repair never
// crash or hang; a damaged file ends in the start repair or a fatal stop, which the
// fuzz run takes as a normal end.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <exception>

#include "platform/Dialoge.h"
#include "platform/Programmende.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"

namespace {

QTemporaryDir* gOrdner = nullptr;

QString Unterordner(const QString& name) {
  const QString o = gOrdner->path() + u'/' + name + u'/';
  QDir().mkpath(o);
  return o;
}

// A started program on the fuzz folder: four code buttons, three employees.
void Programm_einrichten(int stufe) {
  zustand::alleZurücksetzen();
  uhr::Quellen q;
  q.heute = [] { return QDate(2026, 3, 10); };
  q.zeit = [] { return QTime(9, 30); };
  q.schlafen = [](double) {};
  q.zufall = [] { return 0.5; };
  uhr::setze(q);
  dialoge::skript();
  gHeute = QDate(2026, 3, 10);
  gHeuteText = QStringLiteral("260310");
  gBenutzername = QStringLiteral("fuzz");
  gDatenordner = Unterordner(QStringLiteral("Data"));
  gLogordner = Unterordner(QStringLiteral("Data/Logs"));
  gSicherungsordner = Unterordner(QStringLiteral("Data/Backups"));
  gIniOrdner = Unterordner(QStringLiteral("Data/IniFiles"));
  gDatumstrennzeichen = QStringLiteral(".");
  gSettings = Standardeinstellungen();
  gPlanungsjahr = 2025;
  gBenutzerstufe = stufe;
  gKennzeile = QStringLiteral("Kennung");
  gSFTexte =
      QStringList{QString(), QStringLiteral("U"), QStringLiteral("H"), QStringLiteral("K"), QStringLiteral("Löschen")};
  gMitarbeiterNamen = QStringList{QString(), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("Gruppe")};
  gBenutzerIDs = QStringList{QString(), QStringLiteral("a"), QStringLiteral("b"), QString()};
  Mitarbeitertabelle_dimensionieren(3);
}

void Leeren(const QString& ordner) {
  for (const QString& n : QDir(ordner).entryList(QDir::Files | QDir::Hidden | QDir::System)) QFile::remove(ordner + n);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  programmende::setzeTestmodus(true);
  gOrdner = new QTemporaryDir;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
  // The first byte picks the user level: an administrator's read repairs the file.
  const int stufe = größe > 0 && (daten[0] & 1) ? 2 : 0;
  Programm_einrichten(stufe);
  {
    QFile f(gDatenordner + QStringLiteral("2603 260309 Data.dat"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    if (größe > 1) f.write(reinterpret_cast<const char*>(daten + 1), static_cast<qint64>(größe - 1));
  }
  try {
    Erfassungsdaten_lesen(QStringLiteral("2603"));
    Monatsdatei_kompakte_Zeilen();
  } catch (const ProgrammBeendet&) {
  }
  FVerwerfen();
  for (const QString& o : {gDatenordner, gLogordner, gSicherungsordner, gIniOrdner}) Leeren(o);
  return 0;
}
