#pragma once
// The marking of the month grid: kept, restored and removed around every redisplay.
void Markierung_aufheben();
void Markierung_merken();
void Markierung_wiederherstellen();
void Markierung_und_Highlight_Off();
