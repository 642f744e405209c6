#include "planner/Dateibefehle.h"

#include <QAction>
#include <QComboBox>

#include "planner/Datenexport.h"
#include "planner/Datenordnerwechsel.h"
#include "planner/Markierung.h"
#include "planner/Menuebefehle.h"
#include "planner/Navigation.h"
#include "planner/frmRecovery.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Sicherung.h"
#include "store/Sperrdatei.h"
#include "store/Velkoraini.h"

namespace {
bool Keine_Administratoren() {
  return gAdministratoren.isEmpty() || gAdministratoren.first().compare(u"NoAdmins", Qt::CaseInsensitive) == 0;
}
}  // namespace

void mnuDatenordner_ändern_Click(frmVelkora& f) { Menübefehl_ausführen(f, QStringLiteral("mnuDatenordner_ändern")); }
void mnuDatenexport_Click(frmVelkora& f) { Menübefehl_ausführen(f, QStringLiteral("mnuDatenexport")); }
void mnuDatenimport_Click(frmVelkora& f) { Menübefehl_ausführen(f, QStringLiteral("mnuDatenimport")); }
void mnuRecovery_Click(frmVelkora& f) { Menübefehl_ausführen(f, QStringLiteral("mnuRecovery")); }

bool Datenordner_ändern(frmVelkora&) {
  Markierung_und_Highlight_Off();
  Datenverzeichnis_ändern();
  return true;
}

bool Datenordner_exportieren(frmVelkora&) {
  Markierung_und_Highlight_Off();
  Datenexport();
  return false;
}

bool Datenordner_importieren(frmVelkora&) {
  Markierung_und_Highlight_Off();
  return Datenimport(QString());
}

bool Datenordner_wiederherstellen(frmVelkora& f) {
  Markierung_und_Highlight_Off();
  gSicherungsdatei.clear();
  Recovery_anzeigen(&f);
  if (gSicherungsdatei.isEmpty()) return false;
  return Datenimport(gSicherungsordner + gSicherungsdatei);
}

void Störungsmeldung_anzeigen() {
  Prozedur(QStringLiteral("frmVelkora - Störungsmeldung_anzeigen"), [&] {
    const QString sperrdatei = gDatenordner + QStringLiteral("Lockfile.txt");
    // A lock that nobody could lift is not kept.
    if (Keine_Administratoren()) Löschen(sperrdatei);

    QString betroffen;
    if (gStörungsmeldung.startsWith(QStringLiteral("NoFile"))) {
      const QString rest = gStörungsmeldung.mid(6).trimmed();
      const qsizetype p = rest.lastIndexOf(QStringLiteral(": "));
      if (!rest.isEmpty() && p >= 0) betroffen = QStringLiteral("Fehlende Datei für Monat: ") + rest.mid(p + 2);
    } else if (!gStörungsmeldung.isEmpty()) {
      betroffen = QStringLiteral("Betroffene Datei: ") + ShowPfad(gStörungsmeldung, 170);
    }

    if (!Keine_Administratoren() && gBenutzerstufe != 2) {
      Programmabbruch(QString(),
                      QStringLiteral("Programmaufruf gesperrt:\r\r") + gSperrmeldung +
                          QStringLiteral("\r\rDiese Sperre kann nur von folgenden Administratoren aufgehoben "
                                         "werden: ") +
                          ShowAdmins(false),
                      QStringLiteral("NoLog"));
    }
    // The repair's day and time: lock file line 3, "date|hh:nn".
    const QString datum = gSperrzeit.section(u'|', 0, 0);
    const QString zeit = gSperrzeit.section(u'|', 1, 1);
    QString text = QStringLiteral("Fehlende oder beschädigte Datendatei am ") + datum + QStringLiteral(" um ") + zeit +
                   QStringLiteral(" Uhr erkannt!\r\r");
    if (!betroffen.isEmpty()) text += betroffen + QStringLiteral("\r\r");
    text += QStringLiteral(
        "Es wurde versucht eine Standardversion oder zuletzt gespeicherte Version der Datei wiederherzustellen.\r"
        "Überprüfen Sie, ob alle An-/Abwesenheitsdaten, Mitarbeiterdaten und Einstellungen vollständig und korrekt "
        "sind.\r\r"
        "Gehen Sie so vor, um fehlende Daten wiederherzustellen:\r"
        "1) Drucken Sie über den Menüpunkt 'Ansicht - Logbuch' das Logbuch aus\r"
        "2) Setzen Sie über 'Datei - Datenordner wiederherstellen' auf einen früheren Sicherungszeitpunkt zurück\r"
        "3) Nehmen Sie die nach dem Sicherungszeitpunkt vorgenommenen Eintragungen erneut vor");
    if (Datei_vorhanden(sperrdatei))
      text += QStringLiteral(
          "\r\rDer Programmaufruf durch Mitarbeiter wurde gesperrt. Entfernen Sie abschließend die Programmsperre über "
          "'Bearbeiten - Einstellungen - Programmaufruf sperren'. Diese Meldung erscheint bis Sie die "
          "Programmsperre aufheben.");
    Meldung(text);
  });
}
