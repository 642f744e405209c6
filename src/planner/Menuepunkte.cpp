// Which menu items of the main window the user sees and may use.
#include <QAction>

#include "planner/Aenderungspruefung.h"
#include "planner/Undo.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

void frmVelkora::Menüpunkt_freigeben(const QString& name, bool an) {
  QAction* a = aktion(name);
  if (!a) return;
  mFreigegeben[name] = an;
  a->setEnabled(an);
}

void frmVelkora::Menüpunkt_zeigen(const QString& name, bool an) {
  if (QAction* a = aktion(name)) a->setVisible(an);
}

bool frmVelkora::Menüpunkt_freigegeben(const QString& name) const {
  const auto it = mFreigegeben.find(name);
  return it != mFreigegeben.end() && it->second;
}

void frmVelkora::Menüpunkte_aktivieren() {
  Prozedur(QStringLiteral("frmVelkora - Menüpunkte_aktivieren"), [&] {
    if (QAction* a = aktion(QStringLiteral("mnuDatenordner_ändern")))
      a->setText(QStringLiteral("Datenordner &ändern ..."));
    for (const char16_t* name :
         {u"mnuDatenexport", u"mnuRecovery", u"mnuDrucken", u"mnuLeer1", u"mnuBearbeiten", u"mnuAnsicht", u"mnuHelp"})
      Menüpunkt_zeigen(QString::fromUtf16(name), true);

    Menüpunkt_zeigen(QStringLiteral("mnuAnzeigegruppen"), Setting(17) != 1);
    Menüpunkt_zeigen(QStringLiteral("mnuUrlaubsübersicht"), SettingStr(20, 4) != u"####");
    Menüpunkt_zeigen(QStringLiteral("mnuRTTÜbersicht"), Setting(33) != 0);
    Menüpunkt_zeigen(QStringLiteral("mnuAnzeigeberechtigungen"), Setting(18) != 1);
    Menüpunkt_zeigen(QStringLiteral("mnuPrivilegierteBenutzer"), Setting(11) != 0);

    Menüpunkt_freigeben(QStringLiteral("mnuJahresübersicht"), gBenutzerstufe > 0 || gIstMitarbeiter);
    const bool übersichten = Setting(19) != 1 || gBenutzerstufe > 0;
    for (const char16_t* name : {u"mnuUrlaubsübersicht", u"mnuRTTÜbersicht", u"mnuSummenübersicht"})
      Menüpunkt_freigeben(QString::fromUtf16(name), übersichten);
    Menüpunkt_freigeben(QStringLiteral("mnuLogbuch"), !(Setting(3) == 2 && Setting(28) == 1 && gBenutzerstufe == 0));

    // Disabled for the rest of the run: a level raised by a reload counts from the next start.
    if (gBenutzerstufe != 2)
      for (const char16_t* name : {u"mnuDatenexport", u"mnuDatenimport", u"mnuRecovery", u"mnuMitarbeiter",
                                   u"mnuAnzeigeberechtigungen", u"mnuAnAbwesenheitsgründe", u"mnuWochenende",
                                   u"mnuFeiertage", u"mnuAdministratoren", u"mnuPrivilegierteBenutzer"})
        Menüpunkt_freigeben(QString::fromUtf16(name), false);
    if (gRückblick)
      for (const char16_t* name : {u"mnuDatenordner_ändern", u"mnuDatenexport", u"mnuDatenimport", u"mnuRecovery",
                                   u"mnuBearbeiten", u"mnuLogbuch"})
        Menüpunkt_freigeben(QString::fromUtf16(name), false);

    mÄnderungsprüfung->einschalten(Setting(32) != 1);
    Puffer_zurücksetzen();
  });
}
