#include "store/Erfassungsdaten.h"

void Erfassungsdateien_checken() {}
