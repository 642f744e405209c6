#pragma once
// The overtime overview "Velkora - Überstunden": the overtime account of one employee
// for one year as the yearly overtime file holds it, the carry-over from the previous
// year, every booking with its date, minutes and remark, and the balance after each
// line. The year overview opens it for its chosen employee; the window takes the
// employee, the year list and the chosen year from there.
#include <QString>
#include <QStringList>
#include <array>

#include "views/Ansichtsrahmen.h"

class frmJahresuebersicht;
class Raster;

// What the window keeps for the whole run, also while it is closed: the data lines of
// the file read last (1-based; the single entry "NoData" when there is nothing), when
// it was read (monotonic seconds, negative before the first read), the year shown and
// the placement of its last closing (twips; all 0 until then).
extern QStringList gÜStdDaten;
extern double gÜStdLesezeit;
extern int gÜStdJahr;
struct ÜStd_Platzierung {
  int links = 0, oben = 0, breite = 0, höhe = 0;
};
extern ÜStd_Platzierung gÜStdPlatzierung;

class frmUStunden : public Ansichtsrahmen {
 public:
  explicit frmUStunden(frmJahresuebersicht& jahresübersicht);
  ~frmUStunden() override;

  // 1 the heading "Überstunden für " + name, 2 "Jahr" (element 0 unused).
  std::array<QLabel*, 3> lblBeschriftung{};
  QComboBox* cmbJahr = nullptr;

  void Form_Load();
  void cmbJahr_Click();
  void Daten_anzeigen();
  void Grid_initialisieren();
  // Reads the year's file into the data lines when it is due.
  void Daten_lesen(int jahr);

  // What a printout reads: the list as shown (a hidden carry-over row has height 0, the
  // no-data row is merged), the employee's name and user name, the year shown.
  const Raster& Liste() const;
  QString Mitarbeitername() const { return mName; }
  QString Benutzer() const { return mBenutzer; }
  int Jahr() const { return gÜStdJahr; }

  void Anzeigen() override { Daten_anzeigen(); }
  int Mindestbreite() const override { return 6270; }
  int Datenbreite() const override;
  QString CSV_Titel() const override;
  void cmdAuswahl_Click(int index) override;
  bool Form_KeyDown(int taste, Qt::KeyboardModifiers umschalt) override;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void done(int ergebnis) override;

 private:
  void Anordnen_Überstunden();
  void Bemerkungsspalte_anpassen();
  void Platzierung_merken();

  frmJahresuebersicht& mJahresübersicht;
  QString mBenutzer;
  QString mName;
};

// The open overtime overview, or nullptr.
frmUStunden* ÜStunden_Fenster();

// Shows the overtime overview modally over the year overview for its chosen employee.
void ÜStunden_zeigen(frmJahresuebersicht& jahresübersicht);
