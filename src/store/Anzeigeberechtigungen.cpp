#include "store/Anzeigeberechtigungen.h"

void Anzber_und_Anzgru_init() {}
