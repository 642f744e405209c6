#pragma once
// The employee editor: the employee list with group headings, employment dates and
// vacation entitlements, edited in 22 rows of text boxes over row records, with a
// scroll bar whose value is the first record shown. A field is stored into its record
// when it is left; the rows in view are checked before the page moves; the records
// reach the employee table only when the list is applied.
#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "people/Zeilendialog.h"
#include "platform/Haken.h"
#include "store/Stammdatenstand.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// One line of the employee list in the editor, or an empty line at its end.
struct Zeilensatz {
  QString Von;            // yymmdd, "000000" none; empty on headings
  QString Bis;            // yymmdd, "999999" open; empty on headings
  QString Urlaubsdaten;   // five values "000,0" joined by ":"; empty on headings
  QString Sonderurlaub;   // "000,0"; empty on headings
  QString Name;           // "Name Vorname", or ">" and the heading text
  QString BenutzerID;     // Windows user name (the name when none was typed); empty on headings
  QString BenutzerIDAlt;  // the user name as loaded; empty on added rows and headings
  QString NameAlt;        // ">" and a loaded heading's text as loaded; empty otherwise

  bool leer() const;
  bool Überschrift() const { return Name.startsWith(u'>'); }
  // Name, Von, Bis, Urlaubsdaten, Sonderurlaub, BenutzerID and BenutzerIDAlt joined.
  QString Änderungskennung() const;
  bool operator==(const Zeilensatz&) const = default;
};

class frmMitarbeiter : public Zeilendialog {
 public:
  static constexpr int kZeilen = 22;  // visible rows

  explicit frmMitarbeiter(QWidget* besitzer = nullptr);
  ~frmMitarbeiter() override;

  // Row records, 1-based (element 0 unused).
  std::vector<Zeilensatz> Zeilen;
  int Obergrenze() const { return static_cast<int>(Zeilen.size()) - 1; }
  // The visible row (1 to 22) of the box that last lost the focus; the row commands
  // act on record ErsteZeile + AktuelleZeile.
  int AktuelleZeile = 0;
  QString Zeilenmodus;  // "verschieben" while a row is moved
  // The search: the text searched for (empty: none under way) and the record at
  // which a continued search begins.
  QString Suchtext;
  int Suchposition = 0;
  // The stamps of the employee file and the configuration the editor's copy is from.
  Stammdatenstand Stand;

  // Controls, element 0 unused. Columns 1 to 9 of a row: name, user name, from, to,
  // remaining vacation, entitlements 1 to 4.
  std::array<QLineEdit*, kZeilen + 1> txtName{}, txtBenutzerID{}, txtVonDatum{}, txtBisDatum{}, txtResturlaub{},
      txtUrlaub1{}, txtUrlaub2{}, txtUrlaub3{}, txtUrlaub4{};
  std::array<QLabel*, 14> lblBeschriftung{};
  // 1 "Zeile &einfügen", 2 "Zeile &löschen", 3 up, 4 down, 5 "&Hilfe ...",
  // 6 "&Übernehmen", 7 "&Abbrechen", 8 "&OK".
  std::array<QPushButton*, 9> cmdAuswahl{};

  // The box of a column (1 to 9) and a visible row (1 to 22).
  QLineEdit* Feld(int spalte, int zeile) const override;

  void Anzeige_aktualisieren() override;
  void Eingabezeile_speichern(int zeile) override;
  void Überschrift_formatieren(int zeile);
  void Mitarbeiteranzahl_anzeigen();
  // Checks the rows in view (alleDatensätze: every record; a failing record off the
  // page is scrolled into view). False after the message, with the focus in the box.
  bool Plausibilitätsprüfung(bool alleDatensätze = false);

  // Checks and completes the date in a date box as leaving it does; false after the
  // message, with the focus back in the box.
  bool Datum_prüfen(QLineEdit* feld);

  void TextBox_GotFocus(int zeile) override;
  void TextBox_LostFocus(int spalte, int zeile) override;
  void cmdAuswahl_Click(int index);

  // Row operations, carry-over and search.
  void Zeile_einfügen();
  void Zeile_löschen();
  void Zeile_verschieben(const QString& richtung);
  void Urlaub_aus_Vorjahr_übernehmen(int index);
  void Zelle_aus_Vorjahr_übernehmen(QLineEdit* feld);
  void Mitarbeiter_suchen_L(bool neueSuche, bool eigenerBenutzer);

  // Help for this window (F1 and button 5); set where the help window lives.
  static Haken<void(QWidget*)> hilfe;
  // The input box (owner, label, preset, title): returns the accepted text, the preset
  // when cancelled. Set by the program's wiring, where the comment dialog lives.
  static Haken<QString(QWidget*, const QString&, const QString&, const QString&)> eingabe;

  // The window's width in twips after the layout of the settings.
  int BreiteTwips() const { return mBreite; }

 protected:
  bool eventFilter(QObject* ziel, QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  bool Seite_prüfen() override { return Plausibilitätsprüfung(); }
  bool Zeile_anhängen() override;
  void Feld_verlassen(QLineEdit* feld, QWidget* neu) override;
  bool Feld_gültig(QLineEdit* feld) override;
  bool Taste(QWidget* w, QKeyEvent* k) override;

 private:
  void Form_Load();
  bool Form_KeyDown(QKeyEvent* k);
  bool Taste_gefiltert(int spalte, QLineEdit* feld, QKeyEvent* k);
  void txtName_Change(int zeile);
  // The row's base colour, or the heading colour on a heading row.
  void Zeile_abwählen(int zeile);
  bool Dezimal_Rest() const;
  QString Zahl_anzeigen(const QString& wert, bool dezimal) const;
  QStringList Anzeigetexte(const Zeilensatz& z) const;
  void Seite_zeigen(int datensatz);

  int mBreite = 0;  // twips
  int mHöhe = 0;
  bool mAnzeigen = false;  // the rows are being filled: no change handling
};

// Opens the editor modally over its owner.
void Mitarbeiter_bearbeiten(QWidget* besitzer);

// The apply step: from the editor's checked records into the employee table and every
// file that names a user. False when a conflict was reported or the user declined.
bool Mitarbeiterdaten_aktualisieren(frmMitarbeiter& f);
