#include "views/frmUStunden.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "common/Ansichtsdaten.h"
#include "common/Modaldialog.h"
#include "common/Testnamen.h"
#include "printing/Ueberstundendruck.h"
#include "startup/Programmabbruch.h"
#include "startup/Zeilencodierung.h"
#include "store/Ueberstunden.h"
#include "views/frmJahresuebersicht.h"

namespace {
using namespace ansichten;

QStringList Kopf(int jahr) {
  return {QStringLiteral("[UStunden]"), QStringLiteral("Zeiterfassung"), QStringLiteral("x"),  QStringLiteral("x"),
          QStringLiteral("x"),          QStringLiteral("[UStdDaten]"),   QString::number(jahr)};
}

const QStringList kAnna{QStringLiteral("[a|anna|b]"), QStringLiteral("U-90"), QStringLiteral("0115+30|Gleitzeit"),
                        QStringLiteral("0203€45|Auszahlung"), QStringLiteral("1231-15|")};
const QStringList kKraft{QStringLiteral("[a|BKraft|b]"), QStringLiteral("U120")};

const QString kKeine = QStringLiteral("Keine Überstunden vorhanden");

class UStundenTest : public AnsichtTest {
 protected:
  void SetUp() override {
    AnsichtTest::SetUp();
    gBenutzerstufe = 2;
    Mitarbeiter_setzen({{u"Meier Anna", u"anna", u"000000", u"999999"},
                        {u"Kraft Bea", u"bkraft", u"000000", u"999999"},
                        {u"Kurz Carla", u"carla", u"000000", u"999999"}});
    gAnsichtshaken.hauptfenster_tag_lesen = [this] { return haupttag; };
    gAnsichtshaken.hauptfenster_tag = [this](const QString& t) { haupttag = t; };
    gAnsichtshaken.csv_export = [this](QWidget*, const QString& t) { exporte << t; };
    gAnsichtshaken.druckdialog = [this](QWidget* w) {
      drucke << gDruckauftrag;
      druckfenster = w;
    };
    datei(2026, Kopf(2026) + kAnna + kKraft);
  }
  void TearDown() override {
    ü.reset();
    jahr.reset();
    AnsichtTest::TearDown();
  }
  static void datei(int j, const QStringList& zeilen) { schreiben(ÜStunden_Pfad(j), kodierteDatei(zeilen)); }

  frmJahresuebersicht& jahresübersicht(const QString& benutzer, int j = 2026) {
    ü.reset();
    haupttag = benutzer;
    jahr = std::make_unique<frmJahresuebersicht>();
    jahr->Form_Load();
    jahr->cmbJahr->setCurrentIndex(jahr->cmbJahr->findText(QString::number(j)));
    jahr->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(jahr.get()));
    return *jahr;
  }
  // The overtime overview over the year overview, as its button opens it (not modal).
  frmUStunden& öffnen(const QString& benutzer, int j = 2026) {
    jahresübersicht(benutzer, j);
    jahr->Tag = jahr->Benutzer();
    ü = std::make_unique<frmUStunden>(*jahr);
    ü->Form_Load();
    ü->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(ü.get()));
    return *ü;
  }
  // The user's choice of a year in the list, also of the year shown.
  static void wählen(frmUStunden& f, int j) {
    const int i = f.cmbJahr->findText(QString::number(j));
    ASSERT_GE(i, 0);
    f.cmbJahr->setCurrentIndex(i);
    emit f.cmbJahr->activated(i);
  }
  // The rows as "date|hours|balance|remark", untrimmed.
  static QStringList liste(const frmUStunden& f) {
    const Raster& g = f.Liste();
    QStringList r;
    for (int z = 1; z < g.Rows(); ++z)
      r << g.TextMatrix(z, 0) + u'|' + g.TextMatrix(z, 1) + u'|' + g.TextMatrix(z, 2) + u'|' + g.TextMatrix(z, 3);
    return r;
  }
  static bool keineDaten(const frmUStunden& f) {
    const Raster& g = f.Liste();
    return g.Rows() == 2 && g.MergeRow(1) && g.TextMatrix(1, 0) == kKeine && g.TextMatrix(1, 3) == kKeine;
  }
  QString übersprungen(const QString& zeilen, int j = 2026) const {
    return QStringLiteral("Die Überstundendaten enthalten Zeilen, die nicht gelesen werden konnten:\r\r") + zeilen +
           QStringLiteral("\r\rDiese Zeilen wurden übersprungen, der angezeigte Saldo enthält sie nicht.") +
           QStringLiteral("\r\rBetroffene Datei: ") + ShowPfad(ÜStunden_Pfad(j), 100);
  }

  QString haupttag;
  QStringList exporte, drucke;
  QWidget* druckfenster = nullptr;
  std::unique_ptr<frmJahresuebersicht> jahr;
  std::unique_ptr<frmUStunden> ü;
};

