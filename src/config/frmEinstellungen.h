#pragma once
// The settings dialog "Velkora - Einstellungen": 23 topics of the settings string and
// of the user's own display and print values, one topic at a time beside the topic
// list. Every choice goes into the dialog's working copy of the settings string; OK
// checks it and applies it (administrators write the configuration file and the lock
// file, other users' changes stay in memory and in their per-user values).
#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "store/Stammdatenstand.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class frmEinstellungen : public QDialog {
 public:
  explicit frmEinstellungen(QWidget* eltern = nullptr);

  // One topic: who sees it (1 every user, 2 administrators, 3 administrators while
  // working-copy position 28 is not 1), the number of options, the kind of its extra
  // controls, the caption, texts 1 to 4 ("|" a line break), the shift of the
  // explanation in steps of 180 twips, the explanation, and the option selected when
  // it is shown (0-based).
  struct Thema {
    int klasse = 1;
    int optionen = 0;
    int art = 0;
    QString caption;
    std::array<QString, 5> texte{};  // 1 to 4
    double versatz = 0;
    QString erklärung;
    int option = 0;
  };
  static constexpr int kThemen = 23;
  std::array<Thema, kThemen + 1> Themen{};  // 1 to 23

  // The working copy's accessors; they never touch gSettings.
  int Setting(int position) const;
  QString SettingStr(int position, int länge) const;
  void SetSetting(int position, const QString& wert);
  void SetSetting(int position, int wert);

  void Listenfeld_aufbauen();
  // The topic number of a list caption; 1 when none matches.
  int ListenNr(const QString& caption) const;
  void Einstellungen_anzeigen();
  int Ausgewählte_Option() const;
  // Carries the shown topic's controls into the working copy: index 0 after an option
  // or check box, k after letter box k. The single-option check runs only for a
  // choice the user made (pruefen), never when showing a topic selects its option.
  void Einstellungen_merken(int index, bool prüfen = false);
  bool PlausibilitätsEinzelprüfung();
  bool Plausibilitätsprüfung();
  void Einstellungen_übernehmen();
  void Sperrdatei_anlegen();

  // The dialog's values besides the working copy.
  QString Einstellungen;  // the working copy, 50 characters
  int Überschrift = 0;    // per-user value 26: rows with headings highlighted
  int Schulferien = 0;    // per-user value 27: 0 school holidays marked
  int TaSumDrucken = 0;   // per-user value 30: day sums printed
  QString TaSum;          // the day-sum choice, 24 digits
  bool FerienVeraltet = false;
  bool Druckboxen_unberührt = false;  // calendar weeks printed follow calendar weeks shown

  QListWidget* lstListe = nullptr;
  QGroupBox* fraRahmen = nullptr;
  std::array<QRadioButton*, 5> optOption{};
  std::array<QLabel*, 5> lblOption{};
  std::array<QLineEdit*, 5> txtBuchst{};
  std::array<QLabel*, 5> lblBuchst{};
  std::array<QComboBox*, 3> cmbMonat{};
  std::array<QRadioButton*, 3> optResturlaub{};
  std::array<QLabel*, 3> lblMonat{};  // "Das Urlaubsjahr beginnt am 1.", "Der Resturlaub verfällt"
  QCheckBox* chkÜberschrift = nullptr;
  std::array<QLabel*, 3> lblLogbuch{};
  QLineEdit* txtLogbuch = nullptr;
  std::array<QCheckBox*, 5> chkDrucker{};
  std::array<QLabel*, 25> txtVorschau{};
  std::array<QFrame*, 25> shpVorschau{};
  std::array<QCheckBox*, 25> chkTaSum{};
  std::array<QLabel*, 27> lblVorschau{};  // 1 to 24 the numbers, 25 and 26 the move fields
  std::array<QLineEdit*, 3> txtSfNr{};
  QLineEdit* txtSperre = nullptr;
  std::array<QLabel*, 3> lblBeschriftung{};
  std::array<QPushButton*, 5> cmdAuswahl{};

 protected:
  bool eventFilter(QObject* ziel, QEvent* e) override;

 private:
  void Form_Load();
  void Themen_aufbauen();
  void Vorschau_anlegen();
  void Anordnen();
  void optOption_Click(int index, bool nutzer);
  void optResturlaub_Click(int index);
  void cmbMonat_Click();
  void cmdAuswahl_Click(int index);
  // Selects the topic in the list, which shows it.
  void Thema_zeigen(int nr);
  bool Sperre_geändert() const;
  void eigenes_Schreiben(const std::function<void()>& schreiben);

  QButtonGroup* mOptionen = nullptr;
  QButtonGroup* mResturlaub = nullptr;
  int mKnöpfe = 0;  // code buttons without the erase button
  int mListenzeilen = 0;
  bool mSperreAnfang = false;  // a lock was in force when the dialog opened
  QString mSperrtextAnfang;
  std::optional<Stammdatenstand> mStand;
};
