#pragma once
// Screen metrics: window layouts are written in twips (1440 per inch) and converted
// with the screen's logical dots per inch.
namespace bildschirm {
double dpi();  // logical dots per inch of the primary screen; 96 without a screen
int twipsZuPixel(double twips);
double pixelZuTwips(int pixel);
void setzeDpi(double dpi);  // tests; 0 = the screen's value again
}  // namespace bildschirm
