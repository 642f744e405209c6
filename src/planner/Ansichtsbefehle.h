#pragma once
// The main window's menu items of the overviews and the hooks the overviews call back
// into the main window with.
class frmVelkora;

void Ansichtsbefehle_verbinden(frmVelkora& f);
// After an overview has closed: the main window's own group choice holds again and the
// month is shown anew.
void Nach_Ansicht(frmVelkora& f);
