// One workstation of the multi-workstation test of the year change: a separate process
// that starts on a shared data folder (configuration, employees and holidays read),
// waits until a file appears and then runs the year change as the start does.
//
//   velkora_jahreswechsel_helfer <data folder> <today yymmdd> <start file> <number>
//
// Prints "bereit" once loaded and the planning year at the end. Exit code 0 when
// nothing was reported.
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QThread>
#include <cstdio>

#include "platform/Dialoge.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Feiertage.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // What the program's wiring does when a write took long (it notes the slow network
  // in the user's settings) has no place here; a slow write is no fault.
  gLangsamesNetzGesehen = [] {};
  const QStringList a = app.arguments();
  if (a.size() < 5) return 64;
  dialoge::Skript& skript = dialoge::skript();
  gDatenordner = a[1].endsWith(u'/') ? a[1] : a[1] + u'/';
  gLogordner = gDatenordner + QStringLiteral("Logs/");
  gSicherungsordner = gDatenordner + QStringLiteral("Backups/");
  gIniOrdner = gDatenordner + QStringLiteral("IniFiles/");
  gBenutzername = QStringLiteral("platz") + a[4];
  gHeuteText = a[2];
  gHeute = QDate(2000 + gHeuteText.left(2).toInt(), gHeuteText.mid(2, 2).toInt(), gHeuteText.mid(4, 2).toInt());
  gDezimaltrennzeichen = QStringLiteral(",");
  gDatumstrennzeichen = QStringLiteral(".");
  Konfigdaten_lesen();
  Mitarbeiterdaten_lesen();
  Feiertage_lesen();
  std::printf("bereit\n");
  std::fflush(stdout);
  while (!QFile::exists(a[3])) QThread::usleep(100);
  Jahreswechsel_nachholen();
  std::printf("%d\n", gPlanungsjahr);
  for (const QString& t : skript.texte()) std::fprintf(stderr, "%s\n", t.toUtf8().constData());
  return skript.texte().empty() ? 0 : 1;
}
