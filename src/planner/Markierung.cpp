#include "planner/Markierung.h"

// Filled by the grid's mouse and marking handling.
void Markierung_aufheben() {}
void Markierung_merken() {}
void Markierung_wiederherstellen() {}
void Markierung_und_Highlight_Off() {}
