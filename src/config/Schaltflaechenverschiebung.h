#pragma once
// Moving one code button to the place of another in the settings topic
// "Schaltflächen-Anordnung ändern". Month record files store a button's number, so
// the move carries every stored day code to the button's new number (the buttons in
// between close up by one), reorders the button table and keeps the day-sum
// selection in step.
#include <QString>

// Moves button `von` to the place of button `nach`: the texts of the topic's two
// number boxes. Nothing happens while a box is empty; a number that is not a button
// (the erase button is none) or two equal numbers are refused with a message.
// Under the program lock and after the configuration's stamp check, with a backup of
// kind "A" first, every month record file is rewritten month by month through the
// month writer, then the table and the configuration; `tagessummen` (the dialog's
// day-sum selection, one "0"/"1" per button) is reordered the same way and becomes
// the main window's selection while day sums are shown. True when the move was done.
bool Schaltflächen_verschieben(const QString& von, const QString& nach, QString& tagessummen);

// A day-sum selection (one character per button) with the character of button `von`
// moved to the place of button `nach`.
QString Tagessummen_verschieben(const QString& auswahl, int von, int nach);
