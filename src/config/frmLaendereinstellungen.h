#pragma once
// The country dialog "Velkora - Land": chooses the country whose holiday set of the
// master file "VelkoraFtg.dat" applies. Applying replaces the 16 holiday definitions
// with the country's, drops every further yearly holiday and marks the country as
// confirmed (settings position 14 = 0).
#include <QDialog>
#include <QStringList>
#include <array>

#include "store/Stammdatenstand.h"

class QComboBox;
class QLabel;
class QPushButton;

class frmLaendereinstellungen : public QDialog {
 public:
  explicit frmLaendereinstellungen(QWidget* besitzer = nullptr);

  QComboBox* cmbLänderliste = nullptr;
  QLabel* lblBeschriftung = nullptr;
  std::array<QPushButton*, 3> cmdAuswahl{};  // 1 OK, 2 cancel

  void cmdAuswahl_Click(int index);
  // The country codes and names of the master file's headers, 1-based, in file order.
  void Länder_aus_VelkoraFeiertageDat_lesen();
  void Ländereinstellung_übernehmen();

  const QStringList& Ländercodes() const { return mCodes; }
  const QStringList& Ländernamen() const { return mNamen; }

 private:
  void Form_Load();
  void Auswahl_geändert();

  QStringList mCodes{QString()};
  QStringList mNamen{QString()};
  // The stamps of the files as this workstation had them when the dialog opened.
  Stammdatenstand mStand;
};
