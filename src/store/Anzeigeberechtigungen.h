#pragma once
// Display permissions and display groups: which employee groups a user sees.
void Anzber_und_Anzgru_init();
