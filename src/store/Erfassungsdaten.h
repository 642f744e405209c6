#pragma once
// The month record files of the three-year window.
// Start check: every month of the window has a record file.
void Erfassungsdateien_checken();
