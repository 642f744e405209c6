#pragma once
// The logbook viewer "Velkora - Logbuch": the user log (entries made in the month
// planner) or the administration log (changes to the configuration, the employees, the
// holidays and program aborts) of a date range in a grid, narrowed by up to two user
// filters, sorted by a header click and thinned by double click and Ctrl+click. It reads
// every monthly logbook once when it opens and changes no file.
#include <QStringList>
#include <array>
#include <vector>

#include "views/Ansichtsrahmen.h"
#include "views/Logbuchdaten.h"

class QComboBox;
class QFrame;
class QLabel;
class QRadioButton;

class frmLogbuch : public Ansichtsrahmen {
 public:
  explicit frmLogbuch(QWidget* eltern = nullptr);
  ~frmLogbuch() override;

  // Grid and rights set up, the logbooks read.
  void Form_Load();
  // The first activation: the lines split, the user log shown, the filter boxes filled;
  // without a logbook "Kein Logbuch vorhanden" and the window closes.
  void Form_Activate();

  // Controls besides the frame's.
  std::array<QRadioButton*, 3> optLogbuch{};  // 1 user log, 2 administration log
  std::array<QLabel*, 5> lblBeschriftung{};   // 1 "von", 2 "bis", 3 and 4 the filter labels
  QComboBox* cmbBenutzerID1 = nullptr;        // writer of user lines
  QComboBox* cmbBenutzerID2 = nullptr;        // employee of user lines
  QComboBox* cmbBenutzerID3 = nullptr;        // writer of administration lines
  QFrame* picKommentar = nullptr;
  QLabel* lblKommentar = nullptr;

  // The data: 1-based lines ("NoLog" alone: no logbook), their entry records and the
  // three filter lists.
  QStringList Logbuchzeilen;
  std::vector<Logbucheintrag> Logbucheinträge;
  QString Benutzerliste1, Benutzerliste2, Benutzerliste3;

  // What a printout of the shown rows reads: the grid (row 0 the headings, columns of
  // width 0 not shown), which log is shown and the shown range.
  bool Benutzerlogbuch_gewählt() const;
  const Raster& Raster_anzeige() const;
  QString Von_Datum() const;
  QString Bis_Datum() const;
  // Whether the grid shows the single row "Kein Eintrag vorhanden".
  bool Kein_Eintrag() const { return mKeinEintrag; }

  // Procedures, public so that the tests reach them as the events do.
  void optLogbuch_Click();
  void Logbuch_anzeigen();
  void Benutzerlogbuch_anzeigen();
  void Adminlogbuch_anzeigen();
  bool Plausibilitätsprüfung() override;
  void Titel_setzen(bool mitAnzahl);
  void ComboBox_Benutzer_suchen(QComboBox* box, const QString& liste);
  void msgFlexGrid_MouseMove();
  void msgFlexGrid_MouseDown(int knopf, int umschalt);
  void msgFlexGrid_DblClick();
  void msgFlexGrid_Kopfklick();

  void Anzeigen() override { Logbuch_anzeigen(); }
  int Mindestbreite() const override { return 9720; }
  int Datenbreite() const override { return 0; }
  QString CSV_Titel() const override;
  // No re-read while open: the logbooks are read once per opening.
  void Neu_lesen() override {}
  void cmdAuswahl_Click(int index) override;

 protected:
  void Knöpfe_anordnen(int breite, int höhe) override;
  bool eventFilter(QObject* ziel, QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  void Spalten_anpassen();
  void Zeilen_verdünnen(bool behalten);
  int Gitterbreite() const;

  bool mAktiviert = false;
  bool mLöschtaste = false;
  bool mKeinEintrag = false;
  QString mSuchtext;
  QDate mFilterVon, mFilterBis;
  int mSortiert = 0;    // the column last sorted ascending + 1; 0 none
  int mMauszelle = -1;  // row * 32 + column of the cell under the pointer last seen
};

// Opens the logbook viewer modally over the window.
void Logbuch_zeigen(QWidget* eltern);
