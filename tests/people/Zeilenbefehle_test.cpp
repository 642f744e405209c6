// The editor's row commands, the vacation carry-over and the search, on the real
// editor with keys, clicks and scripted prompts.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>

#include "people/Mitarbeitereditor.h"

namespace {

// The scripted prompts, counting beeps as well.
struct Piepskript : dialoge::Skript {
  void piepen() override { ++piepser; }
  int piepser = 0;
};

class Zeilenbefehle : public Mitarbeitereditor {
 protected:
  void SetUp() override {
    Mitarbeitereditor::SetUp();
    auto eigenes = std::make_unique<Piepskript>();
    piepskript = eigenes.get();
    skript = piepskript;
    dialoge::setzeDienst(std::move(eigenes));
    // The input box answers from a queue and keeps its prompts.
    frmMitarbeiter::eingabe = [this](QWidget*, const QString& beschriftung, const QString& vorgabe,
                                     const QString& titel) {
      eingaben << beschriftung + u'|' + vorgabe + u'|' + titel;
      return antworten.isEmpty() ? QString() : antworten.takeFirst();
    };
  }
  void TearDown() override {
    frmMitarbeiter::eingabe = nullptr;
    Mitarbeitereditor::TearDown();
  }
  QString name(int r) const { return editor->Zeilen[static_cast<size_t>(r)].Name; }
  void knopf(int i) { QTest::mouseClick(editor->cmdAuswahl[i], Qt::LeftButton); }
  // Scrolls the page so that ErsteZeile is wert.
  void blättern(int wert) { editor->vsbScrollBar->setValue(wert); }
  void kopfklick(int index, Qt::KeyboardModifiers m) {
    QTest::mousePress(editor->lblBeschriftung[index], Qt::LeftButton, m);
    QTest::mouseRelease(editor->lblBeschriftung[index], Qt::LeftButton, m);
  }

  QStringList eingaben, antworten;
  Piepskript* piepskript = nullptr;
};

// --- Rows --------------------------------------------------------------------

TEST_F(Zeilenbefehle, EinfuegenAufEinerGeroltenSeite) {
  mitarbeiter(40);
  frmMitarbeiter& f = öffnen();
  blättern(10);
  fokus(f.txtUrlaub1[5]);
  knopf(1);
  EXPECT_EQ(f.Obergrenze(), 42);
  EXPECT_EQ(f.vsbScrollBar->maximum(), 20);
  EXPECT_TRUE(f.Zeilen[15].leer());
  EXPECT_EQ(name(16), QStringLiteral("Name 015"));
  EXPECT_EQ(name(41), QStringLiteral("Name 040"));
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[5]);
  EXPECT_TRUE(f.cmdAuswahl[6]->isEnabled());
  // The loaded user names travel with their records.
  EXPECT_EQ(f.Zeilen[16].BenutzerIDAlt, QStringLiteral("ma015"));
}

TEST_F(Zeilenbefehle, LoeschenAmEndeBehaeltDieAnzahlSonstSchrumpftSie) {
  mitarbeiter(40);  // 41 records, maximum 19
  frmMitarbeiter& f = öffnen();
  fokus(f.txtName[3]);
  knopf(2);
  EXPECT_EQ(f.Obergrenze(), 40);
  EXPECT_EQ(f.vsbScrollBar->maximum(), 18);
  EXPECT_EQ(name(3), QStringLiteral("Name 004"));
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[3]);
  blättern(18);
  fokus(f.txtName[20]);  // record 38
  knopf(2);
  EXPECT_EQ(f.Obergrenze(), 40);
  EXPECT_EQ(f.vsbScrollBar->maximum(), 18);
  EXPECT_EQ(name(38), QStringLiteral("Name 040"));
  EXPECT_TRUE(f.Zeilen[40].leer());
  EXPECT_TRUE(f.Zeilen[39].leer());
}

