#pragma once
// The code-button bar of the main window: which buttons of the button table are
// shown to this user, and how wide they are.
#include <QColor>
#include <QString>
#include <vector>

#include "platform/Raster.h"

// The narrowest and widest button, in twips.
inline constexpr int kSchaltflächeSchmal = 1800;
inline constexpr int kSchaltflächeBreit = 2370;

// Whether each button 1 to n of the table (n = the erase button) is shown to the
// current user; element 0 unused.
std::vector<bool> Sichtbare_Schaltflächen();
// The automatic button width for the widest caption (twips).
int Schaltflächenbreite_aus_Text(int breitesteTextbreite);
// A width held inside the narrowest and the widest button.
int Schaltflächenbreite_begrenzen(int breite);
// The user's own width (per-user values 36 and 37) in place of the configured one.
void Schaltflächenbreite_des_Benutzers();
// The style of a code button: its face flat in the code's background colour, its
// caption in the code's text colour (black or white where that would not show).
QString Schaltflächenstil(Farbwert hintergrund, Farbwert text);
QColor Schaltflächentextfarbe(Farbwert hintergrund, Farbwert text);
