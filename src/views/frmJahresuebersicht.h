#pragma once
// The year overview "Velkora - Jahresübersicht": one employee's calendar year as 12
// month rows by 31 day columns, each booked day in its code button's letter and
// colours; weekends, holidays, non-working-day marks, days a month lacks and days
// outside the employment painted in the display colours. The user chooses the year
// and the employee; the main window hands in "G" (choose), "T" (the employees its grid
// shows) or a Windows user name (shown at once) through its Tag.
#include <QDialog>
#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class Rasteransicht;

// The special-leave flag of the overviews: set by the year overview at every opening
// when special leave is in use, by the vacation overview as its mode.
extern bool gSonderurlaubModus;
// Whether the data folder was searched for overtime files in this run, and whether one
// was found; searched at the first opening only.
extern bool gÜStundenGeprüft;
extern bool gÜStundenVorhanden;

class frmJahresuebersicht : public QDialog {
 public:
  explicit frmJahresuebersicht(QWidget* eltern = nullptr);
  ~frmJahresuebersicht() override;

  QComboBox* cmbJahr = nullptr;
  QComboBox* cmbName = nullptr;
  Rasteransicht* msgFlexGrid = nullptr;
  std::array<QPushButton*, 4> cmdAuswahl{};  // 1 print, 2 overtime, 3 close
  // 1 "Jahresübersicht", 2 "Mitarbeiter", then the account block, the day sums and the
  // legend in the order LabelOut creates them (element 0 unused).
  std::vector<QLabel*> lblBeschriftung;
  // The coloured boxes: 1 to 24 the day sums' code boxes, 25 on the legend's.
  std::vector<QLabel*> txtVorschau;

  // 1-based, parallel: the names offered and the employees' Windows user names.
  QStringList Namensliste{QString()};
  QStringList BenutzerIDListe{QString()};
  QString Wochenendtext;
  // The Windows user name whose overtime is to be shown.
  QString Tag;

  void Form_Load();
  void Jahresübersicht_anzeigen();
  void Tabelle_initialisieren();
  void LabelOut(int links, int oben, const QString& art);
  void Beschriftung_generieren();
  void Summen_anzeigen();
  // The caption of a label element ("" for one that does not exist).
  QString Beschriftung(int element) const;
  void Jahresübersicht_drucken(const QString& art);
  void ÜStunden_anzeigen();
  void cmdAuswahl_Click(int index);
  bool Form_KeyDown(int taste, Qt::KeyboardModifiers umschalt);
  // The chosen year (four digits) and the chosen employee's user name ("" none).
  int Jahr() const;
  QString Benutzer() const;

 private:
  void Namensliste_aufbauen();
  void Druckquelle_setzen();
  // Erfassungsdaten_lesen, or during a print series the month as read first in it.
  bool Monat_lesen(const QString& monatsschlüssel);
  // The index in gMonatsEinträge of the month just read of the user's last entry
  // line (user names compared without regard to letter case); 0 when none.
  qsizetype Letzter_Eintrag(const QString& benutzer) const;
  struct Gelesener_Monat {
    bool ergebnis = false;
    QStringList einträge, kommentare;
    QString ausnahmen;
    // Every user's last entry line, by the case-folded user name: the series looks
    // up each employee instead of going through the month's lines again.
    QHash<QString, qsizetype> letzte;
  };
  std::optional<QHash<QString, Gelesener_Monat>> mSerienmonate;
  const Gelesener_Monat* mSerienmonat = nullptr;  // the series' month read last
  QElapsedTimer mSerienbild;                      // since the series' last painting
  QObject* mTastenfilter = nullptr;
};

// Numbers equal names: the k-th of several equal names, in list order, ends in a
// blank and k letters "I".
void Gleiche_Namen_nummerieren(QStringList& namen);

// Opens the year overview modally over the window for the parameter in the main
// window's Tag and runs the after-close step.
void Jahresübersicht_zeigen(QWidget* eltern);