TEST_F(UStundenTest, DieJahresuebersichtZeigtDenKnopfUndOeffnetDasFensterFuerIhrenMitarbeiter) {
  frmJahresuebersicht& j = jahresübersicht(QStringLiteral("anna"));
  ASSERT_TRUE(j.cmdAuswahl[2]->isVisible());
  EXPECT_EQ(j.cmdAuswahl[2]->text(), u"Ü&berstunden ...");
  QString titel, überschrift, eltern;
  QStringList jahre, zeilen;
  int obersteZeile = 0;
  beimDialog<frmUStunden>([&](frmUStunden& f) {
    titel = f.windowTitle();
    überschrift = f.lblBeschriftung[1]->text();
    eltern = f.parentWidget() ? f.parentWidget()->objectName() : QString();
    for (int i = 0; i < f.cmbJahr->count(); ++i) jahre << f.cmbJahr->itemText(i);
    jahre << f.cmbJahr->currentText();
    zeilen = liste(f);
    obersteZeile = f.Liste().TopRow();
    QTest::mouseClick(f.cmdAuswahl[2], Qt::LeftButton);
  });
  QTest::mouseClick(j.cmdAuswahl[2], Qt::LeftButton);
  EXPECT_EQ(titel, u"Velkora - Überstunden");
  EXPECT_EQ(überschrift, u"Überstunden für Meier Anna");
  EXPECT_EQ(eltern, u"frmJahresuebersicht");
  EXPECT_EQ(jahre, (QStringList{"2025", "2026", "2027", "2026"}));
  EXPECT_EQ(zeilen.size(), 4);
  EXPECT_GE(obersteZeile, 1);
  EXPECT_EQ(offeneDialoge<frmUStunden>(), 0);
  EXPECT_EQ(ÜStunden_Fenster(), nullptr);
}

struct Kontofall {
  const char* name;
  const char16_t* benutzer;
  int jahr;
  QStringList zeilen;
};
class UStundenKontoTest : public UStundenTest, public ::testing::WithParamInterface<Kontofall> {};

TEST_P(UStundenKontoTest, ZeilenMitSaldoUndVorzeichenwort) {
  datei(2027, Kopf(2027) + kAnna + kKraft);
  const frmUStunden& f = öffnen(QString::fromUtf16(GetParam().benutzer), GetParam().jahr);
  if (GetParam().zeilen.isEmpty()) {
    EXPECT_TRUE(keineDaten(f)) << liste(f).join(u'\n').toStdString();
  } else {
    EXPECT_EQ(liste(f), GetParam().zeilen);
    EXPECT_EQ(f.Liste().TopRow(), f.Liste().größteTopRow()) << "scrolled to the end";
  }
  EXPECT_TRUE(skript->texte().empty());
  // Nothing is cut off in the columns the window widens.
  const QFontMetrics maß(f.font());
  for (int r = 1; r < f.Liste().Rows() && !GetParam().zeilen.isEmpty(); ++r)
    for (int c = 1; c <= 2; ++c)
      EXPECT_GE(f.Liste().ColWidth(c), bildschirm::pixelZuTwips(maß.horizontalAdvance(f.Liste().TextMatrix(r, c))));
}

