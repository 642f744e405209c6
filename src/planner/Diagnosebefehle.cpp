#include "planner/Diagnosebefehle.h"

#include <QDir>
#include <QUuid>

#include "planner/Ansichtsbefehle.h"
#include "planner/Dateibefehle.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Meldungen.h"
#include "startup/Ordner.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"

QString Schreibtest_Dateiname() {
  // Never the lock file or any other file a workstation keeps there: a name no other
  // test, workstation or program file can have.
  return QStringLiteral("Schreibtest ") + QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".tmp");
}

void CheckSchreibberechtigung() {
  Prozedur(QStringLiteral("frmVelkora - CheckSchreibberechtigung"), [&] {
    const QString datei = gDatenordner + Schreibtest_Dateiname();
    const QString ordner = ShowPfad(gDatenordner);
    for (int durchgang = 1; durchgang <= 2; ++durchgang) {
      Löschen(datei);
      if (Datei_vorhanden(datei)) {
        Meldung(QStringLiteral("Fehler: Testdatei im Ordner ") + ordner +
                QStringLiteral(" konnte nicht gelöscht werden"));
        return;
      }
      if (durchgang == 2) break;
      if (!Alle_Zeilen_schreiben_wie(datei, {QStringLiteral("Dummy")},
                                     {.art = Zeilenart::Klartext, .fehlerIgnorieren = true})) {
        Meldung(QStringLiteral("Fehler: Testdatei im Ordner ") + ordner +
                QStringLiteral(" konnte nicht angelegt werden"));
        return;
      }
    }
    Meldung(QStringLiteral("Test OK"));
  });
}

void UNC_Pfad_eingeben(frmVelkora& f) {
  Prozedur(QStringLiteral("frmVelkora - UNC_Pfad_eingeben"), [&] {
    gUNCPfad = Eingabe_im_Kommentarfeld(
                   &f, QStringLiteral("UNC-Pfad in folgender Form eingeben:\r\r/mnt/Server/Ordner/Ordner||Velkora"))
                   .trimmed();
    if (gUNCPfad.isEmpty()) return;
    // The folder a share is mounted on: an absolute path below the root.
    if (!gUNCPfad.startsWith(u'/') || QDir::cleanPath(gUNCPfad) == u"/") {
      gUNCPfad.clear();
      Meldung(QStringLiteral("Unzulässige Eingabe"));
      return;
    }
    Sanduhr_Mauszeiger(true);
    if (!Verzeichnis_vorhanden(gUNCPfad)) {
      Sanduhr_Mauszeiger(false);
      Meldung(QStringLiteral("Der Ordner ") + ShowPfad(gUNCPfad) + QStringLiteral(" wurde nicht gefunden"));
      gUNCPfad.clear();
      return;
    }
    Sanduhr_Mauszeiger(false);
    mnuDatenordner_ändern_Click(f);
    gUNCPfad.clear();
  });
}
