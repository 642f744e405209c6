#include "config/frmFarbeinstellungen.h"

// Placeholder until the colours dialog is part of the program: an empty dialog that is
// never shown.
frmFarbeinstellungen::frmFarbeinstellungen(QWidget* owner, int /*hervorhebung*/, bool /*überschrift*/)
    : QDialog(owner) {}

void frmFarbeinstellungen::anzeigen(QWidget* /*owner*/, int /*hervorhebung*/, bool /*überschrift*/) {}
