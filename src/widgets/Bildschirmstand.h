#pragma once
// State of the screen that the grids of every window share: the screen's dots per inch
// and the layout factor for grid sizes that the main window works out at its load, and
// the cell under the pointer at the last mouse move over a grid.

// Screen dots per inch at the main window's load, and the layout correction factor
// for grid sizes that follows from it (1.0 whenever a pixel is a whole number of twips).
extern int gBildschirmDPI;
extern double gSkalierung;

// The cell under the pointer at the last mouse move over a grid, row * 32 + column;
// 0 = none. Shared by the grids of every window.
extern int gMauszelle;
