// The display groups dialog asking for a group's name in the main window's input box.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "common/Anzeige.h"
#include "common/Modaldialog.h"
#include "people/frmAnzeigegruppen.h"
#include "planner/frmKommentar.h"
#include "store/Mitarbeiterdaten.h"

namespace {
using namespace anzeige;

class Anzeigegruppen : public AnzeigeTest {
 protected:
  void SetUp() override {
    AnzeigeTest::SetUp();
    gruppen({QStringLiteral("Verwaltung"), QStringLiteral("Lager"), QStringLiteral("Versand")});
    gAnzeigeberechtigung = QStringLiteral("AllGroups");
  }
  void TearDown() override {
    frmAnzeigegruppen::eingabe = nullptr;
    AnzeigeTest::TearDown();
  }
  static QStringList namen(frmAnzeigegruppen& d) {
    QStringList r;
    for (int i = 0; i < d.cmbMitarbeitergruppe->count(); ++i) r << d.cmbMitarbeitergruppe->itemText(i);
    return r;
  }
};

// The names come through the real comment dialog when the main window's hook is used.
TEST_F(Anzeigegruppen, KommentardialogFragtNachDemNamen) {
  frmAnzeigegruppen::eingabe = [](QWidget* besitzer, const QString& beschriftung, const QString& vorgabe,
                                  const QString& titel) { return Eingabefeld(beschriftung, vorgabe, titel, besitzer); };
  auto d = anzeigegruppenÖffnen();
  QString titel;
  beimDialog<frmKommentar>([&](frmKommentar& k) {
    titel = k.windowTitle();
    k.txtKommentar->setText(QStringLiteral("Nord"));
    k.cmdAuswahl[1]->click();
  });
  d->cmdAuswahl[1]->click();
  EXPECT_EQ(titel, u"Velkora - Anzeigegruppen");
  EXPECT_EQ(namen(*d), (QStringList{QStringLiteral("Alle Mitarbeiter"), QStringLiteral("Nord")}));
}

}  // namespace
