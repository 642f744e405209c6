#include "people/frmAnzeigegruppen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <deque>

#include "common/Anzeige.h"
#include "people/Gruppenspalten.h"
#include "store/Mitarbeiterdaten.h"

namespace {
using namespace anzeige;

class Anzeigegruppen : public AnzeigeTest {
 protected:
  void SetUp() override {
    AnzeigeTest::SetUp();
    gruppen({QStringLiteral("Verwaltung"), QStringLiteral("Lager"), QStringLiteral("Versand")});
    gAnzeigeberechtigung = QStringLiteral("AllGroups");
    // The input box answers from a queue and keeps its prompts.
    frmAnzeigegruppen::eingabe = [this](QWidget*, const QString& beschriftung, const QString& vorgabe,
                                        const QString& titel) {
      EXPECT_TRUE(vorgabe.isEmpty());
      EXPECT_EQ(titel, u"Anzeigegruppen");
      eingaben.push_back(beschriftung);
      if (antworten.empty()) return QString();
      const QString a = antworten.front();
      antworten.pop_front();
      return a;
    };
  }
  void TearDown() override {
    frmAnzeigegruppen::eingabe = nullptr;
    AnzeigeTest::TearDown();
  }
  // The current user's groups as stored, and the rest of the file.
  void gespeichert(const QStringList& zeilen) {
    gAnzeigegruppen = QStringList{QString()} + zeilen;
    ASSERT_TRUE(Mitarbeiteranzgru_schreiben());
  }
  static QStringList datei() { return dekodierteZeilen(anzgrupfad()).mid(2); }
  static QStringList namen(frmAnzeigegruppen& d) {
    QStringList r;
    for (int i = 0; i < d.cmbMitarbeitergruppe->count(); ++i) r << d.cmbMitarbeitergruppe->itemText(i);
    return r;
  }
  std::deque<QString> antworten;
  QStringList eingaben;
};

TEST_F(Anzeigegruppen, BenutzerOhneGruppenBekommtAlleMitarbeiterGespeichertBeiOk) {
  auto d = anzeigegruppenÖffnen();
  EXPECT_EQ(namen(*d), QStringList{QStringLiteral("Alle Mitarbeiter")});
  EXPECT_EQ(häkchen(*d), u"111");
  EXPECT_FALSE(QFile::exists(anzgrupfad())) << "nothing before OK";
  d->cmdAuswahl[6]->click();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(datei(),
            (QStringList{QStringLiteral("[tester]"), QStringLiteral("Alle Mitarbeiter|Verwaltung:Lager:Versand:")}));
  EXPECT_TRUE(logbuch().isEmpty()) << "the display groups write no logbook line";
}

TEST_F(Anzeigegruppen, LoeschenDerLetztenGruppeSpeichertKeineGruppenUndBehaeltAndereBenutzerbloecke) {
  gBenutzername = QStringLiteral("anna");
  gespeichert({QStringLiteral("Annas|Lager:")});
  gBenutzername = QStringLiteral("tester");
  gespeichert({QStringLiteral("Mein Blick|Verwaltung:Versand:")});
  auto d = anzeigegruppenÖffnen();
  EXPECT_EQ(häkchen(*d), u"101");
  skript->antworte(dialoge::kJa);
  d->cmdAuswahl[3]->click();
  EXPECT_EQ(skript->texte().back(), u"Möchten Sie die Anzeigegruppe 'Mein Blick' wirklich löschen?");
  EXPECT_EQ(namen(*d), QStringList{QString()});
  EXPECT_FALSE(d->cmbMitarbeitergruppe->isEnabled());
  EXPECT_FALSE(d->cmdAuswahl[2]->isEnabled());
  EXPECT_FALSE(d->cmdAuswahl[3]->isEnabled());
  EXPECT_FALSE(box(*d, 1)->isEnabled());
  EXPECT_TRUE(d->cmdAuswahl[1]->isEnabled());
  d->cmdAuswahl[6]->click();
  EXPECT_EQ(gAnzeigegruppen, (QStringList{QString(), QStringLiteral("NoGroups")}));
  EXPECT_EQ(datei(), (QStringList{QStringLiteral("[anna]"), QStringLiteral("Annas|Lager:")}));
}

TEST_F(Anzeigegruppen, AbgelehnteFrageLoeschtNichts) {
  gespeichert({QStringLiteral("Mein Blick|Verwaltung:")});
  auto d = anzeigegruppenÖffnen();
  d->cmdAuswahl[3]->click();  // the script answers No
  EXPECT_EQ(namen(*d), QStringList{QStringLiteral("Mein Blick")});
}

// A name another group has in other letter case is refused, for adding and renaming,
// the renamed group's own name included.
TEST_F(Anzeigegruppen, NurInGrossKleinschreibungVerschiedeneNamenWerdenAbgelehnt) {
  gespeichert({QStringLiteral("Lager|Lager:"), QStringLiteral("Büro|Verwaltung:")});
  for (const auto& [knopf, antwort] :
       {std::pair{1, QStringLiteral("LAGER")}, {2, QStringLiteral("lager")}, {2, QStringLiteral("BÜRO")}}) {
    auto d = anzeigegruppenÖffnen();  // "Büro" selected
    skript = &dialoge::skript();
    antworten = {antwort};
    d->cmdAuswahl[knopf]->click();
    EXPECT_EQ(namen(*d), (QStringList{QStringLiteral("Büro"), QStringLiteral("Lager")})) << qPrintable(antwort);
    EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Eine Anzeigegruppe mit dem Namen '") + antwort +
                                                    QStringLiteral("' existiert bereits")});
  }
}

