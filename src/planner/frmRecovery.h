#pragma once
// The backup chooser: lists the backup points of the backup folder, newest first, and
// leaves the chosen backup's file name in gSicherungsdatei (empty = cancelled).
#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>

#include "platform/Haken.h"

class QComboBox;
class QLabel;
class QPushButton;

class frmRecovery : public QDialog {
 public:
  explicit frmRecovery(QWidget* besitzer = nullptr);

  // Fills the list by the date and time in the names or by the files' time stamps.
  void ComboBox_belegen(bool nachName);

  QLabel* lblBeschriftung = nullptr;
  QComboBox* cmbDateiliste = nullptr;
  // 1 "&Hilfe ...", 2 "&Datenordner wiederherstellen", 3 "&Abbrechen" (element 0 unused).
  std::array<QPushButton*, 4> cmdAuswahl{};

  // Opens the help for this window (F1 and button 1); set where the help window lives.
  static Haken<void(QWidget*)> hilfe;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void cmdAuswahl_Click(int index);
  QStringList mSortliste;  // "key|file name", newest first
};

// Shows the chooser modally over its owner.
void Recovery_anzeigen(QWidget* besitzer);
