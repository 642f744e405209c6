#include "planner/Tastatur.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <algorithm>
#include <iterator>

#include "planner/Ansichtsbefehle.h"
#include "planner/Diagnosebefehle.h"
#include "planner/Druckbefehle.h"
#include "planner/Hilfebefehle.h"
#include "planner/Markierung.h"
#include "planner/Monatsspeicher.h"
#include "planner/Undo.h"
#include "planner/frmVelkora.h"
#include "platform/Laufzeitfehler.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Meldungen.h"
#include "startup/Ordner.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Sicherung.h"
#include "store/Sperrdatei.h"
#include "store/Velkoraini.h"
#include "widgets/Fensterhilfen.h"
#include "widgets/Rasteransicht.h"

namespace {

// The month grid as the employee search sees it: column 32 holds the row's Windows user.
class Hauptraster : public Mitarbeiterraster {
 public:
  explicit Hauptraster(frmVelkora& f) : mF(f) {}
  const void* fenster() const override { return &mF; }
  int zeilen() const override { return g().Rows(); }
  QString name(int z) const override { return g().TextMatrix(z, 0); }
  QString benutzer(int z) const override { return g().Cols() > 32 ? g().TextMatrix(z, 32) : QString(); }
  int obersteZeile() const override { return g().TopRow(); }
  void setzeObersteZeile(int z) override { mF.msgFlexGrid->raster().setTopRow(z); }
  int sichtbareZeilen() const override { return g().zeilenImSichtfeld(); }
  bool zeileSichtbar(int z) const override { return g().RowIsVisible(z); }
  // The found row is marked on its name, so that no day of it is marked for an entry.
  void zeileMarkieren(int z) override {
    Raster& r = mF.msgFlexGrid->raster();
    r.setRow(z);
    r.setCol(0);
    r.setRowSel(z);
    r.setColSel(0);
    r.setHighLight(1);
  }
  QString eingabe(const QString& aufforderung) override { return Eingabe_im_Kommentarfeld(&mF, aufforderung); }

