#include "people/frmMitarbeiter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPixmap>

#include "common/Gebietsschema.h"
#include "common/Testnamen.h"
#include "people/Mitarbeitereditor.h"
#include "platform/Bildschirm.h"
#include "startup/Dateizugriff.h"

namespace {

// --- Loading -----------------------------------------------------------------

struct Ladefall {
  int einträge;
  int datensätze;
  int maximum;
  int mitarbeiter;
};

class Laden : public Mitarbeitereditor, public ::testing::WithParamInterface<Ladefall> {};

TEST_P(Laden, SaetzeBildlaufbereichUndTitel) {
  const Ladefall fall = GetParam();
  mitarbeiter(fall.einträge);
  if (fall.einträge >= 3) überschrift(3, QStringLiteral("Verwaltung"));
  frmMitarbeiter& f = öffnen();
  EXPECT_EQ(f.Obergrenze(), fall.datensätze);
  EXPECT_EQ(f.vsbScrollBar->maximum(), fall.maximum);
  EXPECT_EQ(f.vsbScrollBar->value(), 0);
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Velkora - Mitarbeiterdaten - %1 Mitarbeiter").arg(fall.mitarbeiter));
  EXPECT_FALSE(f.cmdAuswahl[6]->isEnabled());
  if (fall.einträge == 0) {
    EXPECT_EQ(QApplication::focusWidget(), f.txtName[1]);
    for (int k = 1; k <= 22; ++k) EXPECT_TRUE(f.txtName[k]->text().isEmpty());
  } else {
    EXPECT_EQ(f.txtName[1]->text(), QStringLiteral("Name 001"));
    EXPECT_EQ(f.txtBenutzerID[1]->text(), QStringLiteral("ma001"));
    EXPECT_EQ(f.txtUrlaub1[1]->text(), QStringLiteral("30"));
    EXPECT_TRUE(f.txtVonDatum[1]->text().isEmpty());
    EXPECT_TRUE(f.txtBisDatum[1]->text().isEmpty());
    // The heading row carries only its text.
    EXPECT_EQ(f.txtName[3]->text(), QStringLiteral(">Verwaltung"));
    EXPECT_EQ(f.Zeilen[3].NameAlt, QStringLiteral(">Verwaltung"));
    EXPECT_TRUE(f.txtUrlaub1[3]->text().isEmpty());
    EXPECT_EQ(f.txtName[3]->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(f.Zeilen[1].BenutzerIDAlt, QStringLiteral("ma001"));
  }
}

INSTANTIATE_TEST_SUITE_P(Listen, Laden,
                         ::testing::Values(Ladefall{0, 23, 1, 0}, Ladefall{5, 23, 1, 4}, Ladefall{23, 23, 1, 22},
                                           Ladefall{40, 41, 19, 39}),
                         [](const auto& info) {
                           return testname(QStringLiteral("Eintraege %1").arg(info.param.einträge));
                         });

// --- Layout ------------------------------------------------------------------

struct Layoutfall {
  const char* name;
  int pos28, pos30, pos33;
  bool halbtag;
  int breite;       // twips
  bool benutzer;    // the user-name column is shown
  int restlänge;    // MaxLength of the remaining-vacation boxes
  int urlaublänge;  // of the entitlement boxes
  bool su;          // the special-leave header is shown
  QString jahr4;    // header 12
};

class Layout : public Mitarbeitereditor, public ::testing::WithParamInterface<Layoutfall> {};

TEST_P(Layout, EinstellungenFormenDasFenster) {
  const Layoutfall fall = GetParam();
  SetSetting(28, fall.pos28);
  SetSetting(30, fall.pos30);
  SetSetting(33, fall.pos33);
  gSFUrlaubHalb = fall.halbtag ? 2 : 0;
  frmMitarbeiter& f = öffnen();
  EXPECT_EQ(f.BreiteTwips(), fall.breite);
  EXPECT_GE(f.width(), bildschirm::twipsZuPixel(fall.breite));
  EXPECT_EQ(f.txtBenutzerID[5]->isVisible(), fall.benutzer);
  EXPECT_EQ(f.lblBeschriftung[2]->isVisible(), fall.benutzer);
  EXPECT_EQ(f.txtResturlaub[5]->maxLength(), fall.restlänge);
  EXPECT_EQ(f.txtUrlaub3[5]->maxLength(), fall.urlaublänge);
  EXPECT_EQ(f.lblBeschriftung[13]->isVisible(), fall.su);
  EXPECT_EQ(f.lblBeschriftung[12]->text(), fall.jahr4);
  EXPECT_EQ(f.lblBeschriftung[9]->text(), QStringLiteral("2025"));
  EXPECT_EQ(f.lblBeschriftung[6]->toolTip(), QStringLiteral("Resturlaub mit Stand 01.01.25"));
  // Every box lies inside the window, left of the scroll bar, and the buttons right of it.
  for (int k = 1; k <= 22; ++k)
    for (int s = 1; s <= 9; ++s)
      if (f.Feld(s, k)->isVisible()) {
        EXPECT_LE(f.Feld(s, k)->geometry().right(), f.vsbScrollBar->x());
      }
  for (int i = 1; i <= 8; ++i) {
    EXPECT_GT(f.cmdAuswahl[i]->x(), f.vsbScrollBar->geometry().right());
    EXPECT_LE(f.cmdAuswahl[i]->geometry().right(), f.width());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Einstellungen, Layout,
    ::testing::Values(Layoutfall{"Standard", 0, 0, 0, false, 12420, true, 3, 3, false, QStringLiteral("2028")},
                      Layoutfall{"OhneBenutzer", 1, 0, 0, false, 10365, false, 3, 3, false, QStringLiteral("2028")},
                      Layoutfall{"Halbtag", 0, 0, 0, true, 12540, true, 5, 3, false, QStringLiteral("2028")},
                      Layoutfall{"Dezimal", 0, 1, 0, false, 12900, true, 5, 5, false, QStringLiteral("2028")},
                      Layoutfall{"Sonderurlaub", 0, 0, 1, false, 12495, true, 3, 3, true, QStringLiteral("2026")},
                      Layoutfall{"Alles", 1, 2, 1, true, 10920, false, 5, 5, true, QStringLiteral("2026")}),
    NachName{});

TEST_F(Mitarbeitereditor, JahresueberschriftenEinesUrlaubsjahresAbApril) {
  gUrlaubsjahrBeginn = 4;
  gUrlaub1Leer = true;
  frmMitarbeiter& f = öffnen();
  EXPECT_EQ(f.lblBeschriftung[9]->text(), QStringLiteral("25/26"));
  EXPECT_EQ(f.lblBeschriftung[12]->text(), QStringLiteral("28/29"));
  EXPECT_EQ(f.lblBeschriftung[7]->toolTip(), QStringLiteral("Resturlaub mit Stand 01.04.26"));
}

// --- Key filters and leaving a field ----------------------------------------

struct Eingabefall {
  const char* name;
  int pos30;
  bool halbtag;
  int spalte;
  QString getippt;
  QString ergebnis;
};

class Eingabe : public Mitarbeitereditor, public ::testing::WithParamInterface<Eingabefall> {};

TEST_P(Eingabe, FilternUndVereinheitlichen) {
  const Eingabefall fall = GetParam();
  SetSetting(30, fall.pos30);
  gSFUrlaubHalb = fall.halbtag ? 2 : 0;
  mitarbeiter(3);
  frmMitarbeiter& f = öffnen();
  eingeben(f.Feld(fall.spalte, 2), fall.getippt);
  EXPECT_EQ(f.Feld(fall.spalte, 2)->text(), fall.ergebnis);
  EXPECT_TRUE(skript->texte().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Spalten, Eingabe,
    ::testing::Values(
        Eingabefall{"KommaImDatum", 0, false, 3, QStringLiteral("1,2,26"), QStringLiteral("01.02.26")},
        Eingabefall{"BuchstabeImDatum", 0, false, 4, QStringLiteral("3x1.12"), QStringLiteral("31.12.26")},
        Eingabefall{"MinusImAnspruch", 0, false, 6, QStringLiteral("-12a"), QStringLiteral("12")},
        Eingabefall{"MinusImRest", 0, false, 5, QStringLiteral("-5"), QStringLiteral("-5")},
        Eingabefall{"MinusHintenImRest", 0, false, 5, QStringLiteral("5-"), QStringLiteral("0")},
        Eingabefall{"DezimalAn", 1, false, 6, QStringLiteral("12"), QStringLiteral("12,0")},
        Eingabefall{"ZweiTrenner", 1, false, 7, QStringLiteral("1,2,"), QStringLiteral("0,0")},
        Eingabefall{"TrennerAllein", 2, false, 8, QStringLiteral(","), QStringLiteral("0,0")},
        Eingabefall{"TrennerAus", 0, false, 6, QStringLiteral("2,5"), QStringLiteral("25")},
        Eingabefall{"TrennerAusImRest", 0, false, 5, QStringLiteral("2,5"), QStringLiteral("25")},
        Eingabefall{"HalbtagImRest", 0, true, 5, QStringLiteral("2,5"), QStringLiteral("2,5")},
        Eingabefall{"HalbtagNichtImAnspruch", 0, true, 6, QStringLiteral("2,5"), QStringLiteral("25")},
        Eingabefall{"NameGetrimmt", 0, false, 1, QStringLiteral("  Neu Name "), QStringLiteral("Neu Name")}),
    NachName{});

TEST_F(Mitarbeitereditor, SpeichernEinerZeileErgibtDieGespeichertenFormen) {
  SetSetting(30, 1);
  frmMitarbeiter& f = öffnen();
  eingeben(f.txtName[1], QStringLiteral("Maier Anna"));
  eingeben(f.txtUrlaub1[1], QStringLiteral("30"));
  eingeben(f.txtUrlaub2[1], QStringLiteral("2,5"));
  const Zeilensatz& z = f.Zeilen[1];
  EXPECT_EQ(z.Von, QStringLiteral("000000"));
  EXPECT_EQ(z.Bis, QStringLiteral("999999"));
  EXPECT_EQ(z.Urlaubsdaten, QStringLiteral("000,0:030,0:002,5:000,0:000,0"));
  // Without a user name the name is the key.
  EXPECT_EQ(z.BenutzerID, QStringLiteral("Maier Anna"));
  EXPECT_TRUE(z.BenutzerIDAlt.isEmpty());
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Velkora - Mitarbeiterdaten - 1 Mitarbeiter"));
  // A ">" makes the row a heading and empties the rest.
  fokus(f.txtName[1]);
  f.txtName[1]->setCursorPosition(0);
  tippen(QStringLiteral(">"));
  EXPECT_TRUE(f.txtUrlaub1[1]->text().isEmpty());
  taste(Qt::Key_Tab);
  EXPECT_EQ(f.Zeilen[1].Name, QStringLiteral(">Maier Anna"));
  EXPECT_TRUE(f.Zeilen[1].BenutzerID.isEmpty());
}

TEST_F(Mitarbeitereditor, SonderurlaubsspalteBearbeitetIhrenEigenenWert) {
  SetSetting(33, 1);
  mitarbeiter(2);
  gUrlaubsdaten[1] = QStringLiteral("000,0:030,0:030,0:000,0:024,0");
  frmMitarbeiter& f = öffnen();
  eingeben(f.txtUrlaub4[1], QStringLiteral("5"));
  EXPECT_EQ(f.Zeilen[1].Sonderurlaub, QStringLiteral("005,0"));
  EXPECT_EQ(f.Zeilen[1].Urlaubsdaten, QStringLiteral("000,0:030,0:030,0:000,0:024,0"));
}

TEST_F(Mitarbeitereditor, AnwendenknopfFolgtAenderungenNichtDemTabulator) {
  mitarbeiter(3);
  frmMitarbeiter& f = öffnen();
  // Through an empty row and through a loaded one, nothing changes.
  fokus(f.txtName[5]);
  for (int i = 0; i < 9; ++i) taste(Qt::Key_Tab);
  fokus(f.txtName[1]);
  for (int i = 0; i < 9; ++i) taste(Qt::Key_Tab);
  EXPECT_FALSE(f.cmdAuswahl[6]->isEnabled());
  EXPECT_TRUE(f.cmdAuswahl[1]->isEnabled());
  // Delete in an empty box is no change; in a filled one it is.
  fokus(f.txtVonDatum[5]);
  taste(Qt::Key_Delete);
  EXPECT_FALSE(f.cmdAuswahl[6]->isEnabled());
  fokus(f.txtUrlaub1[2]);
  f.txtUrlaub1[2]->setCursorPosition(0);
  taste(Qt::Key_Delete);
  EXPECT_TRUE(f.cmdAuswahl[6]->isEnabled());
}

TEST_F(Mitarbeitereditor, FokussierteZeileIstHervorgehoben) {
  mitarbeiter(3);
  frmMitarbeiter& f = öffnen();
  fokus(f.txtUrlaub1[2]);
  EXPECT_EQ(f.txtName[2]->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
  taste(Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), f.txtUrlaub1[3]);
  EXPECT_EQ(f.txtName[2]->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(f.AktuelleZeile, 2);
  // Enter moves on like Tab; no button is the default.
  taste(Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), f.txtUrlaub2[3]);
  EXPECT_TRUE(f.isVisible());
}

// --- Typed, stored, shown again -----------------------------------------------

// What a box holds after typing comes back from the record, from the file and after
// reopening exactly as typed, whatever the process locale; a year the record cannot
// hold is refused, never turned into another one.
class Wiedergabe : public UnterGebietsschema<Mitarbeitereditor> {};

TEST_P(Wiedergabe, GetipptGespeichertWiederGezeigt) {
  const QString vorJahr2000 = QStringLiteral(
      "'Von-Datum' darf nicht vor dem 01.01.2000 liegen.\r\rSie brauchen bei 'befristet beschäftigt von' nur ein "
      "Datum einzutragen, wenn der Beschäftigungsbeginn nach dem 01.01.25 liegt.");
  const QString unplausibel = QStringLiteral("Datumseingabe nicht plausibel");
  struct Fall {
    const char* name;
    int pos30;
    bool halbtag;
    int spalte;
    QString getippt;
    QString gespeichert;  // the record's field; empty when leaving the box is refused
    QString angezeigt;    // the box after leaving it (the typed text when refused)
    QString meldung;      // on leaving the box, or else on applying the list
  };
  const Fall fälle[] = {
      {"HalberResttag", 0, true, 5, "3,5", "003,5", "3,5", {}},
      {"HalberAnspruch", 1, false, 6, "28,5", "028,5", "28,5", {}},
      {"ZehntelAnspruch", 2, false, 7, "1,3", "001,3", "1,3", {}},
      {"VierstelligesJahrVon", 0, false, 3, "31.12.2026", "261231", "31.12.26", {}},
      {"VierstelligesJahrBis", 0, false, 4, "1.3.2030", "300301", "01.03.30", {}},
      {"ZweistelligesJahrDiesesJahrhunderts", 0, false, 3, "31.12.35", "351231", "31.12.35", {}},
      {"VonVor2000Vierstellig", 0, false, 3, "31.12.1999", {}, "31.12.1999", vorJahr2000},
      {"VonVor2000Zweistellig", 0, false, 3, "31.12.99", "991231", "31.12.99", vorJahr2000},
      {"BisVor2000", 0, false, 4, "31.12.99", "991231", "31.12.99", unplausibel},
      {"BisNach2099", 0, false, 4, "1.1.2100", {}, "1.1.2100", unplausibel},
      {"JahrDasDieAnzeigeNichtWiedergibt", 0, false, 4, "31.12.2060", {}, "31.12.2060", unplausibel},
  };
  const auto feldwert = [](const Zeilensatz& z, int spalte) {
    if (spalte == 3) return z.Von;
    if (spalte == 4) return z.Bis;
    return z.Urlaubsdaten.mid(6 * (spalte - 5), 5);
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.name);
    editor.reset();
    skript->protokoll.clear();
    SetSetting(30, f.pos30);
    gSFUrlaubHalb = f.halbtag ? 2 : 0;
    mitarbeiter(3);
    Mitarbeiterdaten_schreiben();
    frmMitarbeiter* e = &öffnen();
    QLineEdit* box = e->Feld(f.spalte, 2);
    eingeben(box, f.getippt);
    EXPECT_EQ(box->text(), f.angezeigt);
    if (f.gespeichert.isEmpty()) {
      EXPECT_EQ(meldungen(), QStringList{f.meldung});
      EXPECT_EQ(QApplication::focusWidget(), box);
      EXPECT_EQ(e->Zeilen[2].Von + e->Zeilen[2].Bis, QStringLiteral("000000999999"));
      continue;
    }
    EXPECT_TRUE(meldungen().isEmpty());
    EXPECT_EQ(feldwert(e->Zeilen[2], f.spalte), f.gespeichert);
    e->Anzeige_aktualisieren();
    EXPECT_EQ(box->text(), f.angezeigt);
    QTest::mouseClick(e->cmdAuswahl[6], Qt::LeftButton);
    if (!f.meldung.isEmpty()) {
      EXPECT_EQ(meldungen(), QStringList{f.meldung});
      EXPECT_EQ(QApplication::focusWidget(), box);
      continue;
    }
    EXPECT_TRUE(meldungen().isEmpty());
    const QStringList datei = dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
    ASSERT_GE(datei.size(), 5);
    EXPECT_TRUE(datei[4].contains(f.gespeichert)) << datei[4].toStdString();
    e = &öffnen();
    EXPECT_EQ(e->Feld(f.spalte, 2)->text(), f.angezeigt);
    EXPECT_EQ(feldwert(e->Zeilen[2], f.spalte), f.gespeichert);
  }
}

INSTANTIATE_GEBIETSSCHEMATA(Wiedergabe);

// A click into a box selects its text as the keyboard does, so typing replaces it;
// Ctrl+A selects it again in every column.
TEST_F(Mitarbeitereditor, KlickUndStrgAMarkierenDenGanzenText) {
  mitarbeiter(3);
  gEintrittsdaten[2] = QStringLiteral("260301");
  frmMitarbeiter& f = öffnen();
  fokus(f.txtName[1]);
  for (int spalte : {1, 3, 6}) {
    SCOPED_TRACE(spalte);
    QLineEdit* box = f.Feld(spalte, 2);
    const QString vorher = box->text();
    ASSERT_FALSE(vorher.isEmpty());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(box->selectedText(), vorher);
    box->deselect();
    box->setCursorPosition(0);
    taste(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box->selectedText(), vorher);
    EXPECT_EQ(box->text(), vorher);
    // A click into the box that has the focus places the cursor.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, box->height() / 2));
    EXPECT_FALSE(box->hasSelectedText());
    fokus(f.txtName[1]);
  }
  QTest::mouseClick(f.txtUrlaub1[2], Qt::LeftButton, {}, QPoint(4, 4));
  tippen(QStringLiteral("28"));
  taste(Qt::Key_Tab);
  EXPECT_EQ(f.Zeilen[2].Urlaubsdaten, QStringLiteral("000,0:028,0:030,0:000,0:000,0"));
  EXPECT_TRUE(skript->texte().empty());
}

// --- Validation --------------------------------------------------------------

struct Prüffall {
  const char* name;
  int zeile, spalte;  // the box typed into (row in view)
  QString text;
  int zeile2, spalte2;  // a second box (0: none)
  QString text2;
  QString meldung;
  int fokusZeile, fokusSpalte;
};

class Pruefung : public Mitarbeitereditor, public ::testing::WithParamInterface<Prüffall> {};

TEST_P(Pruefung, ErsterFehlerGewinntUndNimmtDenFokus) {
  const Prüffall fall = GetParam();
  SetSetting(30, 1);  // five characters in the number boxes
  mitarbeiter(5);
  frmMitarbeiter& f = öffnen();
  // Texts as typed or pasted: put into the boxes directly.
  f.Feld(fall.spalte, fall.zeile)->setText(fall.text);
  if (fall.zeile2) f.Feld(fall.spalte2, fall.zeile2)->setText(fall.text2);
  for (int k = 1; k <= 22; ++k) f.Eingabezeile_speichern(k);
  f.cmdAuswahl[6]->setEnabled(true);
  QTest::mouseClick(f.cmdAuswahl[6], Qt::LeftButton);
  ASSERT_FALSE(skript->texte().empty());
  EXPECT_EQ(skript->texte().front(), fall.meldung);
  EXPECT_EQ(QApplication::focusWidget(), f.Feld(fall.fokusSpalte, fall.fokusZeile));
}

INSTANTIATE_TEST_SUITE_P(
    Tests, Pruefung,
    ::testing::Values(
        Prüffall{"Doppelpunkt",
                 4,
                 1,
                 QStringLiteral("A:B"),
                 0,
                 0,
                 {},
                 QStringLiteral("Unzulässiges Sonderzeichen enthalten"),
                 4,
                 1},
        Prüffall{"Strich",
                 2,
                 2,
                 QStringLiteral("a|b"),
                 0,
                 0,
                 {},
                 QStringLiteral("Unzulässiges Sonderzeichen enthalten"),
                 2,
                 2},
        Prüffall{"BenutzerAlsUeberschrift",
                 3,
                 2,
                 QStringLiteral(">x"),
                 0,
                 0,
                 {},
                 QStringLiteral("Unzulässiges Sonderzeichen enthalten"),
                 3,
                 2},
        Prüffall{"Steuerzeichen",
                 2,
                 1,
                 QStringLiteral("Tab\tName"),
                 0,
                 0,
                 {},
                 QStringLiteral("Unzulässiges Sonderzeichen enthalten"),
                 2,
                 1},
        Prüffall{"NichtWindows1252",
                 2,
                 2,
                 QStringLiteral("u\u0142"),
                 0,
                 0,
                 {},
                 QStringLiteral("Unzulässiges Sonderzeichen enthalten"),
                 2,
                 2},
        Prüffall{"ZeichenVorUeberschrift", 5, 1, QStringLiteral(">Gruppe"), 1, 1, QStringLiteral("x:y"),
                 QStringLiteral("Unzulässiges Sonderzeichen enthalten"), 1, 1},
        Prüffall{"UeberschriftMitDaten", 5, 1, QStringLiteral(">Gruppe"), 5, 6, QStringLiteral("12"),
                 QStringLiteral("Zeile als Überschrift gekennzeichnet, restliche Felder der Zeile müssen leer sein"), 5,
                 1},
        Prüffall{
            "OhneName", 7, 6, QStringLiteral("12"), 0, 0, {}, QStringLiteral("Bitte Name und Vorname eingeben"), 7, 1},
        Prüffall{"DoppelterBenutzer",
                 4,
                 2,
                 QStringLiteral("MA002"),
                 0,
                 0,
                 {},
                 QStringLiteral("Benutzername 'ma002' ist doppelt vorhanden"),
                 2,
                 2},
        Prüffall{"DoppelterName", 6, 1, QStringLiteral("Name 009"), 7, 1, QStringLiteral("NAME 009"),
                 QStringLiteral("Name 'Name 009' ist doppelt vorhanden"), 6, 1},
        Prüffall{"BisVorVon", 2, 3, QStringLiteral("02.03.26"), 2, 4, QStringLiteral("01.03.26"),
                 QStringLiteral("'Von-Datum' ist größer als 'Bis-Datum'"), 2, 3},
        Prüffall{"Zuviel", 3, 6, QStringLiteral("1000"), 0, 0, {}, QStringLiteral("Unzulässige Eingabe"), 3, 6},
        Prüffall{"Zuwenig", 3, 5, QStringLiteral("-100"), 0, 0, {}, QStringLiteral("Unzulässige Eingabe"), 3, 5},
        Prüffall{"Endung",
                 3,
                 7,
                 QStringLiteral("12,3"),
                 0,
                 0,
                 {},
                 QStringLiteral("Urlaub muss auf ,0 oder ,5 enden"),
                 3,
                 7}),
    NachName{});

TEST_F(Mitarbeitereditor, GleicheDatenUndGrenzwerteBestehen) {
  mitarbeiter(3);
  frmMitarbeiter& f = öffnen();
  f.txtVonDatum[1]->setText(QStringLiteral("01.03.26"));
  f.txtBisDatum[1]->setText(QStringLiteral("01.03.26"));
  f.txtUrlaub1[1]->setText(QStringLiteral("999,9"));
  f.txtResturlaub[2]->setText(QStringLiteral("-99,5"));
  EXPECT_TRUE(f.Plausibilitätsprüfung());
  SetSetting(30, 2);
  f.txtUrlaub1[1]->setText(QStringLiteral("12,3"));
  EXPECT_TRUE(f.Plausibilitätsprüfung());
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(Mitarbeitereditor, AnwendenPrueftSaetzeAusserhalbDerSeite) {
  mitarbeiter(40);
  frmMitarbeiter& f = öffnen();
  // A record that the page never showed since it was pushed there holds a ":".
  f.Zeilen[35].Name = QStringLiteral("Weit:Unten");
  f.cmdAuswahl[6]->setEnabled(true);
  bool angewandt = false;
  QTest::mouseClick(f.cmdAuswahl[6], Qt::LeftButton);
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_EQ(skript->texte()[0], QStringLiteral("Unzulässiges Sonderzeichen enthalten"));
  // Scrolled into view, its box has the focus; nothing was applied.
  EXPECT_EQ(f.ErsteZeile, 19);
  EXPECT_EQ(f.vsbScrollBar->value(), 19);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[35 - 19]);
  EXPECT_EQ(f.txtName[35 - 19]->text(), QStringLiteral("Weit:Unten"));
  EXPECT_TRUE(f.cmdAuswahl[6]->isEnabled());
  EXPECT_FALSE(angewandt);
}

// --- Scrolling ---------------------------------------------------------------

TEST_F(Mitarbeitereditor, BildlaufSpringtBeiFalschemDatumZurueck) {
  mitarbeiter(40);
  frmMitarbeiter& f = öffnen();
  fokus(f.txtVonDatum[3]);
  tippen(QStringLiteral("99.99"));
  f.vsbScrollBar->setValue(5);
  EXPECT_EQ(f.vsbScrollBar->value(), 0);
  EXPECT_EQ(f.ErsteZeile, 0);
  EXPECT_EQ(QApplication::focusWidget(), f.txtVonDatum[3]);
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_EQ(skript->texte()[0], QStringLiteral("Datumseingabe nicht plausibel"));
  // A failing page check snaps back too.
  f.txtVonDatum[3]->clear();
  f.txtName[4]->setText(QStringLiteral("a:b"));
  f.vsbScrollBar->setValue(5);
  EXPECT_EQ(f.vsbScrollBar->value(), 0);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[4]);
}

TEST_F(Mitarbeitereditor, Seitentasten) {
  mitarbeiter(60);  // 61 records, maximum 39
  frmMitarbeiter& f = öffnen();
  fokus(f.txtName[3]);
  taste(Qt::Key_PageDown);
  EXPECT_EQ(f.ErsteZeile, 22);
  EXPECT_EQ(f.txtName[1]->text(), QStringLiteral("Name 023"));
  taste(Qt::Key_PageDown);
  EXPECT_EQ(f.ErsteZeile, 39);
  taste(Qt::Key_PageUp);
  EXPECT_EQ(f.ErsteZeile, 17);
  f.vsbScrollBar->setValue(5);
  taste(Qt::Key_PageUp);
  EXPECT_EQ(f.ErsteZeile, 0);
  taste(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(f.ErsteZeile, 39);
  taste(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(f.ErsteZeile, 0);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[3]);
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(Mitarbeitereditor, AufUndAbAnDenSeitenraendern) {
  mitarbeiter(30);  // 31 records, maximum 9
  frmMitarbeiter& f = öffnen();
  fokus(f.txtUrlaub1[22]);
  taste(Qt::Key_Down);
  EXPECT_EQ(f.ErsteZeile, 1);
  EXPECT_EQ(QApplication::focusWidget(), f.txtUrlaub1[22]);
  taste(Qt::Key_Up);
  EXPECT_EQ(QApplication::focusWidget(), f.txtUrlaub1[21]);
  fokus(f.txtName[1]);
  taste(Qt::Key_Up);
  EXPECT_EQ(f.ErsteZeile, 0);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[1]);
}

TEST_F(Mitarbeitereditor, AbInDerLetztenZeileAmEndeFuegtEinenSatzAn) {
  mitarbeiter(23);  // 23 records
  frmMitarbeiter& f = öffnen();
  // The last page shows the last employee in row 22 and gets an empty record.
  f.vsbScrollBar->setValue(1);
  EXPECT_EQ(f.Obergrenze(), 24);
  EXPECT_EQ(f.vsbScrollBar->maximum(), 2);
  ASSERT_EQ(f.txtName[22]->text(), QStringLiteral("Name 023"));
  fokus(f.txtBenutzerID[22]);
  taste(Qt::Key_Down);
  EXPECT_EQ(f.ErsteZeile, 2);
  EXPECT_TRUE(f.txtName[22]->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), f.txtBenutzerID[22]);
  // A name typed into the new last row adds the next one.
  fokus(f.txtName[22]);
  tippen(QStringLiteral("Neu"));
  EXPECT_EQ(f.Obergrenze(), 25);
  EXPECT_EQ(f.vsbScrollBar->maximum(), 3);
  // Down from there scrolls it up into row 21.
  taste(Qt::Key_Down);
  EXPECT_EQ(f.ErsteZeile, 3);
  EXPECT_EQ(f.txtName[21]->text(), QStringLiteral("Neu"));
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[22]);
}

// --- Cancelling --------------------------------------------------------------

TEST_F(Mitarbeitereditor, AbbrechenLaesstJedeDateiWieSieWar) {
  mitarbeiter(5);
  Mitarbeiterdaten_schreiben();
  const QStringList vorher = QDir(gDatenordner).entryList(QDir::Files);
  const QByteArray inhalt = lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  frmMitarbeiter& f = öffnen();
  eingeben(f.txtName[2], QStringLiteral("Anders"));
  fokus(f.txtVonDatum[3]);
  tippen(QStringLiteral("77"));
  // The unconfirmed date does not stop the cancel button.
  QTest::mouseClick(f.cmdAuswahl[7], Qt::LeftButton);
  EXPECT_EQ(f.result(), QDialog::Rejected);
  EXPECT_FALSE(f.isVisible());
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(QDir(gDatenordner).entryList(QDir::Files), vorher);
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), inhalt);
  EXPECT_EQ(gMitarbeiterNamen[2], QStringLiteral("Name 002"));
}

}  // namespace