TEST_F(Zeilenbefehle, HochschiebenAusDerErstenZeileEinerGeroltenSeite) {
  mitarbeiter(40);
  frmMitarbeiter& f = öffnen();
  blättern(10);
  fokus(f.txtName[1]);  // record 11
  knopf(3);
  EXPECT_EQ(f.ErsteZeile, 9);
  EXPECT_EQ(name(10), QStringLiteral("Name 011"));
  EXPECT_EQ(name(11), QStringLiteral("Name 010"));
  EXPECT_EQ(f.txtName[1]->text(), QStringLiteral("Name 011"));
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[1]);
  // Down in the middle of the page.
  fokus(f.txtName[5]);  // record 14
  knopf(4);
  EXPECT_EQ(name(15), QStringLiteral("Name 014"));
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[6]);
  EXPECT_TRUE(f.Zeilenmodus.isEmpty());
  EXPECT_EQ(piepskript->piepser, 0);
}

TEST_F(Zeilenbefehle, ErsterSatzHochUndLetzterRunterPiepenNur) {
  mitarbeiter(40);
  frmMitarbeiter& f = öffnen();
  fokus(f.txtName[1]);
  knopf(3);
  EXPECT_EQ(piepskript->piepser, 1);
  EXPECT_EQ(name(1), QStringLiteral("Name 001"));
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[1]);
  blättern(f.vsbScrollBar->maximum());
  fokus(f.txtName[22]);
  knopf(4);
  EXPECT_EQ(piepskript->piepser, 2);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[22]);
  EXPECT_FALSE(f.cmdAuswahl[6]->isEnabled());
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(Zeilenbefehle, VerschiebenMitAbgelehntemBildlaufTauschtNichts) {
  mitarbeiter(40);
  frmMitarbeiter& f = öffnen();
  blättern(10);
  f.txtName[7]->setText(QStringLiteral("a:b"));  // the page check fails
  fokus(f.txtName[1]);
  knopf(3);
  EXPECT_EQ(f.ErsteZeile, 10);
  EXPECT_EQ(name(11), QStringLiteral("Name 011"));
  EXPECT_EQ(name(10), QStringLiteral("Name 010"));
  EXPECT_TRUE(f.Zeilenmodus.isEmpty());
  EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Unzulässiges Sonderzeichen enthalten")});
}

// --- Carry-over --------------------------------------------------------------

class Uebertrag : public Zeilenbefehle {
 protected:
  void SetUp() override {
    Zeilenbefehle::SetUp();
    mitarbeiter(4);
    überschrift(1, QStringLiteral("Team"));
    // Source Urlaub2 (2026), target Urlaub3 (2027).
    gUrlaubsdaten[2] = QStringLiteral("000,0:030,0:028,0:000,0:000,0");
    gUrlaubsdaten[3] = QStringLiteral("000,0:030,0:025,0:020,0:000,0");
    gUrlaubsdaten[4] = QStringLiteral("000,0:030,0:000,0:000,0:000,0");
  }
};

TEST_F(Uebertrag, NurLeereZieleErhaltenIhrVorjahr) {
  frmMitarbeiter& f = öffnen();
  skript->antworte(dialoge::kJa);
  kopfklick(11, Qt::ControlModifier | Qt::AltModifier);
  ASSERT_EQ(skript->texte().size(), 2u);
  EXPECT_EQ(skript->texte()[0],
            QStringLiteral("Sollen für alle Mitarbeiter die Urlaubsansprüche aus dem Jahr 2026 in das Jahr 2027 "
                           "übernommen werden?\r\rHinweis: Der Urlaubsanspruch wird nur übernommen, wenn für den "
                           "Mitarbeiter für das Jahr 2027 noch kein Urlaubsanspruch eingetragen wurde."));
  EXPECT_EQ(skript->texte()[1],
            QStringLiteral("Urlaubsansprüche aus dem Jahr 2026 wurden in das Jahr 2027 übernommen"));
  EXPECT_EQ(f.Zeilen[2].Urlaubsdaten, QStringLiteral("000,0:030,0:028,0:028,0:000,0"));
  EXPECT_EQ(f.Zeilen[3].Urlaubsdaten, QStringLiteral("000,0:030,0:025,0:020,0:000,0"));
  EXPECT_EQ(f.Zeilen[4].Urlaubsdaten, QStringLiteral("000,0:030,0:000,0:000,0:000,0"));
  EXPECT_TRUE(f.Zeilen[1].Urlaubsdaten.isEmpty());
  EXPECT_EQ(f.txtUrlaub3[2]->text(), QStringLiteral("28"));
  EXPECT_TRUE(f.cmdAuswahl[6]->isEnabled());
}

