#pragma once
// The day-sum rows below the month grid: one row per code button (the erase button
// has none), shown for the codes the user chose. The counts in the day cells are the
// month display's; this sets up which rows there are, their captions, colours and
// heights, and the grid's total height.
class Rasteransicht;
class Raster;

// Hides the day-sum grid when the user switched day sums off (per-user value 25);
// otherwise shows it with one row per code, a row hidden where the user's selection
// (gTaSum[1], one character per button) holds "0", the others as high as the month
// grid's first employee row, and makes it 5 pixels higher than its shown rows.
void Tagessummen_einrichten(Rasteransicht& tagessummen, const Raster& monatsraster);
