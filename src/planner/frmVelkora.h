#pragma once
// The main window: the month planner with its menus, the year and month tabs, the
// group choice, the code-button area and the month grid with the calendar-week strip
// above and the day sums below. It lays itself out in twips for any window size,
// keeps its placement per user, and unloads in order.
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "planner/Hauptfensterlayout.h"
#include "planner/Ordnerstand.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTabBar;
class QTimer;
class Monatsanzeige;
class Änderungsprüfung;
class Rasteransicht;

class frmVelkora : public QMainWindow {
 public:
  frmVelkora();
  ~frmVelkora() override;

  // The running main window, or nullptr.
  static frmVelkora* instanz();

  void Form_Load();
  // Shows the window in the state the user left it in (maximised or normal).
  void Fenster_zeigen();
  void Form_Resize();
  void Tabellenfelder_anordnen(bool voll);
  void Tabellenfeld_MouseOut();
  void Darstellung_prüfen();
  // Saves what belongs to the user, removes an untouched default data folder and
  // closes every other window. Runs once.
  void Form_Unload();

  // The shown month: redisplay, navigation, group choice.
  void Daten_anzeigen(bool beschäftigt);
  void tabJahre_Click();
  void tabMonate_Click();
  // Reads and redisplays the shown month after another workstation changed it,
  // keeping the marking, its highlight and the scroll position.
  void Monat_neu_laden();
  void tabJahre_KeyDown(int taste);
  void cmbMitarbeitergruppen_Click();
  void CheckAnzeigegruppen();
  Monatsanzeige& anzeige() { return *mAnzeige; }

  // The code-button bar.
  void SetSchaltflächen(int& breite);
  void Schaltflächenbreite_ändern(int& schritt);

  // Bearbeiten - An-/Abwesenheitsgründe: the code-button editor, then the window laid
  // out and the month shown with the new table.
  void mnuAnAbwesenheitsgründe_Click();
  // Bearbeiten - Feiertage: the country confirmed or chosen, then the holidays dialog;
  // Bearbeiten - Wochenende: the weekend dialog; the month shown anew after both
  // (Feiertagsbefehle.cpp).
  void mnuFeiertage_Click();
  void mnuWochenende_Click();

  // A menu item or menu by its name ("mnuBeenden", "mnuDatei"); nullptr for an unknown name.
  QAction* aktion(const QString& name) const;
  // Shows, hides, enables and disables the menu items for the settings, the user's
  // level and the look-back mode; switches the change polling; empties the entry
  // clipboard and the undo history.
  void Menüpunkte_aktivieren();
  // Whether the menu logic has the item enabled (an item without its window is shown
  // disabled whatever this says).
  bool Menüpunkt_freigegeben(const QString& name) const;

  // Bearbeiten - Anzeigeberechtigungen / Anzeigegruppen (Anzeigemenues.cpp).
  void mnuAnzeigeberechtigungen_Click();
  void mnuAnzeigegruppen_Click();
  // Bearbeiten - Mitarbeiter: the employee editor, then the month laid out anew.
  void mnuMitarbeiter_Click();
  // Bearbeiten - Einstellungen, for every user; Ansicht - Logbuch.
  void mnuEinstellungen_Click();
  void mnuLogbuch_Click();
  // Bearbeiten - Administratoren and - Privilegierte Benutzer: the user list dialog in
  // mode "A" or "P" (Benutzerlistenbefehle.cpp).
  void mnuAdministratoren_Click();
  void mnuPrivilegierteBenutzer_Click();
  // The group choice filled with the user's display groups, shown when there is a choice.
  void Anzeigegruppen_füllen();

  // Controls.
  Rasteransicht* msgFlexGrid = nullptr;
  Rasteransicht* msgFlexKaWo = nullptr;
  Rasteransicht* msgFlexTaSu = nullptr;
  QTabBar* tabJahre = nullptr;
  QTabBar* tabMonate = nullptr;
  QComboBox* cmbMitarbeitergruppen = nullptr;
  std::array<QPushButton*, 26> cmdAuswahl{};  // 1 to 25
  QPushButton* cmdBeenden = nullptr;
  QTimer* tmrTimer2 = nullptr;
  QFrame* picKommentar = nullptr;
  QLabel* lblKommentar = nullptr;

  // The parameter mailbox of the dialogs.
  QString Tag;

  int mTabellenhöhe = 0;  // twips: the room for the grid and the day sums, set by Form_Resize only

  // The polling for other workstations' changes of the shown month (its timer
  // tmrTimer1 and the tick counter).
  Änderungsprüfung& änderungsprüfung() { return *mÄnderungsprüfung; }
  // The window has been behind another one since the last mouse move over the grid:
  // the first move after it came back speeds the polling up again.
  bool mImHintergrund = false;

  // The layout as last applied (for the window's own use and for tests).
  const Layoutergebnis& letztesLayout() const { return mLayout; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void Menüs_anlegen();
  void Menüpunkt_freigeben(const QString& name, bool an);
  void Menüpunkt_zeigen(const QString& name, bool an);
  void Anzeige_verbinden();
  // The code buttons and the grid's commands reach the entry procedures.
  void Befehle_verbinden();
  void tabMonate_wählen(int index);
  std::vector<QPushButton*> Schaltflächen_setzen();
  void Schaltflächenschrift_setzen(const std::vector<QPushButton*>& knöpfe, int breite);
  void Tagessummen_initialisieren();
  // Fits the name column into the grid's viewport beside the 31 day columns, and the
  // tabs and the group choice to it.
  void Namensspalte_einpassen(bool erzwingen);
  void Form_MouseMove();
  void Form_Click();
  int Fensterzustand() const;
  void Platzierung_wiederherstellen();
  bool Standarddatenordner_unberührt() const;

  QWidget* mFläche = nullptr;
  std::map<QString, QAction*> mAktionen;
  std::map<QString, bool> mFreigegeben;
  Layoutergebnis mLayout;
  bool mEntladen = false;
  bool mImLayout = false;
  bool mLayoutNochmals = false;
  bool mNurLesen = false;
  bool mMaximiertZeigen = false;
  bool mZweizeiligerKopf = false;  // the day header in two lines, as the last layout decided
  std::unique_ptr<Monatsanzeige> mAnzeige;
  std::optional<Ordnerstand> mAnfangsstand;  // the data folder this start created, as it wrote it
  std::unique_ptr<Änderungsprüfung> mÄnderungsprüfung;
  int mMitarbeiterAnmeldung = -1;
};

// Whether a font is installed (exact, case-sensitive name).
bool CheckSchriftart(const QString& name);
// The message that a screen of this size is too small for the window; empty when it fits.
QString Darstellung_Meldung(double breiteTwips, double höheTwips);
// Whether a saved placement (twips) lies far enough inside a screen (twips) to be restored.
bool Platzierung_gültig(int links, int oben, const QRect& bildschirm);

// Loads and unloads the main window for the start sequence and the fatal stop.
void Hauptfenster_laden();
void Hauptfenster_zeigen();
void Hauptfenster_entladen();
