#pragma once
// The colours dialog "Velkora - Farbeinstellungen": the eight display colours of the
// grids (working days, weekend, holidays, names, headings, grid lines, the current
// day's header and the current row or column) with a preview grid that shows them
// and the row and column highlight chosen in the settings dialog. Employees change
// the colours for themselves; privileged users and administrators for everyone,
// through the shared configuration.
#include <QDialog>
#include <array>

#include "store/Stammdatenstand.h"

class QGroupBox;
class QPushButton;
class Rasteransicht;

class frmFarbeinstellungen : public QDialog {
 public:
  // hervorhebung: the highlight mode of the settings dialog (0 none, 1 row on clicking
  // the name, 2 row on pointer move, 3 row and column); überschrift: whether heading
  // rows are highlighted across the whole row.
  frmFarbeinstellungen(QWidget* owner, int hervorhebung, bool überschrift);
  // Shows the dialog modally.
  static void anzeigen(QWidget* owner, int hervorhebung, bool überschrift);

  // The eight standard colours (0xBBGGRR), index 1 to 8.
  static constexpr std::array<qint32, 9> kStandard = {0,        0xFFFFFF, 0xE8E8E8, 0xC0C0FF, 0xFFF8F4,
                                                      0xFFE8CE, 0xAFAFAF, 0xE8FFFF, 0xE8FFFF};
  // Colour 9, the focus highlight of input rows, as every save of the dialog sets it.
  static constexpr qint32 kFokusfarbe = 0xC0FFFF;

  void Farbe_wählen(int k);
  void Standard_Click();
  void Vorschau_aktualisieren();
  void Highlight_Off(bool heute);
  void Highlight_On(int zeile, int spalte);
  // OK: the changed colours into gGrundfarben, for privileged users and
  // administrators also into the shared configuration.
  void Farbeinstellungen_aktualisieren();

  // The preview's pointer and button events.
  void msgFlexGrid_MouseMove();
  void msgFlexGrid_MouseDown();
  void msgFlexGrid_MouseUp();
  void fraVorschau_MouseMove();

  std::array<QPushButton*, 9> cmdFarbe{};
  QPushButton* cmdStandard = nullptr;
  std::array<QPushButton*, 3> cmdAuswahl{};  // 1 OK, 2 Abbrechen
  QGroupBox* fraVorschau = nullptr;
  Rasteransicht* msgFlexGrid = nullptr;

  // The dialog's colours, index 1 to 8.
  std::array<qint32, 9> Farben{};
  int Hervorhebung = 0;
  bool Überschrift = false;

 private:
  void Form_Load();
  void Raster_aufbauen();

  Stammdatenstand mStand;
};
