#pragma once
// The frame the overview windows share: a modal dialog over the main window with one
// grid msgFlexGrid, the buttons cmdAuswahl, the frame fraRahmen around the upper
// controls, the invisible focus taker cmdBlind, and where the window has them the
// display-group combo box and the two date boxes. The frame does the loading steps
// every overview shares, keeps the placement per user, lays the controls out on
// resize, handles the date boxes, the header-click sort, the keys and the buttons.
// What a window shows is its own; the per-window differences are a Rahmenwerte table.
#include <QDialog>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <utility>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
#include "platform/Haken.h"
#include "printing/Druckprimitive.h"

class QPushButton;
class Rasteransicht;

// What the overviews reach above them: the main window and the services that come
// with other parts of the program, set by the program's wiring (planner/Programm.cpp).
// Each one is needed: an overview opens only over the main window.
struct Ansichtshaken {
  // CSV export of a window's grid under a title.
  Haken<void(QWidget* fenster, const QString& titel)> csv_export{"gAnsichtshaken.csv_export"};
  // The print dialog, shown modally with the window as owner; it reads gDruckauftrag.
  Haken<void(QWidget* fenster)> druckdialog{"gAnsichtshaken.druckdialog"};
  // Writes the main window's Tag ("S": quick print without the print dialog's choices).
  Haken<void(const QString& wert)> hauptfenster_tag{"gAnsichtshaken.hauptfenster_tag"};
  // The width of the main window grid's name column, twips.
  Haken<int()> namensspaltenbreite{"gAnsichtshaken.namensspaltenbreite"};
  // The input box: prompt "label||title" style as Mitarbeiter_suchen_G gives it;
  // returns the typed text, "" when cancelled.
  Haken<QString(QWidget* fenster, const QString& aufforderung)> eingabe{"gAnsichtshaken.eingabe"};
  // The help window for the calling window.
  Haken<void(QWidget* fenster)> hilfe{"gAnsichtshaken.hilfe"};
  // The mouse-wheel hook: whether the grid shows its vertical scroll bar, hooking it when
  // it does; and releasing the hook.
  Haken<bool(QWidget& fenster, Rasteransicht& grid)> mausrad_prüfen{"gAnsichtshaken.mausrad_prüfen"};
  Haken<void()> mausrad_lösen{"gAnsichtshaken.mausrad_lösen"};
  // The main window's Tag as it stands.
  Haken<QString()> hauptfenster_tag_lesen{"gAnsichtshaken.hauptfenster_tag_lesen"};
  // The employees the main window's grid shows, in grid order: (name, user name).
  Haken<QList<std::pair<QString, QString>>()> hauptraster_mitarbeiter{"gAnsichtshaken.hauptraster_mitarbeiter"};
  // The pop-up box picKommentar of the window beside the cell (zeile, spalte) of its
  // grid msgFlexGrid, showing the text.
  Haken<void(QWidget* fenster, const QString& text, int spalte, int zeile)> kommentar_anzeigen{
      "gAnsichtshaken.kommentar_anzeigen"};
};
extern Ansichtshaken gAnsichtshaken;

// The per-window table of the frame (twips).
struct Rahmenwerte {
  QString name;                   // "frmSummenuebersicht"; also the procedure names' prefix
  QString titel;                  // caption
  int platzierung = 0;            // first of the five per-user values; 0 = not kept
  int mindesthöhe = 0;            // minimum client height
  int obererBlock = 0;            // client height above the grid's bottom margin
  int aktionVonRechts = 0;        // action button's left = client width - this; 0 = stays
  QString druckauftrag;           // print-job code
  bool gruppenauswahl = false;    // display-group combo box
  bool datumsfelder = false;      // txtVonDatum, txtBisDatum
  bool kopfsortierung = false;    // header-click sort
  bool summenzeile = false;       // the sort drops a "Gesamtsumme" row
  bool enterAlsTab = false;       // Enter moves to the next field
  bool suche = false;             // F3, F4, Ctrl+F
  bool strgP = true;              // Ctrl+P prints
  bool escSchließt = false;       // Esc closes the window
  bool hilfe = false;             // F1 opens help
  bool rahmen = true;             // the frame fraRahmen around the upper controls
  bool namensspalte = true;       // column 0 is a name column fitted to the grid
  std::array<QString, 5> knöpfe;  // captions of cmdAuswahl 1 to 4 ("" none)
  int druckknopf = 2;             // the print button's index
  int schließknopf = 3;           // the close button's index
};

