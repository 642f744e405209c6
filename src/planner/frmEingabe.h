#pragma once
// The range-entry dialog: with entries by keyboard allowed (settings position 4), a
// code button pressed without a marking asks here for the employee and the first and
// last day of the shown month. On OK the answer becomes the marking of the main grid
// and the main window's Tag says "OK"; the entry itself is then made as for a marking
// drawn with the mouse. An empty Tag afterwards means cancelled.
#include <QDialog>
#include <QString>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class frmVelkora;

class frmEingabe : public QDialog {
 public:
  // Reads the button number from the main window's Tag and empties it.
  explicit frmEingabe(frmVelkora& hauptfenster);

  QPushButton* cmdButton = nullptr;
  QComboBox* cmbName = nullptr;
  QLineEdit* txtVonDatum = nullptr;
  QLineEdit* txtBisDatum = nullptr;
  QLabel* txtVonDatum2 = nullptr;
  QLabel* txtBisDatum2 = nullptr;
  // 1 OK, 2 "&Abbrechen" (element 0 unused).
  std::array<QPushButton*, 3> cmdAuswahl{};
  // "Eintrag" and "Name".
  std::array<QLabel*, 3> lblBeschriftung{};

  void cmdAuswahl_Click(int index);
  bool Plausibilitätsprüfung();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* objekt, QEvent* e) override;

 private:
  void Form_Activate();
  void Eingabe_auswerten();
  int Tage_des_Monats() const;

  frmVelkora& mHaupt;
  QString mMonatsschlüssel;
};

// Shows the dialog modally over the main window.
void frmEingabe_zeigen(frmVelkora* hauptfenster);
