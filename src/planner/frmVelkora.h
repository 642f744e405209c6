#pragma once
// The main window. For now a plain frame with the program's caption; the month grid
// and its controls live here.
#include <QMainWindow>

class frmVelkora : public QMainWindow {
 public:
  frmVelkora();
  ~frmVelkora() override;

  // The running main window, or nullptr.
  static frmVelkora* instanz();

  void Form_Load();
  // Saves what belongs to the user and closes every other window.
  void Form_Unload();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  bool mEntladen = false;
};

// Loads and unloads the main window for the start sequence and the fatal stop.
void Hauptfenster_laden();
void Hauptfenster_zeigen();
void Hauptfenster_entladen();
