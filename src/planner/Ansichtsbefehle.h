#pragma once
// What the overviews call back into the main window with (wired in Programm.cpp), and
// the year overview as the grid's double click and Ctrl+Shift+J open it.
#include <QString>

class QWidget;
class frmVelkora;

// After an overview has closed: the group chosen there becomes the main window's, and
// the shown month is the one of the tabs again (before the month is shown anew).
void Ansicht_übernehmen(frmVelkora& f);
// The year overview with the parameter in the main window's Tag: "G" the user chooses
// the employee, "T" the employees of the month grid, else a Windows user name; the main
// window is brought up to date afterwards.
void Jahresübersicht_anzeigen(frmVelkora& f, const QString& parameter);
// The comment dialog as input box for a prompt "label|preset||title" (preset and
// title may be left out); the typed text, the preset when cancelled.
QString Eingabe_im_Kommentarfeld(QWidget* fenster, const QString& aufforderung);
