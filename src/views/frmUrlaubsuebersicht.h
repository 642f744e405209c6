#pragma once
// The vacation and special-leave overview "Velkora - Urlaubsübersicht" /
// "Velkora - Sonderurlaub": for a reference date, one row per visible employee employed
// in the account year with carry-over (or last year's special leave), entitlement, sum,
// taken up to the date, remainder, planned after it and unplanned.
#include <QDate>

#include "views/Ansichtsrahmen.h"

class frmUrlaubsuebersicht : public Ansichtsrahmen {
 public:
  explicit frmUrlaubsuebersicht(QWidget* eltern = nullptr);
  ~frmUrlaubsuebersicht() override;

  QComboBox* cmbDatum = nullptr;
  std::array<QLabel*, 3> lblBeschriftung{};  // 1 heading, 2 "Berechnung zum"

  // Reads the mode ("U" or "R") from the main window's Tag.
  void Form_Load();
  void Switch_Schaltfläche(const QString& modus);
  void Daten_anzeigen();

  void Anzeigen() override { Daten_anzeigen(); }
  int Mindestbreite() const override;
  int Datenbreite() const override;
  QString CSV_Titel() const override;
  void Neu_lesen() override;
  void cmdAuswahl_Click(int index) override;

 protected:
  void Knöpfe_anordnen(int breite, int höhe) override;
  int Breitenzuschlag() const override;
};

// Whether the once-per-run hint on missing entitlements was shown.
extern bool gUrlaubshinweisGezeigt;

// Opens the overview modally over the window in mode "U" or "R" and runs the
// after-close step.
void Urlaubsübersicht_zeigen(QWidget* eltern, const QString& modus);