INSTANTIATE_TEST_SUITE_P(
    Konten, UStundenKontoTest,
    ::testing::Values(Kontofall{"Anna",
                                u"anna",
                                2026,
                                {"01.01.26|- 1:30|- 1:30|Übertrag aus Vorjahr", "15.01.26|+ 0:30|- 1:00|Gleitzeit",
                                 "03.02.26|€ - 0:45|- 1:45|Auszahlung", "31.12.26|- 0:15|- 2:00|"}},
                      Kontofall{"Kraft", u"bkraft", 2026, {"01.01.26|+ 2:00|+ 2:00|Übertrag aus Vorjahr"}},
                      Kontofall{"KraftImFolgejahr", u"bkraft", 2027, {}},
                      Kontofall{"AnnaImFolgejahr",
                                u"anna",
                                2027,
                                {"01.01.27|- 1:30|- 1:30|Übertrag aus Vorjahr", "15.01.27|+ 0:30|- 1:00|Gleitzeit",
                                 "03.02.27|€ - 0:45|- 1:45|Auszahlung", "31.12.27|- 0:15|- 2:00|"}},
                      Kontofall{"OhneAbschnitt", u"carla", 2026, {}}, Kontofall{"OhneDatei", u"anna", 2025, {}}),
    NachName{});

TEST_F(UStundenTest, NullUebertragVerborgenSaldoNullOhneVorzeichenUndDerErsteAbschnittZaehlt) {
  datei(2026, Kopf(2026) + QStringList{"[a|anna|b]", "U0", "0301+1|Weg|Zeit|", "0302-1|", "[x|ANNA|y]", "U500"});
  const frmUStunden& f = öffnen(QStringLiteral("anna"));
  EXPECT_EQ(liste(f), (QStringList{"01.01.26|+ 0:00|0:00|Übertrag aus Vorjahr", "01.03.26|+ 0:01|+ 0:01|Weg|Zeit|",
                                   "02.03.26|- 0:01|0:00|"}));
  EXPECT_EQ(f.Liste().RowHeight(1), 0) << "the carry-over of zero is hidden";
  EXPECT_GT(f.Liste().RowHeight(2), 0);
}

TEST_F(UStundenTest, EinAbschnittOhneZeilenZeigtNurDieUeberschrift) {
  datei(2026, Kopf(2026) + QStringList{"[a|anna|b]", "[a|bkraft|b]", "U5"});
  const frmUStunden& f = öffnen(QStringLiteral("anna"));
  EXPECT_EQ(f.Liste().Rows(), 1);
  EXPECT_EQ(f.Liste().TextMatrix(0, 3), u"Bemerkung");
}

TEST_F(UStundenTest, EinFehlerhafterKopfWirdGemeldetUndDasFensterBleibtBenutzbar) {
  datei(2026, QStringList{"[Ustunden]"} + Kopf(2026).mid(1) + kAnna);
  frmUStunden& f = öffnen(QStringLiteral("anna"));
  EXPECT_EQ(skript->texte(),
            std::vector<QString>{QStringLiteral("Die Überstundendaten können nicht angezeigt werden, da folgendes "
                                                "Problem aufgetreten ist:\r\rDer Dateiheader [UStunden] wurde nicht "
                                                "erkannt\r\rBetroffene Datei: ") +
                                 ShowPfad(ÜStunden_Pfad(2026), 100)});
  EXPECT_TRUE(keineDaten(f));
  datei(2027, Kopf(2027) + kAnna);
  wählen(f, 2027);
  EXPECT_EQ(liste(f).size(), 4);
  // Exactly the header: no message, no data.
  datei(2026, Kopf(2026));
  wählen(f, 2026);
  EXPECT_EQ(skript->texte().size(), 1u);
  EXPECT_TRUE(keineDaten(f));
}

TEST_F(UStundenTest, DasselbeJahrWirdErstNachSechzigSekundenWiederGelesen) {
  frmUStunden& f = öffnen(QStringLiteral("anna"));
  EXPECT_EQ(f.Liste().TextMatrix(1, 2), u"- 1:30");
  datei(2026, Kopf(2026) + QStringList{"[a|anna|b]", "U30"});
  uhr.sekunden += 60;
  wählen(f, 2026);
  EXPECT_EQ(f.Liste().TextMatrix(1, 2), u"- 1:30") << "within 60 s the list in memory is shown";
  // Another opening, also for another employee, works on the same list.
  frmUStunden& kraft = öffnen(QStringLiteral("bkraft"));
  EXPECT_EQ(liste(kraft), QStringList{"01.01.26|+ 2:00|+ 2:00|Übertrag aus Vorjahr"});
  uhr.sekunden += 1;
  wählen(kraft, 2026);
  EXPECT_TRUE(keineDaten(kraft)) << "after 61 s the file is read again";
}

