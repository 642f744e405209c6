#pragma once
// How the program's heap hands memory back to the system.

// Keeps memory the program has freed for its next use instead of returning it to the
// system at once: every save and every shown month builds and frees a month's worth
// of strings and buffers, and memory handed back and asked for again costs a page
// fault per page each time. Called once at the start, before the work begins.
void Arbeitsspeicher_einrichten();
