// Takes a picture of the main window showing a month of a small sample organisation,
// offscreen, for the README:  velkora_bildschirmfoto FOLDER PICTURE.png
// FOLDER is created afresh and holds the program's base and data folders.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QPixmap>
#include <QTabBar>
#include <cstdio>

#include "launch/Programmstart.h"
#include "planner/Programm.h"
#include "planner/frmVelkora.h"
#include "platform/Umgebung.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"

namespace {

struct Person {
  const char* name;
  const char* benutzer;  // empty: a group heading
};

const Person kPersonen[] = {
    {"Verwaltung", ""},      {"Becker Anna", "abecker"},    {"Schulz Jonas", "jschulz"}, {"Wagner Lea", "lwagner"},
    {"Lager", ""},           {"Hoffmann Max", "mhoffmann"}, {"Koch Sophie", "skoch"},    {"Richter Paul", "prichter"},
    {"Klein Mia", "mklein"},
};

// 31 day codes from a pattern of (day, code character) pairs; "1" is the first button.
QString Tage(std::initializer_list<std::pair<int, char>> tage) {
  QString t(31, u' ');
  for (const auto& [tag, code] : tage) t[tag - 1] = QChar::fromLatin1(code);
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("USERNAME", "abecker");
  QApplication app(argc, argv);
  const QStringList a = app.arguments();
  if (a.size() != 3) {
    std::fprintf(stderr, "usage: velkora_bildschirmfoto FOLDER PICTURE.png\n");
    return 2;
  }
  const QString ordner = QDir(a[1]).absolutePath() + u'/';
  // The start makes the temporary folder the current one.
  const QString bild = QDir(a[2]).absolutePath();
  QDir(ordner).removeRecursively();
  QDir().mkpath(ordner + QStringLiteral("Programm"));
  QDir().mkpath(ordner + QStringLiteral("Temp"));
  QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"), ordner + QStringLiteral("Programm/VelkoraFtg.dat"));
  qputenv("TEMP", QFile::encodeName(ordner + QStringLiteral("Temp")));
  // A runtime folder of its own: a program of this user already running does not keep
  // the picture from being taken.
  QDir().mkpath(ordner + QStringLiteral("Laufzeit"));
  QFile::setPermissions(ordner + QStringLiteral("Laufzeit"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(ordner + QStringLiteral("Laufzeit")));
  umgebung::setzeProgrammordner(ordner + QStringLiteral("Programm"));

  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  Programm_verdrahten();
  Kommandozeile_setzen(
      {QStringLiteral("/d:120326"), QStringLiteral("/path:") + ordner, QStringLiteral("/nowelcomescreen")});
  Main();
  frmVelkora* f = frmVelkora::instanz();
  if (!f) return 1;

  gFirmenname = QStringLiteral("Musterfirma GmbH");
  Konfigdaten_schreiben();
  const int n = static_cast<int>(std::size(kPersonen));
  Mitarbeitertabelle_dimensionieren(n);
  for (int i = 1; i <= n; ++i) {
    const Person& p = kPersonen[i - 1];
    gMitarbeiterNamen[i] = QString::fromUtf8(p.name);
    gBenutzerIDs[i] = QString::fromUtf8(p.benutzer);
    const bool person = *p.benutzer != '\0';
    gEintrittsdaten[i] = person ? QStringLiteral("000000") : QString();
    gAustrittsdaten[i] = person ? QStringLiteral("999999") : QString();
    gUrlaubsdaten[i] = person ? QStringLiteral("000,0:030,0:030,0:030,0:030,0") : QString();
    gSonderurlaubsanspruch[i] = person ? QStringLiteral("000,0") : QString();
  }
  Mitarbeiterdaten_schreiben();
  Mitarbeiterdaten_lesen();
  Monatsdatei_speichern(QStringLiteral("2603"),
                        {QStringLiteral("A:abecker:") + Tage({{9, '1'}, {10, '1'}, {11, '1'}, {12, '1'}, {13, '1'}}),
                         QStringLiteral("A:jschulz:") + Tage({{4, '3'}, {18, '4'}, {19, '4'}}),
                         QStringLiteral("K:jschulz:18-19:Messe Hannover"),
                         QStringLiteral("A:lwagner:") + Tage({{2, '5'}, {3, '5'}, {4, '5'}, {25, '2'}}),
                         QStringLiteral("A:mhoffmann:") + Tage({{23, '1'}, {24, '1'}, {25, '1'}, {26, '1'}, {27, '1'}}),
                         QStringLiteral("A:skoch:") + Tage({{16, '6'}, {30, '3'}, {31, '3'}}),
                         QStringLiteral("A:mklein:") + Tage({{12, '2'}, {20, '1'}})});
  Titelzeile();
  f->resize(1500, 520);
  f->show();
  f->tabMonate_Click();
  QApplication::processEvents();
  const bool ok = f->grab().save(bild);
  Hauptfenster_entladen();
  return ok ? 0 : 1;
}
