#include "store/Feiertage.h"

void Feiertage_lesen() {}
void Ferientage_lesen() {}
