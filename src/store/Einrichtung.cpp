#include "store/Einrichtung.h"

void Setup_Datenordner() {}
