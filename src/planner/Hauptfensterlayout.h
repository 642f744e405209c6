#pragma once
// Where the controls of the main window stand for a given window size: a pure
// function of sizes in twips, so that every window size can be tested without a
// window. The window converts the rectangles to pixels.
#include <QRect>
#include <vector>

class QFont;

// gBildschirmDPI and gSkalierung, which the main window sets at its load.
#include "widgets/Bildschirmstand.h"

double Skalierung_aus_DPI(int dpi);

struct Layouteingabe {
  int innenBreite = 0;  // client area, twips
  int innenHöhe = 0;
  int bildschirmBreite = 0;   // twips
  bool normalZustand = true;  // neither maximised nor minimised
  int knöpfe = 0;             // visible code buttons (the erase button included when shown)
  int sfBreite = 1800;        // code-button width
  double skalierung = 1.0;
  int tagessummenHöhe = 0;  // height of the day-sum rows when shown, else 0
  bool kalenderwochen = false;
};

struct Layoutergebnis {
  // The client area the window must at least have; in the normal state the window
  // is held at this size, and the rectangles below are computed for it.
  int mindestBreite = 0;
  int mindestHöhe = 0;
  int innenBreite = 0;  // the size the rectangles are for
  int innenHöhe = 0;
  int sfBreite = 0;          // the button width, 1800 after a fall-back on a narrow screen
  bool breit = false;        // buttons right of the grid
  int knopfspalten = 0;      // wide layout: 1 or 2 columns; narrow: number of button rows
  QRect raster;              // month grid: left, top, width; height = tabellenhöhe
  int tabellenhöhe = 0;      // room for the month grid and the day-sum rows
  QRect kalenderwochen;      // empty when hidden
  int kombiOben = 0;         // top of the group combo box
  std::vector<QRect> knopf;  // one per visible code button, in order
  QRect beenden;
  int namensspalte = 0;  // column 0 of the grids
  int tagesspalte = 0;   // columns 1-31
  bool zweizeiligerKopf = false;
};

Layoutergebnis Hauptfenster_anordnen(const Layouteingabe& e);

// The heights of the month grid and the day sums in the room the layout left.
struct Tabelleneingabe {
  int tabellenhöhe = 0;
  int kopfhöhe = 540;         // row 0
  int zeilen = 1;             // rows of the month grid, row 0 included
  int zeilenhöhe = 300;       // the user's row height (per-user value 32)
  bool neuBerechnen = true;   // full recalculation
  bool zurücksetzen = false;  // per-user value 33: keep the user's row height
  int summenzeilen = 0;       // visible day-sum rows; 0 = day sums hidden
  int tagesspalte = 360;
  double twipsProPixel = 15;
  int rahmen = 30;  // a grid's frame, top and bottom together
};

struct Tabellenergebnis {
  int zeilenhöhe = 0;  // employee rows (and sum rows)
  int rasterhöhe = 0;  // the month grid's height
  int summenhöhe = 0;  // the day-sum grid's height
  int summenOben = 0;  // top of the day sums, relative to the grid's top
};

Tabellenergebnis Tabellenhöhen_berechnen(const Tabelleneingabe& e);

// Whether the one-line day header ("Mo 16") of every weekday and day fits a day
// column this many pixels wide in the header font; otherwise the header takes its
// two-line form.
bool Einzeiliger_Tageskopf_passt(const QFont& schrift, int spaltePixel);
// The height of the header row (twips) that its text needs, never below 540.
int Kopfzeilenhöhe(const QFont& schrift, bool zweizeilig);
