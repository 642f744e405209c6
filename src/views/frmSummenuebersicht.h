#pragma once
// The sums overview "Velkora - Summenübersicht": for a date range, how many days each
// employee of the chosen display group that the user may see has of each code, one
// column per code button, and a last row "Gesamtsumme" with the column totals.
#include <QDate>

#include "views/Ansichtsrahmen.h"

class frmSummenuebersicht : public Ansichtsrahmen {
 public:
  explicit frmSummenuebersicht(QWidget* eltern = nullptr);
  ~frmSummenuebersicht() override;

  // Re-reads the shared data, builds the headings, sizes and places the window, sets
  // the date range and shows it once.
  void Form_Load();
  bool Plausibilitätsprüfung() override;
  void Summen_anzeigen();

  void Anzeigen() override { Summen_anzeigen(); }
  int Mindestbreite() const override;
  int Datenbreite() const override;
  QString CSV_Titel() const override;
  void Neu_lesen() override;
  void CSV_exportieren() override;
};

// The short date form: day, month and four-digit year in the workstation's order,
// joined by its date separator ("01.01.2025").
QString Kurzdatum(const QDate& datum);

// Opens the sums overview modally over the window and runs the after-close step.
void Summenübersicht_zeigen(QWidget* eltern);
