#pragma once
// Moving a code button to the place of another from the settings dialog: the button
// table, every month record and the day-sum choice are reordered in step.
#include <QString>

// von and nach are the texts of the two number boxes of the dialog; tagessummen is the
// dialog's day-sum choice, reordered with the buttons. True when the button was moved.
bool Schaltflächen_verschieben(const QString& von, const QString& nach, QString& tagessummen);