struct Mendfall {
  const char* name;
  QStringList abschnitt;   // anna's section in place of the fixture's
  const char16_t* zeilen;  // the skipped lines the message names
  int annaZeilen;
  const char16_t* saldo;  // the last balance
};
class UStundenMendTest : public UStundenTest, public ::testing::WithParamInterface<Mendfall> {};

TEST_P(UStundenMendTest, EineUnlesbareZeileWirdUebersprungenUndGenannt) {
  datei(2026, Kopf(2026) + GetParam().abschnitt + kKraft);
  const frmUStunden& f = öffnen(QStringLiteral("anna"));
  EXPECT_EQ(skript->texte(), std::vector<QString>{übersprungen(QString::fromUtf16(GetParam().zeilen))});
  ASSERT_EQ(f.Liste().Rows() - 1, GetParam().annaZeilen) << liste(f).join(u'\n').toStdString();
  EXPECT_EQ(f.Liste().TextMatrix(f.Liste().Rows() - 1, 2), QString::fromUtf16(GetParam().saldo));
}

INSTANTIATE_TEST_SUITE_P(
    Mends, UStundenMendTest,
    ::testing::Values(
        Mendfall{"LeereZeile", {"[a|anna|b]", "U-90", "", "0115+30|Gleitzeit"}, u"Zeile 10", 2, u"- 1:00"},
        Mendfall{"OhneTrenner", {"[a|anna|b]", "U-90", "0115+30", "0116+10|x"}, u"Zeile 10", 2, u"- 1:20"},
        Mendfall{"MinutenUeberDreissigBit",
                 {"[a|anna|b]", "U-90", "0115+2147483648|x", "0116+2147483647|x"},
                 u"Zeile 10",
                 2,
                 u"+ 35791392:37"},
        Mendfall{"KopfOhneBenutzer", {"[a]", "U7", "[a|anna|b]", "U-90"}, u"Zeile 8", 1, u"- 1:30"}),
    NachName{});

TEST_F(UStundenTest, EineLeereDateiIstEinUnvollstaendigerKopf) {
  schreiben(ÜStunden_Pfad(2026), QByteArray());
  const frmUStunden& f = öffnen(QStringLiteral("anna"));
  const auto texte = skript->texte();
  ASSERT_EQ(texte.size(), 2u) << "the channel's wait, then the header";
  EXPECT_TRUE(texte[1].contains(QStringLiteral("\r\rDateiheader unvollständig\r\r")));
  EXPECT_TRUE(keineDaten(f));
  EXPECT_TRUE(gStörungsmeldung.isEmpty());
}