TEST_F(Anzeigegruppen, NeueNamenNehmenIhrenSortiertenPlatzUndUmbenennenBehaeltDieHaken) {
  gespeichert({QStringLiteral("Mitte|Lager:"), QStringLiteral("Zentrale|Verwaltung:Versand:")});
  auto d = anzeigegruppenÖffnen();
  antworten = {QStringLiteral("Äußeres"), QStringLiteral("alle")};
  d->cmdAuswahl[1]->click();
  EXPECT_EQ(eingaben.back(), u"Anzeigegruppe hinzufügen:\r\rName der Anzeigegruppe");
  EXPECT_EQ(d->cmbMitarbeitergruppe->currentText(), u"Äußeres");
  EXPECT_EQ(häkchen(*d), u"000") << "a new group starts without ticks";
  QTest::mouseClick(box(*d, 2), Qt::LeftButton);
  d->cmdAuswahl[1]->click();
  EXPECT_EQ(namen(*d), (QStringList{QStringLiteral("alle"), QStringLiteral("Äußeres"), QStringLiteral("Mitte"),
                                    QStringLiteral("Zentrale")}));
  EXPECT_EQ(d->cmbMitarbeitergruppe->currentIndex(), 0);
  QTest::mouseClick(box(*d, 3), Qt::LeftButton);
  // "Zentrale" becomes "Anfang" and moves up with its ticks.
  d->cmbMitarbeitergruppe->setCurrentIndex(3);
  antworten = {QStringLiteral("Anfang")};
  d->cmdAuswahl[2]->click();
  EXPECT_EQ(eingaben.back(), u"Anzeigegruppe 'Zentrale' umbenennen:\r\rName der Anzeigegruppe ändern auf");
  EXPECT_EQ(namen(*d), (QStringList{QStringLiteral("alle"), QStringLiteral("Anfang"), QStringLiteral("Äußeres"),
                                    QStringLiteral("Mitte")}));
  EXPECT_EQ(d->cmbMitarbeitergruppe->currentText(), u"Anfang");
  EXPECT_EQ(häkchen(*d), u"101");
  d->cmdAuswahl[6]->click();
  EXPECT_EQ(datei(), (QStringList{QStringLiteral("[tester]"), QStringLiteral("alle|Versand:"),
                                  QStringLiteral("Anfang|Verwaltung:Versand:"), QStringLiteral("Äußeres|Lager:"),
                                  QStringLiteral("Mitte|Lager:")}));
}