class Ansichtsrahmen : public QDialog {
 public:
  Ansichtsrahmen(QWidget* eltern, Rahmenwerte werte);
  ~Ansichtsrahmen() override;

  // Controls.
  Rasteransicht* msgFlexGrid = nullptr;
  std::array<QPushButton*, 5> cmdAuswahl{};  // 1 action, 2 print, 3 close unless the table says otherwise
  QPushButton* cmdBlind = nullptr;
  QGroupBox* fraRahmen = nullptr;
  QComboBox* cmbMitarbeitergruppen = nullptr;
  QLineEdit* txtVonDatum = nullptr;
  QLineEdit* txtBisDatum = nullptr;
  std::array<QLabel*, 3> lblDatum{};  // "Von:" and "Bis:"

  const Rahmenwerte& werte() const { return mWerte; }

  // The window's display: rebuilds the whole grid.
  virtual void Anzeigen() = 0;
  // The date-range check; true when the range may be shown.
  virtual bool Plausibilitätsprüfung() { return true; }
  // The minimum client width, twips.
  virtual int Mindestbreite() const = 0;
  // The width of the columns other than the name column, twips.
  virtual int Datenbreite() const = 0;
  virtual QString CSV_Titel() const = 0;
  // F5: re-read and redisplay.
  virtual void Neu_lesen() { Anzeigen(); }
  // F12: the CSV export (some windows redisplay first).
  virtual void CSV_exportieren();

  // The frame's handlers, public so that the tests reach them as the events do.
  virtual void cmdAuswahl_Click(int index);
  void msgFlexGrid_Click();
  void cmbMitarbeitergruppen_Click();
  // Keys the window takes before its controls; true when the key was handled.
  virtual bool Form_KeyDown(int taste, Qt::KeyboardModifiers umschalt);
  void Drucken(bool schnell);
  // Fills the group combo with its signals blocked and selects the chosen group;
  // true when its entries or the chosen entry changed.
  bool Gruppenauswahl_füllen();
  // The date boxes checked with messages; false (focus in the box) for a bad date.
  bool Datumsfelder_prüfen();
  // The last sorted column (0 none, else column + 1).
  int letzteSortierung() const { return mLetzteSortierung; }

 protected:
  // The frame's loading steps that come before the window's own: busy state, font,
  // grid colours and minimum row height.
  void Laden_beginnen();
  // Restores the placement and ends the busy state.
  void Laden_beenden();
  // The control layout of the resize rule.
  void Anordnen();
  // The window's own controls above the grid and its buttons, client size in twips.
  virtual void Knöpfe_anordnen(int breite, int höhe);
  // What the stored width adds to the window's width.
  virtual int Breitenzuschlag() const { return 0; }
  // A caption label of this window named "lblBeschriftung_<nummer>".
  QLabel* Beschriftung_anlegen(int nummer, const QString& text = QString());
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void done(int ergebnis) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* ziel, QEvent* e) override;

 private:
  void Entladen();
  void Datumsfeld_Change();
  void Datumsfeld_LostFocus(QLineEdit* feld);

  Rahmenwerte mWerte;
  int mLetzteSortierung = 0;
  bool mEntladen = false;
  bool mImAnordnen = false;
  bool mImÄndern = false;
  QObject* mTastenfilter = nullptr;
};

// Whether a heading row passes the display permissions and the chosen display group;
// the rows below it follow it. Rows before the first heading always pass.
class Gruppenfilter {
 public:
  Gruppenfilter();
  // The flag for the row after a heading row with this text.
  void Überschrift(const QString& text);
  bool sichtbar() const { return mErlaubt && mInGruppe; }

 private:
  bool mBerechtigungen = false;
  bool mGruppen = false;
  QString mBerechtigung;  // ":" + permission string
  QString mGruppe;        // ":" + the chosen display group's member text
  bool mErlaubt = true;
  bool mInGruppe = true;
};

// Lets the window see every key before its controls; the handler returns true for a
// key it used, which the control then does not get. The filter goes with the window.
QObject* Tastenvorschau_einrichten(QWidget* fenster, std::function<bool(int, Qt::KeyboardModifiers)> taste);

// The layout factor for grid sizes at a screen density (1.0 at 96, 120 and 144 dpi).
double Ansicht_Skalierung(double dpi);