TEST_F(Uebertrag, AblehnungenUndNein) {
  frmMitarbeiter& f = öffnen();
  // No: nothing changes.
  kopfklick(11, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(f.Zeilen[2].Urlaubsdaten, QStringLiteral("000,0:030,0:028,0:000,0:000,0"));
  EXPECT_FALSE(f.cmdAuswahl[6]->isEnabled());
  // Shift or a missing Alt: nothing at all.
  kopfklick(11, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
  kopfklick(11, Qt::ControlModifier);
  EXPECT_EQ(skript->texte().size(), 1u);
  // Every target that could take a value has one.
  f.Zeilen[2].Urlaubsdaten = QStringLiteral("000,0:030,0:028,0:010,0:000,0");
  kopfklick(11, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(skript->texte().back(),
            QStringLiteral("Funktion für das Jahr 2027 nicht möglich, da bereits Urlaubsansprüche für das Jahr 2027 "
                           "erfasst wurden"));
  // No source anywhere.
  f.Zeilen[2].Urlaubsdaten = QStringLiteral("000,0:030,0:028,0:000,0:000,0");
  f.Zeilen[3].Urlaubsdaten = QStringLiteral("000,0:030,0:025,0:000,0:000,0");
  kopfklick(12, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(skript->texte().back(),
            QStringLiteral("Für das Jahr 2027 wurden noch keine Urlaubsansprüche erfasst, die in das Jahr 2028 "
                           "übernommen werden können"));
  // Unapplied changes come first.
  eingeben(f.txtName[2], QStringLiteral("Anders"));
  kopfklick(11, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(skript->texte().back(), QStringLiteral("Bitte zuerst mit 'Übernehmen' geänderte Daten speichern"));
  EXPECT_EQ(skript->texte().size(), 4u);
}

TEST_F(Uebertrag, VierteJahresueberschriftZaehltNichtSolangeSonderurlaubGenutztWird) {
  SetSetting(33, 1);
  gUrlaubsdaten[2] = QStringLiteral("000,0:030,0:028,0:020,0:000,0");
  frmMitarbeiter& f = öffnen();
  kopfklick(12, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(f.Zeilen[2].Urlaubsdaten, QStringLiteral("000,0:030,0:028,0:020,0:000,0"));
}

TEST_F(Uebertrag, DoppelklickKopiertNurInEinLeeresOderNullfeld) {
  frmMitarbeiter& f = öffnen();
  // Row 4: 2026 is 0, its 2025 value is 30.
  QTest::mouseDClick(f.txtUrlaub2[4], Qt::LeftButton);
  EXPECT_EQ(f.txtUrlaub2[4]->text(), QStringLiteral("30"));
  EXPECT_EQ(f.Zeilen[4].Urlaubsdaten, QStringLiteral("000,0:030,0:000,0:000,0:000,0")) << "stored on leaving";
  taste(Qt::Key_Tab);
  EXPECT_EQ(f.Zeilen[4].Urlaubsdaten, QStringLiteral("000,0:030,0:030,0:000,0:000,0"));
  EXPECT_TRUE(f.cmdAuswahl[6]->isEnabled());
  // A box with a value stays.
  QTest::mouseDClick(f.txtUrlaub3[3], Qt::LeftButton);
  EXPECT_EQ(f.txtUrlaub3[3]->text(), QStringLiteral("20"));
  // An empty box takes even an empty previous year.
  f.txtUrlaub3[2]->clear();
  f.txtUrlaub2[2]->clear();
  QTest::mouseDClick(f.txtUrlaub3[2], Qt::LeftButton);
  EXPECT_EQ(f.txtUrlaub3[2]->text(), QString());
  QTest::mouseDClick(f.txtUrlaub4[4], Qt::LeftButton);
  EXPECT_EQ(f.txtUrlaub4[4]->text(), QStringLiteral("0"));
}

TEST_F(Uebertrag, SonderurlaubsfeldNimmtKeineKopie) {
  SetSetting(33, 1);
  gUrlaubsdaten[2] = QStringLiteral("000,0:030,0:028,0:020,0:000,0");
  frmMitarbeiter& f = öffnen();
  QTest::mouseDClick(f.txtUrlaub4[2], Qt::LeftButton);
  EXPECT_EQ(f.txtUrlaub4[2]->text(), QStringLiteral("0"));
}

// --- Search ------------------------------------------------------------------

class Suche : public Zeilenbefehle {
 protected:
  void SetUp() override {
    Zeilenbefehle::SetUp();
    mitarbeiter(40);
    gMitarbeiterNamen[5] = QStringLiteral("Meier Hansjörg");
    gMitarbeiterNamen[30] = QStringLiteral("Meier Hans");
    gBenutzerIDs[30] = QStringLiteral("Tester");
    gMitarbeiterNamen[39] = QStringLiteral("Zander Meike");
  }
};

TEST_F(Suche, NamensteilInJederSchreibweiseDannWeiterBisZumEnde) {
  frmMitarbeiter& f = öffnen();
  fokus(f.txtName[2]);
  antworten << QStringLiteral("MEI");
  taste(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(eingaben, QStringList{QStringLiteral("Mitarbeiter suchen:\r\rName des Mitarbeiters||Mitarbeiter suchen")});
  EXPECT_EQ(f.ErsteZeile, 0);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[5]);
  taste(Qt::Key_F3);
  EXPECT_EQ(f.ErsteZeile, 19);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[11]);
  // Near the end the hit stands below row 11.
  taste(Qt::Key_F3);
  EXPECT_EQ(f.ErsteZeile, 19);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[20]);
  taste(Qt::Key_F3);
  EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Datenende erreicht")});
  // The next F3 asks again; a cancelled prompt ends silently.
  taste(Qt::Key_F3);
  EXPECT_EQ(eingaben.size(), 2);
  EXPECT_EQ(skript->texte().size(), 1u);
  // A user name is found too.
  antworten << QStringLiteral("ma02");
  taste(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(QApplication::focusWidget(), f.txtBenutzerID[20 - f.ErsteZeile]);
  antworten << QStringLiteral("niemand");
  taste(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(skript->texte().back(), QStringLiteral("Name 'niemand' nicht gefunden"));
}

TEST_F(Suche, F4FindetDenEigenenSatzNichtDenErstenMitSeinemNamen) {
  frmMitarbeiter& f = öffnen();
  fokus(f.txtName[2]);
  taste(Qt::Key_F4);
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(f.ErsteZeile, 19);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[11]);
  EXPECT_TRUE(f.Suchtext.isEmpty());
  gBenutzername = QStringLiteral("fremd");
  taste(Qt::Key_F4);
  EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Windows-Benutzername 'fremd' nicht gefunden")});
}

// The prompt of a real search is a window of its own: the editor gets the focus back
// only once it is active again. Whichever way the search went, one row is current.
TEST_F(Suche, NachDerSucheIstGenauEineZeileHervorgehoben) {
  QWidget eingabefenster;
  frmMitarbeiter::eingabe = [&](QWidget*, const QString&, const QString&, const QString&) {
    eingabefenster.show();
    QApplication::setActiveWindow(&eingabefenster);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&eingabefenster));
    eingabefenster.hide();
    return antworten.isEmpty() ? QString() : antworten.takeFirst();
  };
  frmMitarbeiter& f = öffnen();
  const QColor hervorgehoben(0xFF, 0xFF, 0xC0);
  const auto hervorgehobeneZeilen = [&] {
    QList<int> zeilen;
    for (int k = 1; k <= frmMitarbeiter::kZeilen; ++k)
      if (f.txtName[k]->palette().color(QPalette::Base) == hervorgehoben) zeilen << k;
    return zeilen;
  };
  struct Schritt {
    Qt::Key taste;
    Qt::KeyboardModifiers mods;
    const char* antwort;
    int ersteZeile, zeile;
  };
  const Schritt schritte[] = {{Qt::Key_F, Qt::ControlModifier, "Meier", 0, 5},
                              {Qt::Key_F3, Qt::NoModifier, nullptr, 19, 11},
                              {Qt::Key_F4, Qt::NoModifier, nullptr, 19, 11},
                              {Qt::Key_F, Qt::ControlModifier, "Zander", 19, 20},
                              {Qt::Key_F, Qt::ControlModifier, "Name 002", 0, 2}};
  fokus(f.txtUrlaub1[3]);
  for (const Schritt& s : schritte) {
    SCOPED_TRACE(s.antwort ? s.antwort : "weiter");
    if (s.antwort) antworten << QString::fromUtf8(s.antwort);
    taste(s.taste, s.mods);
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    QApplication::processEvents();
    EXPECT_EQ(f.ErsteZeile, s.ersteZeile);
    EXPECT_EQ(QApplication::focusWidget(), f.txtName[s.zeile]);
    EXPECT_EQ(hervorgehobeneZeilen(), QList<int>{s.zeile});
  }
}

TEST_F(Suche, F4TutOhneBenutzernamenNichts) {
  SetSetting(28, 1);
  frmMitarbeiter& f = öffnen();
  fokus(f.txtName[2]);
  taste(Qt::Key_F4);
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(f.ErsteZeile, 0);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[2]);
}

TEST_F(Suche, SucheWaehrendDerEingabeBehaeltDenGetipptenTextUndHaeltBeiFalschemDatum) {
  frmMitarbeiter& f = öffnen();
  fokus(f.txtName[3]);
  tippen(QStringLiteral("Neu Getippt"));
  antworten << QStringLiteral("Zander");
  taste(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(f.Zeilen[3].Name, QStringLiteral("Neu Getippt"));
  EXPECT_EQ(f.ErsteZeile, 19);
  EXPECT_TRUE(f.cmdAuswahl[6]->isEnabled());
  // A refused date keeps the search from running.
  fokus(f.txtVonDatum[4]);
  tippen(QStringLiteral("99.99"));
  taste(Qt::Key_F3);
  EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Datumseingabe nicht plausibel")});
  EXPECT_EQ(f.ErsteZeile, 19);
  EXPECT_EQ(QApplication::focusWidget(), f.txtVonDatum[4]);
}

// --- Applying ----------------------------------------------------------------

TEST_F(Zeilenbefehle, ZeilenaenderungenErreichenDieDateiErstBeimAnwenden) {
  mitarbeiter(5);
  Mitarbeiterdaten_schreiben();
  const QByteArray vorher = lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  frmMitarbeiter& f = öffnen();
  fokus(f.txtName[2]);
  knopf(4);
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), vorher);
  knopf(6);
  EXPECT_EQ(gMitarbeiterNamen[3], QStringLiteral("Name 002"));
  EXPECT_NE(lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), vorher);
}

}  // namespace

namespace {

TEST_F(Zeilenbefehle, DurchEinfuegenVonDerSeiteGeschobenerDoppelpunktWirdBeimAnwendenAbgelehnt) {
  mitarbeiter(40);
  frmMitarbeiter& f = öffnen();
  eingeben(f.txtName[22], QStringLiteral("Weit:Unten"));
  fokus(f.txtName[1]);
  knopf(1);
  ASSERT_EQ(name(23), QStringLiteral("Weit:Unten"));
  EXPECT_TRUE(skript->texte().empty());
  knopf(6);
  EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Unzulässiges Sonderzeichen enthalten")});
  EXPECT_EQ(f.ErsteZeile, 12);
  EXPECT_EQ(QApplication::focusWidget(), f.txtName[11]);
  EXPECT_EQ(gMitarbeiterNamen[22], QStringLiteral("Name 022")) << "nothing applied";
}

}  // namespace
