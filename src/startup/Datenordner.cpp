#include "startup/Datenordner.h"

void Datenverzeichnis_suchen() {}