 private:
  const Raster& g() const { return mF.msgFlexGrid->raster(); }
  frmVelkora& mF;
};

void Suchen(frmVelkora& f, bool neueSuche, bool eigeneZeile) {
  Hauptraster raster(f);
  Mitarbeiter_suchen_G(raster, neueSuche, eigeneZeile);
}

// Deleting all data or the pointer file is for administrators, and never in a look at a
// backup.
bool Darf_löschen() { return gBenutzerstufe == 2 && !gRückblick; }

// Row heights of the month grid in twips, and the step of Ctrl+plus and Ctrl+minus.
constexpr int kZeileMin = 285, kZeileMax = 1200, kZeileSchritt = 15;
// Code-button widths that Ctrl+Alt+plus and minus step between.
constexpr int kKnopfSchmal = 1800, kKnopfBreit = 2370, kKnopfSchritt = 30;

void Zeilenhöhe(frmVelkora& f, int schritt) {
  const int jetzt = gBenutzerwerte[32] > 0 ? gBenutzerwerte[32] : 300;
  gBenutzerwerte[32] = std::clamp(jetzt + schritt, kZeileMin, kZeileMax);
  gBenutzerwerte[33] = 1;
  f.Form_Resize();
}

// The commands of the keys.
void Hilfe(frmVelkora& f) { mnuHilfe_Click(f); }
void Weitersuchen(frmVelkora& f) { Suchen(f, false, false); }
void Eigene_Zeile(frmVelkora& f) { Suchen(f, true, true); }
void Neue_Suche(frmVelkora& f) {
  Markierung_und_Highlight_Off();
  Suchen(f, true, false);
}
void Benutzername_zeigen(frmVelkora&) { Meldung(QStringLiteral("Windows-Benutzername: ") + gBenutzername); }
void Administratoren_zeigen(frmVelkora&) { Meldung(QStringLiteral("Administratoren: ") + ShowAdmins(false)); }
void Monat_neu_zeigen(frmVelkora& f) { f.tabMonate_Click(); }
void Datenordner_zeigen(frmVelkora&) {
  Meldung(QStringLiteral("Datenordner: ") + ShowPfad(ParentDir(gDatenordner), 100));
}
void Pfad_eingeben(frmVelkora& f) { UNC_Pfad_eingeben(f); }
// The lock file stays untouched while a lock is set.
void Schreibtest(frmVelkora&) {
  if (gSperrmeldung.isEmpty()) CheckSchreibberechtigung();
}
void Defragmentieren(frmVelkora& f) {
  Erfassungsdatei_defragmentieren();
  f.tabMonate_Click();
}
void Tagessicherung(frmVelkora&) {
  if (Backup_erstellen(QStringLiteral("T"))) Meldung(QStringLiteral("Backup wurde erstellt"));
}
void Benutzerdatei_löschen(frmVelkora&) {
  Velkoraini_löschen();
  Meldung(QStringLiteral("Löschen ") + (Velkoraini_vorhanden() ? QStringLiteral("nicht ") : QString()) +
          QStringLiteral("erfolgreich"));
}
void Daten_löschen(frmVelkora&) {
  if (Darf_löschen()) Datenverzeichnis_löschen(true);
}
void Zeigerdatei_löschen(frmVelkora&) {
  if (Darf_löschen()) Velkoradat_löschen(true);
}
void Schrift_wechseln(frmVelkora& f) {
  gSchriftart = gSchriftart == u"Microsoft Sans Serif" || gSchriftart.isEmpty()
                    ? QStringLiteral("MS Sans Serif")
                    : QStringLiteral("Microsoft Sans Serif");
  SetSchriftart(&f);
}
void Langsames_Netz(frmVelkora&) { gLangsamesNetz = true; }
void Schnelles_Netz(frmVelkora&) { gLangsamesNetz = false; }
void Benutzerwert34_aus(frmVelkora&) { gBenutzerwerte[34] = 0; }
void Benutzerwert34_an(frmVelkora&) { gBenutzerwerte[34] = 1; }
void Monat_exportieren(frmVelkora& f) { Hilfe_und_Export_Tasten(f, Qt::Key_F12, 0); }
void Kopieren_Hinweis(frmVelkora&) { Meldung(QStringLiteral("Kopieren mit STRG + rechter Maustaste, siehe Handbuch")); }
void Anzeigegruppen_prüfen(frmVelkora& f) { f.CheckAnzeigegruppen(); }
void Knopfbreite_der_Konfiguration(frmVelkora& f) {
  const QString breite = SettingStr(48, 1);
  gSFBreite = breite == u"0" ? 0 : kKnopfSchmal + kKnopfSchritt * (HexDec(breite) - 1);
  gBenutzerwerte[36] = 0;
  gBenutzerwerte[37] = 0;
  f.Form_Resize();
}
void Jahresübersicht_des_Rasters(frmVelkora& f) { Jahresübersicht_anzeigen(f, QStringLiteral("T")); }
void Drucken(frmVelkora&) { Monatsansicht_drucken(QStringLiteral("E")); }
void Schnelldruck(frmVelkora& f) {
  f.Tag = QStringLiteral("S");
  Monatsansicht_drucken(QStringLiteral("E"));
}
void Jahr_drucken(frmVelkora&) { Monatsansicht_drucken(QStringLiteral("G")); }
void Wiederherstellen(frmVelkora&) {
  if (!Undo_läuft()) Undo_Redo(1);
}
void Rückgängig(frmVelkora&) {
  if (!Undo_läuft()) Undo_Redo(-1);
}
void Zeilen_höher(frmVelkora& f) { Zeilenhöhe(f, kZeileSchritt); }
void Zeilen_niedriger(frmVelkora& f) { Zeilenhöhe(f, -kZeileSchritt); }
void Knöpfe_breiter(frmVelkora& f) {
  int schritt = kKnopfSchritt;
  if (gSFBreite < kKnopfBreit) f.Schaltflächenbreite_ändern(schritt);
}
void Knöpfe_schmaler(frmVelkora& f) {
  int schritt = -kKnopfSchritt;
  if (gSFBreite > kKnopfSchmal) f.Schaltflächenbreite_ändern(schritt);
}

constexpr int kStrgUmschalt = kStrg | kUmschalt;
constexpr int kStrgAlt = kStrg | kAlt;

// The key table: one row per key and shift state.
const Tastenbefehl kTasten[] = {
    {Qt::Key_F1, kJederUmschalt, &Hilfe},
    {Qt::Key_F3, kJederUmschalt, &Weitersuchen},
    {Qt::Key_F4, 0, &Eigene_Zeile},
    {Qt::Key_F4, kStrg, &Benutzername_zeigen},
    {Qt::Key_F4, kAlt, &Administratoren_zeigen},
    {Qt::Key_F5, 0, &Monat_neu_zeigen},
    {Qt::Key_F5, kStrg, &Datenordner_zeigen},
    {Qt::Key_F5, kAlt, &Pfad_eingeben},
    {Qt::Key_F6, kStrg, &Schreibtest},
    {Qt::Key_F7, kStrg, &Defragmentieren},
    {Qt::Key_F7, kAlt, &Tagessicherung},
    {Qt::Key_F8, kStrg, &Benutzerdatei_löschen},
    {Qt::Key_F8, kStrgUmschalt, &Daten_löschen},
    {Qt::Key_F8, kAlt, &Zeigerdatei_löschen},
    {Qt::Key_F9, kStrg, &Schrift_wechseln},
    {Qt::Key_F10, 0, &Langsames_Netz},
    {Qt::Key_F10, kStrgUmschalt, &Benutzerwert34_aus},
    {Qt::Key_F11, 0, &Schnelles_Netz},
    {Qt::Key_F11, kStrgUmschalt, &Benutzerwert34_an},
    {Qt::Key_F12, kJederUmschalt, &Monat_exportieren},
    {Qt::Key_C, kStrg, &Kopieren_Hinweis},
    {Qt::Key_Insert, kStrg, &Kopieren_Hinweis},
    {Qt::Key_A, kStrg, &Anzeigegruppen_prüfen},
    {Qt::Key_A, kStrgAlt, &Knopfbreite_der_Konfiguration},
    {Qt::Key_F, kStrg, &Neue_Suche},
    {Qt::Key_J, kStrgUmschalt, &Jahresübersicht_des_Rasters},
    {Qt::Key_P, kStrg, &Drucken},
    {Qt::Key_P, kAlt, &Schnelldruck},
    {Qt::Key_P, kStrgUmschalt, &Jahr_drucken},
    {Qt::Key_Y, kStrg, &Wiederherstellen},
    {Qt::Key_Z, kStrg, &Rückgängig},
    {Qt::Key_Plus, kStrg, &Zeilen_höher},
    {Qt::Key_Minus, kStrg, &Zeilen_niedriger},
    {Qt::Key_Plus, kStrgAlt, &Knöpfe_breiter},
    {Qt::Key_Minus, kStrgAlt, &Knöpfe_schmaler},
};

int Umschaltzustand(int taste, Qt::KeyboardModifiers m) {
  // Plus needs Shift on some keyboards: the key counts as plus with or without it.
  const bool umschalt = (m & Qt::ShiftModifier) && taste != Qt::Key_Plus;
  return (umschalt ? kUmschalt : 0) | (m & Qt::ControlModifier ? kStrg : 0) | (m & Qt::AltModifier ? kAlt : 0);
}

bool Eingabeereignis(QEvent::Type t) {
  switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

// Sees every event of the application first and takes what belongs to the window.
class Tastenvorschau : public QObject {
 public:
  explicit Tastenvorschau(frmVelkora& f) : QObject(&f), mF(f) { qApp->installEventFilter(this); }
  ~Tastenvorschau() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (!o->isWidgetType() || !Eingabeereignis(e->type())) return false;
    QWidget* w = static_cast<QWidget*>(o);
    if (w->window() != &mF) return false;
    if (gBeschäftigt) return true;
    if (e->type() == QEvent::ShortcutOverride) {
      // A key of the table is the window's, not a shortcut's.
      auto* k = static_cast<QKeyEvent*>(e);
      if (Hat_Zeile(k->key(), Umschaltzustand(k->key(), k->modifiers()))) e->accept();
      return false;
    }
    if (e->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    return Form_KeyDown(mF, k->key(), Umschaltzustand(k->key(), k->modifiers()));
  }

 private:
  static bool Hat_Zeile(int taste, int umschalt) {
    for (const Tastenbefehl& t : kTasten)
      if (t.taste == taste && (t.umschalt == kJederUmschalt || t.umschalt == umschalt)) return true;
    return false;
  }
  frmVelkora& mF;
};

}  // namespace

bool Form_KeyDown(frmVelkora& f, int taste, int umschalt) {
  return Prozedur(QStringLiteral("frmVelkora - Form_KeyDown"), [&]() -> bool {
    if (f.picKommentar) f.picKommentar->hide();
    for (const Tastenbefehl& t : kTasten) {
      if (t.taste != taste || (t.umschalt != kJederUmschalt && t.umschalt != umschalt)) continue;
      t.befehl(f);
      return true;
    }
    return false;
  });
}

void Tastatur_verbinden(frmVelkora& f) { new Tastenvorschau(f); }
