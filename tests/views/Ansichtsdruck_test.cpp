// The views as the printouts' sources: each view's print key opens the print dialog,
// and what is printed is what the window shows.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Ansichtsdaten.h"
#include "printing/Druckhelfer.h"
#include "printing/frmDrucken.h"
#include "views/frmJahresuebersicht.h"
#include "views/frmSummenuebersicht.h"
#include "views/frmUrlaubsuebersicht.h"

namespace {
using namespace ansichten;

class Ansichtsdruck : public AnsichtTest {
 protected:
  void SetUp() override {
    AnsichtTest::SetUp();
    gBenutzerstufe = 2;
    gDezimaltrennzeichen = QStringLiteral(",");
    gFirmenname = QStringLiteral("Muster GmbH");
    gAnsichtshaken.hauptfenster_tag_lesen = [this] { return haupttag; };
    gAnsichtshaken.hauptfenster_tag = [this](const QString& t) { haupttag = t; };
    gHauptfensterTag = [this]() -> QString& { return haupttag; };
    gDruckersystem.drucker = [] { return QStringList{QStringLiteral("Laser")}; };
    gDruckersystem.standarddrucker = [] { return QStringLiteral("Laser"); };
    gDruckersystem.ziel = [this](const QString& name, const QString&) -> std::unique_ptr<Druckziel> {
      auto z = std::make_unique<Aufzeichnungsdrucker>();
      z->mName = name;
      z->aufträge = &aufträge;
      return z;
    };
    // The print dialog as the program shows it, confirmed at once.
    gAnsichtshaken.druckdialog = [this](QWidget*) {
      aufträge_codes << gDruckauftrag;
      frmDrucken d;
      d.Form_Load();
      if (!d.mEntladen) d.cmdAuswahl_Click(1);
    };
  }
  void TearDown() override {
    gHauptfensterTag = nullptr;
    AnsichtTest::TearDown();
  }
  template <class F>
  std::unique_ptr<F> zeigen(const QString& tag) {
    haupttag = tag;
    auto f = std::make_unique<F>();
    f->Form_Load();
    f->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    return f;
  }
  QString haupttag;
  QStringList aufträge_codes;
  std::vector<std::shared_ptr<Aufzeichnung>> aufträge;
};

TEST_F(Ansichtsdruck, JahresuebersichtDrucktWasDasFensterZeigt) {
  gUrlaubsdaten[3] = QStringLiteral("005,0:030,0:030,0:028,0:000,0");
  const auto f = zeigen<frmJahresuebersicht>(QStringLiteral("anna"));
  QTest::keyClick(f.get(), Qt::Key_P, Qt::ControlModifier);
  ASSERT_EQ(aufträge_codes, QStringList{QStringLiteral("JE")});
  ASSERT_EQ(aufträge.size(), 1u);
  const Aufzeichnung& a = *aufträge[0];
  EXPECT_EQ(a.seiten, 1);
  EXPECT_TRUE(a.quer);
  const int n = Schaltflächen_Anzahl();
  for (const QString& t : {QStringLiteral("Jahresübersicht 2026"), QStringLiteral("Meier Anna"), QStringLiteral("März"),
                           f->Beschriftung(3), f->Beschriftung(4), f->Beschriftung(7), QStringLiteral("Summen"),
                           QStringLiteral("Legende"), f->Beschriftung(54 + n), QStringLiteral("Feiertag")})
    EXPECT_NE(a.suche(t), nullptr) << t.toStdString();
  // The sum of the first code stands under its box, as the window shows it.
  const auto texte = a.texte();
  const double summenX = 3.64;
  bool summe = false;
  for (const auto& e : texte) summe |= e.text == f->Beschriftung(30) && std::abs(e.x + e.b / 2 - summenX) < 1e-6;
  EXPECT_TRUE(summe);
  EXPECT_EQ(a.suche(QStringLiteral("Seite 1")), nullptr);
}

TEST_F(Ansichtsdruck, JahresuebersichtAllerMitarbeiterUeberDasFenster) {
  const auto f = zeigen<frmJahresuebersicht>(QStringLiteral("G"));
  f->cmbName->setCurrentIndex(2);
  QTest::keyClick(f.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(aufträge_codes, QStringList{QStringLiteral("JG")});
  ASSERT_EQ(static_cast<int>(aufträge.size()), f->cmbName->count());
  for (int i = 0; i < f->cmbName->count(); ++i) {
    EXPECT_EQ(aufträge[i]->seiten, 1);
    EXPECT_NE(aufträge[i]->suche(f->cmbName->itemText(i)), nullptr) << i;
  }
  EXPECT_EQ(f->cmbName->currentIndex(), 0) << "the first entry is chosen again";
}

TEST_F(Ansichtsdruck, SummenuebersichtMitFetterGesamtsumme) {
  const auto f = zeigen<frmSummenuebersicht>(QString());
  f->cmdAuswahl[2]->click();
  ASSERT_EQ(aufträge_codes, QStringList{QStringLiteral("S")});
  ASSERT_EQ(aufträge.size(), 1u);
  const Aufzeichnung& a = *aufträge[0];
  EXPECT_FALSE(a.quer) << "seven button entries";
  EXPECT_NE(a.suche(QStringLiteral("Summenübersicht vom ") + f->txtVonDatum->text() + QStringLiteral(" bis ") +
                    f->txtBisDatum->text()),
            nullptr);
  const Raster& g = f->msgFlexGrid->raster();
  const int letzte = g.Rows() - 1;
  ASSERT_EQ(g.TextMatrix(letzte, 0), u"Gesamtsumme");
  bool fett = false;
  for (const auto& e : a.texte())
    if (e.schrift.fett) {
      fett = true;
      EXPECT_EQ(e.y, a.suche(QStringLiteral("Gesamtsumme"))->y) << e.text.toStdString();
    }
  EXPECT_TRUE(fett);
  EXPECT_NE(a.suche(QStringLiteral("Meier Anna")), nullptr);
}

TEST_F(Ansichtsdruck, UrlaubsuebersichtMitTitelUndAltPSchnelldruck) {
  const auto f = zeigen<frmUrlaubsuebersicht>(QStringLiteral("U"));
  QTest::keyClick(f.get(), Qt::Key_P, Qt::AltModifier);
  ASSERT_EQ(aufträge_codes, QStringList{QStringLiteral("U")});
  EXPECT_TRUE(haupttag.isEmpty()) << "the quick-print request was taken";
  ASSERT_EQ(aufträge.size(), 1u);
  const Aufzeichnung& a = *aufträge[0];
  EXPECT_TRUE(a.quer);
  EXPECT_NE(a.suche(f->lblBeschriftung[1]->text()), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("Bis ") + f->cmbDatum->currentText()), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("Meier Anna")), nullptr);
}

}  // namespace