TEST_F(UStundenTest, TastenUndKnoepfe) {
  frmUStunden& f = öffnen(QStringLiteral("anna"));
  QTest::keyClick(&f, Qt::Key_F12);
  QTest::keyClick(f.msgFlexGrid, Qt::Key_F12, Qt::ShiftModifier);
  EXPECT_EQ(exporte, (QStringList{"Überstunden Meier Anna", "Überstunden Meier Anna"}));
  QTest::keyClick(&f, Qt::Key_P, Qt::ControlModifier);
  QTest::keyClick(&f, Qt::Key_P, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_TRUE(drucke.isEmpty());
  EXPECT_TRUE(haupttag.isEmpty() || haupttag == u"anna");
  QTest::keyClick(f.cmbJahr, Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(drucke, QStringList{"Ü"});
  EXPECT_EQ(haupttag, u"S");
  EXPECT_EQ(druckfenster, &f);
  ASSERT_TRUE(gÜberstundendruckquelle.gitter && gÜberstundendruckquelle.name);
  EXPECT_EQ(&gÜberstundendruckquelle.gitter(), &f.Liste());
  EXPECT_EQ(gÜberstundendruckquelle.name(), u"Meier Anna");
  QTest::mouseClick(f.cmdAuswahl[1], Qt::LeftButton);
  EXPECT_EQ(drucke, (QStringList{"Ü", "Ü"}));
  EXPECT_EQ(f.cmdAuswahl[1]->text(), u"&Drucken ...");
  QTest::keyClick(f.cmbJahr, Qt::Key_Escape);
  EXPECT_TRUE(f.isVisible()) << "Esc does not close the window";
  QTest::mouseClick(f.cmdAuswahl[2], Qt::LeftButton);
  EXPECT_FALSE(f.isVisible());
}

TEST_F(UStundenTest, MindestgroesseUndPlatzierungFuerDenLauf) {
  frmUStunden& f = öffnen(QStringLiteral("anna"));
  EXPECT_EQ(f.width(), bildschirm::twipsZuPixel(6270));
  EXPECT_EQ(f.height(), bildschirm::twipsZuPixel(4785));
  f.resize(100, 100);
  QApplication::processEvents();
  EXPECT_EQ(f.width(), bildschirm::twipsZuPixel(6270));
  EXPECT_EQ(f.height(), bildschirm::twipsZuPixel(4185));
  const int unten = f.cmdAuswahl[1]->geometry().bottom();
  EXPECT_LT(f.msgFlexGrid->geometry().bottom(), f.cmdAuswahl[1]->y());
  EXPECT_LT(unten, f.height());
  EXPECT_LT(f.lblBeschriftung[1]->geometry().right(), f.lblBeschriftung[2]->x());
  EXPECT_LE(f.lblBeschriftung[2]->geometry().right(), f.cmbJahr->x());
  EXPECT_GE(f.cmbJahr->width(), f.cmbJahr->sizeHint().width());
  EXPECT_LE(f.cmdAuswahl[1]->geometry().right(), f.cmdAuswahl[2]->x());
  bild(f, QStringLiteral("UStunden_Mindestgroesse"));
  f.move(40, 30);
  f.resize(700, 500);
  QApplication::processEvents();
  QTest::mouseClick(f.cmdAuswahl[2], Qt::LeftButton);
  const frmUStunden& wieder = öffnen(QStringLiteral("bkraft"));
  EXPECT_EQ(wieder.pos(), QPoint(40, 30));
  EXPECT_EQ(wieder.size(), QSize(700, 500));
}

TEST_F(UStundenTest, TausendBuchungenInEinemGrossenFenster) {
  QStringList abschnitt{"[a|anna|b]", "U-90"};
  for (int i = 0; i < 1000; ++i)
    abschnitt << QStringLiteral("%1%2%3%4|Buchung Nummer %5 mit einer längeren Bemerkung")
                     .arg(i % 12 + 1, 2, 10, QChar(u'0'))
                     .arg(i % 28 + 1, 2, 10, QChar(u'0'))
                     .arg(i % 3 == 0   ? QStringLiteral("€")
                          : i % 3 == 1 ? QStringLiteral("+")
                                       : QStringLiteral("-"))
                     .arg(i * 7 % 600 + 1)
                     .arg(i + 1);
  datei(2026, Kopf(2026) + abschnitt);
  frmUStunden& f = öffnen(QStringLiteral("anna"));
  f.resize(1100, 800);
  QApplication::processEvents();
  const Raster& g = f.Liste();
  ASSERT_EQ(g.Rows(), 1002);
  EXPECT_EQ(g.TopRow(), g.größteTopRow());
  EXPECT_GT(g.TopRow(), 900);
  EXPECT_TRUE(f.msgFlexGrid->senkrechteLaufleisteNötig());
  // The columns fit beside the scroll bar.
  int breite = 0;
  for (int c = 0; c < g.Cols(); ++c) breite += g.spaltenPixel(c);
  EXPECT_LE(breite, g.sichtBreitePixel());
  bild(f, QStringLiteral("UStunden_gross"));
  f.resize(100, 100);
  QApplication::processEvents();
  breite = 0;
  for (int c = 0; c < g.Cols(); ++c) breite += g.spaltenPixel(c);
  EXPECT_LE(breite, g.sichtBreitePixel());
  bild(f, QStringLiteral("UStunden_gross_Mindestgroesse"));
}

TEST_F(UStundenTest, OhneDatenMindestgroesse) {
  frmUStunden& f = öffnen(QStringLiteral("carla"));
  EXPECT_TRUE(keineDaten(f));
  bild(f, QStringLiteral("UStunden_leer"));
}

}  // namespace