TEST_F(Anzeigegruppen, LangerNameWirdInDerUmbenennungsfrageGekuerzt) {
  const QString lang = QStringLiteral("Eine sehr lange Anzeigegruppe mit vielen Wörtern");
  gespeichert({lang + QStringLiteral("|Lager:")});
  auto d = anzeigegruppenÖffnen();
  d->cmdAuswahl[2]->click();  // cancelled
  EXPECT_EQ(eingaben.back(), QStringLiteral("Anzeigegruppe '") + lang.left(32) +
                                 QStringLiteral(" ...' umbenennen:\r\rName der Anzeigegruppe ändern auf"));
  EXPECT_EQ(namen(*d), QStringList{lang}) << "a cancelled prompt changes nothing";
}

TEST_F(Anzeigegruppen, NichtMehrSichtbareGespeicherteGruppenEntfallen) {
  gespeichert({QStringLiteral("Blick|Verwaltung:Lager:Versand:")});
  gBenutzerstufe = 0;
  gAnzeigeberechtigung = QStringLiteral("Lager:Versand:");
  auto d = anzeigegruppenÖffnen();
  ASSERT_EQ(d->chkMitarbeitergruppe.size(), 3u);
  EXPECT_EQ(box(*d, 1)->text(), u"Lager");
  EXPECT_EQ(häkchen(*d), u"11");
  d->cmdAuswahl[6]->click();
  EXPECT_EQ(datei(), (QStringList{QStringLiteral("[tester]"), QStringLiteral("Blick|Lager:Versand:")}));
}

TEST_F(Anzeigegruppen, GruppeOhneHakenSperrtOkUndWirdGewaehlt) {
  gespeichert({QStringLiteral("Alpha|Lager:"), QStringLiteral("Beta|Versand:")});
  const QByteArray vorher = lesen(anzgrupfad());
  auto d = anzeigegruppenÖffnen();
  d->cmbMitarbeitergruppe->setCurrentIndex(1);
  QTest::mouseClick(box(*d, 3), Qt::LeftButton);
  d->cmbMitarbeitergruppe->setCurrentIndex(0);
  d->cmdAuswahl[6]->click();
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(skript->texte(),
            std::vector<QString>{QStringLiteral("Der Anzeigegruppe 'Beta' wurde keine Mitarbeitergruppe zugeordnet")});
  EXPECT_EQ(d->cmbMitarbeitergruppe->currentText(), u"Beta");
  EXPECT_EQ(lesen(anzgrupfad()), vorher);
}

TEST_F(Anzeigegruppen, AbbrechenVerwirftAlles) {
  auto d = anzeigegruppenÖffnen();
  antworten = {QStringLiteral("Neu")};
  d->cmdAuswahl[1]->click();
  d->cmdAuswahl[5]->click();
  EXPECT_FALSE(QFile::exists(anzgrupfad()));
  EXPECT_EQ(gAnzeigegruppen, (QStringList{QString(), QStringLiteral("NoGroups")}));
}

TEST_F(Anzeigegruppen, Bildschirmfotos) {
  auto klein = anzeigegruppenÖffnen();
  EXPECT_TRUE(klein->grab().save(bilderordner() + QStringLiteral("Anzeigegruppen_klein.png")));
  QStringList namen;
  for (int i = 1; i <= 40; ++i) namen << QStringLiteral("Abteilung Nummer %1 & Co").arg(i);
  gruppen(namen);
  auto groß = anzeigegruppenÖffnen();
  EXPECT_TRUE(groß->grab().save(bilderordner() + QStringLiteral("Anzeigegruppen_gross.png")));
  // Nothing clipped or covered: each button shows its whole caption, none overlaps.
  for (auto* d : {klein.get(), groß.get()})
    for (int i = 1; i <= 6; ++i) {
      EXPECT_GE(d->cmdAuswahl[i]->width(), d->cmdAuswahl[i]->sizeHint().width()) << i;
      EXPECT_TRUE(d->rect().contains(d->cmdAuswahl[i]->geometry())) << i;
      for (int k = i + 1; k <= 6; ++k)
        EXPECT_FALSE(d->cmdAuswahl[i]->geometry().intersects(d->cmdAuswahl[k]->geometry()));
    }
  const QRect innen = groß->rect();
  for (size_t j = 1; j < groß->chkMitarbeitergruppe.size(); ++j)
    EXPECT_TRUE(innen.contains(groß->chkMitarbeitergruppe[j]->geometry())) << j;
}

}  // namespace