// --- Pictures ----------------------------------------------------------------

struct Bildfall {
  const char* name;
  int mitarbeiter;
  bool breit;   // decimal entitlements, special leave, half days: the widest layout
  bool schmal;  // without user names: the narrowest
};

class Bilder : public Mitarbeitereditor, public ::testing::WithParamInterface<Bildfall> {};

// Pictures of the editor, kept when VELKORA_BILDER names a folder: nothing clipped,
// every text German.
TEST_P(Bilder, EditorWieGezeigt) {
  const Bildfall fall = GetParam();
  if (fall.breit) {
    SetSetting(30, 1);
    SetSetting(33, 1);
    gSFUrlaubHalb = 2;
  }
  if (fall.schmal) SetSetting(28, 1);
  mitarbeiter(fall.mitarbeiter);
  if (fall.mitarbeiter > 0) {
    überschrift(1, QStringLiteral("Verwaltung"));
    gEintrittsdaten[2] = QStringLiteral("250301");
    gAustrittsdaten[2] = QStringLiteral("261231");
    gUrlaubsdaten[3] = QStringLiteral("004,5:030,0:028,5:000,0:000,0");
  }
  frmMitarbeiter& f = öffnen();
  if (fall.mitarbeiter > 0) fokus(f.txtUrlaub1[4]);
  const QPixmap bild = f.grab();
  EXPECT_FALSE(bild.isNull());
  // Every header and a full date fit.
  EXPECT_LE(f.txtVonDatum[1]->fontMetrics().horizontalAdvance(QStringLiteral("31.12.26")) + 8,
            f.txtVonDatum[1]->width());
  for (int i = 1; i <= 13; ++i) {
    QLabel* l = f.lblBeschriftung[i];
    if (!l->isVisible()) continue;
    const QRect nötig = l->fontMetrics().boundingRect(QRect(0, 0, 10000, 10000), 0, l->text());
    EXPECT_LE(nötig.width(), l->width() + 2) << l->text().toStdString();
  }
  const QString ordner = qEnvironmentVariable("VELKORA_BILDER");
  if (!ordner.isEmpty())
    bild.save(ordner + QStringLiteral("/frmMitarbeiter_") + QString::fromLatin1(fall.name) + ".png");
}

INSTANTIATE_TEST_SUITE_P(Varianten, Bilder,
                         ::testing::Values(Bildfall{"leer", 0, false, false}, Bildfall{"leer_schmal", 0, false, true},
                                           Bildfall{"tausend", 1000, false, false},
                                           Bildfall{"tausend_breit", 1000, true, false},
                                           Bildfall{"tausend_schmal", 1000, false, true}),
                         NachName{});
