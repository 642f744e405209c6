#include "planner/Menuebefehle.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "config/frmAnAbwesenheitsgruende.h"
#include "config/frmEinstellungen.h"
#include "people/frmMitarbeiter.h"
#include "planner/Ansichtsbefehle.h"
#include "planner/Dateibefehle.h"
#include "planner/Druckbefehle.h"
#include "planner/Hilfebefehle.h"
#include "planner/Markierung.h"
#include "planner/Mausrad.h"
#include "planner/Undo.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Meldungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Velkoraini.h"
#include "views/frmJahresuebersicht.h"
#include "views/frmLogbuch.h"
#include "views/frmSummenuebersicht.h"
#include "views/frmUrlaubsuebersicht.h"
#include "widgets/Rasteransicht.h"

namespace {

constexpr unsigned kNachDatenwechsel = kBerechtigungenLesen | kMenüs | kLayout | kAnzeigen;
constexpr unsigned kNachÜbersicht = kGruppeÜbernehmen | kAnzeigen | kMausrad;

bool Beenden(frmVelkora& f) {
  f.close();
  return false;
}

bool Mitarbeiter(frmVelkora& f) {
  Mitarbeiter_bearbeiten(&f);
  return true;
}

bool AnAbwesenheitsgründe(frmVelkora& f) {
  frmAnAbwesenheitsgruende dialog(&f);
  dialog.exec();
  return true;
}

bool Einstellungen(frmVelkora& f) {
  frmEinstellungen dialog(&f);
  dialog.exec();
  return true;
}

bool Logbuch(frmVelkora& f) {
  Logbuch_zeigen(&f);
  return true;
}

bool Drucken(frmVelkora&) {
  Monatsansicht_drucken(QStringLiteral("E"));
  return false;
}

bool Jahresübersicht(frmVelkora& f) {
  Jahresübersicht_zeigen(&f);
  return true;
}

bool Urlaubsübersicht(frmVelkora& f) {
  Urlaubsübersicht_zeigen(&f, f.Tag);
  return true;
}

bool Summenübersicht(frmVelkora& f) {
  Summenübersicht_zeigen(&f);
  return true;
}

bool Hilfe(frmVelkora& f) {
  mnuHilfe_Click(f);
  return false;
}

bool Info(frmVelkora& f) {
  mnuInfo_Click(f);
  return false;
}

}  // namespace

const std::vector<Menübefehl>& Menübefehle() {
  static const std::vector<Menübefehl> tabelle = {
      {u"mnuDatenordner_ändern", nullptr, &Datenordner_ändern, kNachDatenwechsel, nullptr},
      {u"mnuDatenexport", nullptr, &Datenordner_exportieren, kNichts, nullptr},
      {u"mnuDatenimport", nullptr, &Datenordner_importieren, kNachDatenwechsel | kGruppenprüfung,
       u"Die Daten wurden erfolgreich importiert"},
      {u"mnuRecovery", nullptr, &Datenordner_wiederherstellen, kNachDatenwechsel | kGruppenprüfung,
       u"Die Daten wurden erfolgreich wiederhergestellt"},
      {u"mnuDrucken", nullptr, &Drucken, kNichts, nullptr},
      {u"mnuBeenden", nullptr, &Beenden, kNichts, nullptr},
      {u"mnuMitarbeiter", nullptr, &Mitarbeiter, kLayout | kAnzeigen | kGruppenprüfung | kPuffer, nullptr},
      // The dialog takes the group headings from the Tag, which its command fills.
      {u"mnuAnzeigeberechtigungen", nullptr, &Anzeigeberechtigungen_zeigen, kLayout | kAnzeigen, nullptr},
      {u"mnuAnzeigegruppen", u"AllGroups", &Anzeigegruppen_zeigen, kLayout | kAnzeigen | kGruppenprüfung | kPuffer,
       nullptr},
      {u"mnuAnAbwesenheitsgründe", nullptr, &AnAbwesenheitsgründe, kLayout | kAnzeigen | kPuffer, nullptr},
      {u"mnuAdministratoren", u"A", &Ganzer_Befehl<&frmVelkora::mnuAdministratoren_Click>, kNichts, nullptr},
      {u"mnuPrivilegierteBenutzer", u"P", &Ganzer_Befehl<&frmVelkora::mnuPrivilegierteBenutzer_Click>, kNichts,
       nullptr},
      // Their handlers run the holiday flow and redisplay the month themselves.
      {u"mnuWochenende", nullptr, &Ganzer_Befehl<&frmVelkora::mnuWochenende_Click>, kNichts, nullptr},
      {u"mnuFeiertage", nullptr, &Ganzer_Befehl<&frmVelkora::mnuFeiertage_Click>, kNichts, nullptr},
      // Settings decide which menu items show and what the grid marks.
      {u"mnuEinstellungen", nullptr, &Einstellungen, kMenüs | kLayout | kAnzeigen, nullptr},
      {u"mnuJahresübersicht", u"G", &Jahresübersicht, kNachÜbersicht, nullptr},
      {u"mnuUrlaubsübersicht", u"U", &Urlaubsübersicht, kNachÜbersicht, nullptr},
      {u"mnuRTTÜbersicht", u"R", &Urlaubsübersicht, kNachÜbersicht, nullptr},
      {u"mnuSummenübersicht", nullptr, &Summenübersicht, kNachÜbersicht, nullptr},
      // The wheel hook went with the viewer's grid.
      {u"mnuLogbuch", nullptr, &Logbuch, kMausrad, nullptr},
      {u"mnuHilfe", nullptr, &Hilfe, kNichts, nullptr},
      {u"mnuInfo", nullptr, &Info, kNichts, nullptr},
  };
  return tabelle;
}

