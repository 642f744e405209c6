#pragma once
// The print dialog: the printer list ("PDF-Datei" always among it), the number of
// copies or the question of an all-months or all-employees job, and the dispatch of
// the job code in gDruckauftrag to its printout.
#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "printing/Jahresdruck.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmDrucken : public QDialog {
 public:
  explicit frmDrucken(QWidget* eigentümer = nullptr);

  // Shows the dialog modally over the caller, for the job code in gDruckauftrag.
  static void anzeigen(QWidget* eigentümer);
  // The running dialog, or nullptr.
  static frmDrucken* instanz();

  void Form_Load();
  void Form_Activate();
  void cmdAuswahl_Click(int index);
  bool Drucken();
  bool Druckerwahl();

  QComboBox* cmbDrucker = nullptr;
  QLineEdit* txtAnzahl = nullptr;
  std::array<QLabel*, 3> lblBeschriftung{};  // 1, 2
  std::array<QPushButton*, 3> cmdAuswahl{};  // 1 "&OK", 2 "&Abbrechen"
  bool mLäuft = false;                       // a multi-part job is running
  bool mSchnelldruck = false;                // opened for a quick print
  bool mEntladen = false;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override;
  void showEvent(QShowEvent* e) override;

 private:
  void Entladen();
  bool mAktiviert = false;
};

// The main window's parameter mailbox; "S" asks for a quick print and is cleared by
// the dialog. Set by the main window.
extern std::function<QString&()> gHauptfensterTag;

// The printouts of the job codes other than the month planner's ("JE" also serves
// "JG"); every view's printout is entered from the start, and an entry replaces the
// one of its code. A code without an entry prints nothing. The argument is the
// number of copies.
using Druckroutinenzeiger = std::function<bool(int exemplare)>;
void Druckroutine_eintragen(const QString& code, Druckroutinenzeiger routine);
