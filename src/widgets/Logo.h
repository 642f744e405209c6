#pragma once
// The program's logo, drawn rather than stored: a calendar sheet with a tick. The
// splash window and the about box show it.
#include <QPixmap>

QPixmap Velkora_Logo(int pixel);
