#pragma once
// Holidays, weekend, school holidays and the exception markers of month files.
void Feiertage_lesen();
void Ferientage_lesen();