const Menübefehl* Menübefehl_zu(const QString& name) {
  for (const Menübefehl& b : Menübefehle())
    if (name == QString::fromUtf16(b.name)) return &b;
  return nullptr;
}

void Nachschritte(frmVelkora& f, unsigned danach) {
  if (danach & kBerechtigungenLesen) Anzber_und_Anzgru_init();
  if (danach & kMenüs) f.Menüpunkte_aktivieren();
  if (danach & kGruppeÜbernehmen) Ansicht_übernehmen(f);
  if (danach & kLayout) {
    f.Form_Resize();
    // Also while the window is not shown, its group choice holds the groups now valid.
    if (!f.cmbMitarbeitergruppen->isHidden()) f.Anzeigegruppen_füllen();
  }
  if (danach & kAnzeigen) f.Daten_anzeigen(false);
  if ((danach & kGruppenprüfung) && gBenutzerwerte[33] == 0 && f.cmbMitarbeitergruppen->isHidden())
    f.CheckAnzeigegruppen();
  if (danach & kPuffer) Puffer_zurücksetzen();
  if (danach & kMausrad) ScrollbarIsVisible(f, *f.msgFlexGrid);
}

void Menübefehl_ausführen(frmVelkora& f, const QString& name) {
  const Menübefehl* b = Menübefehl_zu(name);
  if (!b) return;
  Prozedur(QStringLiteral("frmVelkora - ") + name + QStringLiteral("_Click"), [&] {
    if (b->tag) f.Tag = QString::fromUtf16(b->tag);
    if (!b->befehl(f)) return;
    Nachschritte(f, b->danach);
    if (b->abschlussmeldung) Meldung(QString::fromUtf16(b->abschlussmeldung));
  });
}

void Menübefehle_verbinden(frmVelkora& f) {
  for (const Menübefehl& b : Menübefehle()) {
    const QString name = QString::fromUtf16(b.name);
    if (QAction* a = f.aktion(name))
      QObject::connect(a, &QAction::triggered, &f, [&f, name] { Menübefehl_ausführen(f, name); });
  }
  // Opening a menu ends the marking: a command from it works on the month as a whole.
  for (const char16_t* menü : {u"mnuDatei", u"mnuBearbeiten", u"mnuAnsicht", u"mnuHelp"})
    if (QAction* a = f.aktion(QString::fromUtf16(menü)); a && a->menu())
      QObject::connect(a->menu(), &QMenu::aboutToShow, &f, [] { Markierung_und_Highlight_Off(); });
}
