#pragma once
// Mouse-wheel scrolling of grids: one grid at a time is hooked and then moves its
// first visible row by one row per notch of the wheel. A window hooks its grid
// "msgFlexGrid" while the grid shows its vertical scroll bar and its window is in
// front, and unhooks it when it is hidden or closed. Per-user value 34 switches the
// wheel off.
class QWidget;
class Rasteransicht;

// The hooked grid, or nullptr.
Rasteransicht* Mausrad_Fenster();
extern bool gMausradAktiv;

// Hooks the window's grid "msgFlexGrid" (another hooked grid is unhooked first).
void Hook(QWidget& fenster, Rasteransicht& grid);
void UnHook();
// Whether the grid shows its vertical scroll bar; hooks it when it does, else unhooks.
bool ScrollbarIsVisible(QWidget& fenster, Rasteransicht& grid);
// Notches of the wheel over the hooked grid (positive away from the user).
void MouseWheel(int stufen);
