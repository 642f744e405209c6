#pragma once
// Helpers every window uses: the program font, the saved placement, Enter as Tab,
// selecting a text box on focus, the name column of grid windows and the automatic
// refresh test of two date boxes.
#include <QDate>
#include <QString>

class QComboBox;
class QLineEdit;
class QWidget;

// Gives the window and its controls the font gSchriftart. A font this machine lacks
// becomes the program's default font; only for a name that is not one of the
// Windows default fonts the user is warned once, and gSchriftart is dropped.
void SetSchriftart(QWidget* fenster);

// Restores the placement saved in gBenutzerwerte(n) to (n + 4): state, left, top,
// width, height in twips. A placement that is not well inside a screen is not
// restored: the window is centred with its present size.
void Fenstergröße_wiederherstellen(QWidget* fenster, int n);

// Places a control at a place given in twips, each edge converted to pixels.
void platzieren(QWidget* w, int links, int oben, int breite, int höhe);

// Enabled, visible and reached by Tab.
bool Ist_fokussierbar(QWidget* steuerelement);
// From a check box, combo box, list, option button or text box: the focus goes to the
// next focusable control in tab order, after the last to the first.
void Key_Enter_naechstes_Feld(QWidget* fenster);
// Makes Enter in those controls of the window act as Key_Enter_naechstes_Feld, so a
// dialog's default button does not close it instead.
void Enter_wie_Tab(QWidget* fenster);
// Selects the whole text of the focused text box.
void Text_markieren();

// True when txtVonDatum and txtBisDatum hold complete, valid, ordered dates that the
// date check leaves as they are (a date it completes is written back; the box's
// change handler then calls again and gets True).
bool AutoAnzeigen(QWidget* fenster);
// The date check without messages, as AutoAnzeigen uses it: completes the box's date
// in the display form and writes it back; false for a date it refuses.

// What Spaltenbreiten_anpassen needs of a window with a name column (column 0 of its
// grid msgFlexGrid) and the group combo box cmbMitarbeitergruppen above it.
class Namensspaltenfenster {
 public:
  virtual ~Namensspaltenfenster() = default;
  // Whether the grid shows its vertical scroll bar (also installs or removes the
  // mouse-wheel hook).
  virtual bool Scrollbar_sichtbar() = 0;
  virtual int Gitterbreite() = 0;  // twips
  virtual void Namensspalte_setzen(int twips) = 0;
  virtual QComboBox* Gruppenauswahl() = 0;  // may be null
};
// Fits the name column to the grid less the data columns' width (twips), and the
// group combo box to the name column.
void Spaltenbreiten_anpassen(Namensspaltenfenster& fenster, int datenbreite, bool erzwingen);
class Rasteransicht;
// The room inside a grid's frame for Namensspaltenfenster::Gitterbreite (twips): a
// scroll bar wider than the margin the fitting leaves for it takes the rest, so the
// columns never reach under it.
int Gitterbreite_ohne_Laufleiste(Rasteransicht* g);
// The two widths in twips, for the layout and its tests.
int Namensspaltenbreite(int gitterbreite, int datenbreite, bool scrollbar);
int Gruppenauswahlbreite(int namensspalte, double dpi);

// Fills the input switch and the caption hooks of the waiting state (Meldungen.h)
// with the active window.
void Fensterhilfen_einrichten();
