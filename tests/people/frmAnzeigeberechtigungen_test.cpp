#include "people/frmAnzeigeberechtigungen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include "common/Anzeige.h"
#include "store/Stammdatenstand.h"

namespace {
using namespace anzeige;

const QString kHinweis = QStringLiteral(
    "Hinweis: Die Mitarbeiterdaten beginnen nicht mit einer Überschrift. Für die Mitarbeiter vor der ersten "
    "Überschrift können daher keine Anzeigeberechtigungen vergeben werden. Diese Mitarbeiter werden allen "
    "Mitarbeitern angezeigt.");

class Anzeigeberechtigungen : public AnzeigeTest {
 protected:
  std::unique_ptr<frmAnzeigeberechtigungen> öffnen(const QStringList& gruppen) {
    QString tag;
    for (const QString& g : gruppen) tag += g + u':';
    auto d = std::make_unique<frmAnzeigeberechtigungen>(tag);
    EXPECT_TRUE(tag.isEmpty()) << "the dialog consumes the Tag";
    d->show();
    return d;
  }
  static void wählen(frmAnzeigeberechtigungen& d, int gruppe) { d.cmbMitarbeitergruppe->setCurrentIndex(gruppe - 1); }
  static QStringList gespeichert() {
    QStringList z = dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiteranzber.dat"));
    return z.mid(2);
  }
};

TEST_F(Anzeigeberechtigungen, VorDenBerechtigungenIstJedesFeldAngehaktUndDasErsteOkSchaltetSieEin) {
  gruppen({QStringLiteral("Verwaltung"), QStringLiteral("Lager"), QStringLiteral("Versand")});
  ASSERT_NE(Setting(1), 2);
  auto d = öffnen({QStringLiteral("Verwaltung"), QStringLiteral("Lager"), QStringLiteral("Versand")});
  for (int g = 1; g <= 3; ++g) {
    wählen(*d, g);
    EXPECT_EQ(häkchen(*d), u"111") << g;
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(box(*d, j)->isEnabled(), j != g) << "the own box is fixed";
  }
  d->cmdAuswahl[3]->click();
  EXPECT_EQ(gespeichert(), (QStringList{QStringLiteral("Verwaltung|Verwaltung:Lager:Versand:"),
                                        QStringLiteral("Lager|Verwaltung:Lager:Versand:"),
                                        QStringLiteral("Versand|Verwaltung:Lager:Versand:")}));
  EXPECT_EQ(Setting(1), 2);
  Konfigdaten_lesen();
  EXPECT_EQ(Setting(1), 2) << "the configuration file holds the switch";
  ASSERT_EQ(logbuch().size(), 1);
  EXPECT_TRUE(logbuch()[0].endsWith(QStringLiteral("VelkoraAdmin|Anzeigeberechtigungen geändert")));
  // The list begins with an employee, not with a heading.
  EXPECT_EQ(skript->texte(), std::vector<QString>{kHinweis});
}

TEST_F(Anzeigeberechtigungen, GruppeOhneGespeicherteZeileSiehtNurSich) {
  gruppen({QStringLiteral("Verwaltung"), QStringLiteral("Lager"), QStringLiteral("Versand")});
  berechtigungen({QStringLiteral("Verwaltung|Verwaltung:Versand:")});
  auto d = öffnen({QStringLiteral("Verwaltung"), QStringLiteral("Lager"), QStringLiteral("Versand")});
  EXPECT_EQ(häkchen(*d), u"101");
  wählen(*d, 2);
  EXPECT_EQ(häkchen(*d), u"010");
  wählen(*d, 3);
  EXPECT_EQ(häkchen(*d), u"001");
}

TEST_F(Anzeigeberechtigungen, UndZeichenWirdInDerBeschriftungGezeigtUndEinmalGespeichert) {
  gruppen({QStringLiteral("F&E"), QStringLiteral("Lager")});
  auto d = öffnen({QStringLiteral("F&E"), QStringLiteral("Lager")});
  EXPECT_EQ(box(*d, 1)->text(), u"F&&E");
  EXPECT_EQ(d->cmbMitarbeitergruppe->itemText(0), u"F&E");
  d->cmdAuswahl[3]->click();
  EXPECT_EQ(gespeichert(), (QStringList{QStringLiteral("F&E|F&E:Lager:"), QStringLiteral("Lager|F&E:Lager:")}));
}

// Showing a group sets its boxes one by one; the ticks of the group shown before must
// not leak into it, and a click's tick stays with its group.
TEST_F(Anzeigeberechtigungen, HakenUeberstehenDasHinUndHerSchaltenDerGruppen) {
  gruppen({QStringLiteral("Verwaltung"), QStringLiteral("Lager"), QStringLiteral("Versand")});
  berechtigungen({QStringLiteral("Verwaltung|Verwaltung:"), QStringLiteral("Lager|Verwaltung:Lager:Versand:"),
                  QStringLiteral("Versand|Versand:")});
  auto d = öffnen({QStringLiteral("Verwaltung"), QStringLiteral("Lager"), QStringLiteral("Versand")});
  QTest::mouseClick(box(*d, 3), Qt::LeftButton);
  EXPECT_EQ(häkchen(*d), u"101");
  wählen(*d, 2);
  EXPECT_EQ(häkchen(*d), u"111");
  QTest::mouseClick(box(*d, 1), Qt::LeftButton);
  wählen(*d, 3);
  EXPECT_EQ(häkchen(*d), u"001");
  wählen(*d, 1);
  EXPECT_EQ(häkchen(*d), u"101");
  wählen(*d, 2);
  EXPECT_EQ(häkchen(*d), u"011");
  d->cmdAuswahl[3]->click();
  EXPECT_EQ(gespeichert(), (QStringList{QStringLiteral("Verwaltung|Verwaltung:Versand:"),
                                        QStringLiteral("Lager|Lager:Versand:"), QStringLiteral("Versand|Versand:")}));
}

TEST_F(Anzeigeberechtigungen, UnveraenderteTabelleSchreibtNichtsGibtAberDenHinweis) {
  gruppen({QStringLiteral("Verwaltung"), QStringLiteral("Lager")});
  berechtigungen({QStringLiteral("Verwaltung|Verwaltung:"), QStringLiteral("Lager|Verwaltung:Lager:")});
  const QByteArray vorher = lesen(anzberpfad());
  const QDateTime zeit = Dateizeit(anzberpfad());
  const QByteArray konfig = lesen(konfigpfad());
  QTest::qWait(20);
  auto d = öffnen({QStringLiteral("Verwaltung"), QStringLiteral("Lager")});
  d->cmdAuswahl[3]->click();
  EXPECT_EQ(lesen(anzberpfad()), vorher);
  EXPECT_EQ(Dateizeit(anzberpfad()), zeit);
  EXPECT_EQ(lesen(konfigpfad()), konfig);
  EXPECT_TRUE(logbuch().isEmpty());
  EXPECT_EQ(skript->texte(), std::vector<QString>{kHinweis});
}

TEST_F(Anzeigeberechtigungen, KeinHinweisWennDieListeMitEinerUeberschriftBeginnt) {
  gruppen({QStringLiteral("Verwaltung"), QStringLiteral("Lager")});
  gMitarbeiterNamen.removeAt(1);
  gBenutzerIDs.removeAt(1);
  gEintrittsdaten.removeAt(1);
  gAustrittsdaten.removeAt(1);
  gUrlaubsdaten.removeAt(1);
  gSonderurlaubsanspruch.removeAt(1);
  auto d = öffnen({QStringLiteral("Verwaltung"), QStringLiteral("Lager")});
  d->cmdAuswahl[3]->click();
  EXPECT_TRUE(skript->texte().empty());
}

// Another workstation stored the configuration after this one read it: writing this
// one's copy with position 1 would undo that change.
TEST_F(Anzeigeberechtigungen, InzwischenAnderswoGeschriebeneKonfigurationWirdNichtUeberschrieben) {
  gruppen({QStringLiteral("Verwaltung"), QStringLiteral("Lager")});
  auto d = öffnen({QStringLiteral("Verwaltung"), QStringLiteral("Lager")});
  QStringList fremd = planer::Konfigzeilen();
  fremd[4] = QStringLiteral("Andere Firma");
  schreiben(konfigpfad(), kodiert(fremd));
  {
    QFile f(konfigpfad());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
  }
  d->cmdAuswahl[3]->click();
  EXPECT_EQ(lesen(konfigpfad()), kodiert(fremd));
  EXPECT_FALSE(QFile::exists(anzberpfad()));
  EXPECT_NE(Setting(1), 2);
  EXPECT_TRUE(logbuch().isEmpty());
  ASSERT_FALSE(skript->texte().empty());
  EXPECT_EQ(skript->texte()[0], QString::fromUtf16(kStammdatenGeändert));
}

// Boxes fill columns of 10 for 16 to 20 groups, of 15 otherwise.
TEST_F(Anzeigeberechtigungen, SpaltenhoeheFolgtDerGruppenzahl) {
  for (const auto& [n, höhe] : {std::pair{15, 15}, {16, 10}, {20, 10}, {21, 15}, {31, 15}}) {
    QStringList namen;
    for (int i = 1; i <= n; ++i) namen << QStringLiteral("Gruppe %1").arg(i);
    gruppen(namen);
    auto d = öffnen(namen);
    for (int i = 2; i <= n; ++i) {
      const bool neueSpalte = (i - 1) % höhe == 0;
      if (neueSpalte)
        EXPECT_GE(box(*d, i)->x(), box(*d, i - 1)->x() + box(*d, i - 1)->width()) << n << " " << i;
      else
        EXPECT_EQ(box(*d, i)->x(), box(*d, i - 1)->x()) << n << " " << i;
    }
    // Every box and every button lies inside the dialog, none over another.
    const QRect innen = d->rect();
    for (int i = 1; i <= n; ++i) EXPECT_TRUE(innen.contains(box(*d, i)->geometry())) << n << " " << i;
    for (int k = 1; k <= 3; ++k) {
      EXPECT_TRUE(innen.contains(d->cmdAuswahl[k]->geometry())) << n;
      for (int i = 1; i <= n; ++i) EXPECT_FALSE(d->cmdAuswahl[k]->geometry().intersects(box(*d, i)->geometry()));
    }
  }
}

TEST_F(Anzeigeberechtigungen, Bildschirmfotos) {
  gruppen({QStringLiteral("Verwaltung"), QStringLiteral("Lager")});
  auto klein = öffnen({QStringLiteral("Verwaltung"), QStringLiteral("Lager")});
  EXPECT_TRUE(klein->grab().save(bilderordner() + QStringLiteral("Anzeigeberechtigungen_klein.png")));
  QStringList namen;
  for (int i = 1; i <= 40; ++i) namen << QStringLiteral("Abteilung Nummer %1 & Co").arg(i);
  gruppen(namen);
  auto groß = öffnen(namen);
  EXPECT_TRUE(groß->grab().save(bilderordner() + QStringLiteral("Anzeigeberechtigungen_gross.png")));
}

}  // namespace
