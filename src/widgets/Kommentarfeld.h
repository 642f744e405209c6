#pragma once
// The comment box of a grid window: a framed panel "picKommentar" holding the
// word-wrapping label "lblKommentar", hidden until a comment is to be shown.
class QFrame;
class QLabel;
class QWidget;

void Kommentarfeld_anlegen(QWidget* eltern, QFrame*& box, QLabel*& text);
