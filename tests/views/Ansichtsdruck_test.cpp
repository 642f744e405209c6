// The views as the printouts' sources: each view's print key opens the print dialog,
// and what is printed is what the window shows.
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/Ansichtsdaten.h"
#include "common/Druckhelfer.h"
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

// Every employee's page through the window: a page takes far less than a frame of
// the screen, so the window is painted at the screen's pace, not for every page;
// once the series is over it paints again, showing the first employee.
TEST_F(Ansichtsdruck, JahresuebersichtAllerMitarbeiterMaltImBildtakt) {
  const auto f = zeigen<frmJahresuebersicht>(QStringLiteral("G"));
  struct Malzaehler : QObject {
    int bilder = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      bilder += e->type() == QEvent::Paint;
      return false;
    }
  } zähler;
  f->msgFlexGrid->installEventFilter(&zähler);
  QElapsedTimer dauer;
  dauer.start();
  QTest::keyClick(f.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  const qint64 ms = dauer.elapsed();
  ASSERT_EQ(static_cast<int>(aufträge.size()), f->cmbName->count());
  ASSERT_GE(f->cmbName->count(), 3);
  EXPECT_GE(zähler.bilder, 1) << "the first page is shown";
  EXPECT_LE(zähler.bilder, 1 + ms / 33) << ms << " ms";
  // After the series the window paints again, on the first employee.
  EXPECT_TRUE(f->updatesEnabled());
  const int bisher = zähler.bilder;
  f->repaint();
  EXPECT_EQ(zähler.bilder, bisher + 1);
  EXPECT_EQ(f->cmbName->currentIndex(), 0);
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

// Keeps the printouts of the three views as PDF files in the folder VELKORA_BILDER
// names (none: nothing printed), with the planner's employees and with a thousand.
TEST_F(Ansichtsdruck, BilderDerAusdrucke) {
  const QString ordner = qEnvironmentVariable("VELKORA_BILDER");
  if (ordner.isEmpty()) GTEST_SKIP();
  QDir().mkpath(ordner);
  QString datei;
  gDruckersystem.ziel = [&datei](const QString&, const QString&) { return Systemdrucker().ziel(kPdfDrucker, datei); };
  gUrlaubsdaten[3] = QStringLiteral("005,0:030,0:030,0:028,0:000,0");
  const auto drucken = [&](QWidget& f, const QString& name, auto&& auslösen) {
    datei = ordner + u'/' + name + QStringLiteral(".pdf");
    QFile::remove(datei);
    // The PDF printer asks for its file.
    skript->antworte(dialoge::kOK, datei);
    auslösen(f);
    const std::vector<QString> meldungen = skript->texte();
    EXPECT_TRUE(QFile::exists(datei)) << name.toStdString() << " "
                                      << QStringList(meldungen.begin(), meldungen.end()).join(u'|').toStdString();
  };
  {
    const auto f = zeigen<frmJahresuebersicht>(QStringLiteral("anna"));
    drucken(*f, QStringLiteral("Druck_Jahresuebersicht"),
            [](QWidget& w) { QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier); });
  }
  for (const int mitarbeiter : {0, 1000}) {
    if (mitarbeiter > 0) {
      Mitarbeitertabelle_dimensionieren(mitarbeiter + 10);
      int i = 0;
      for (int gruppe = 0; gruppe < 10; ++gruppe) {
        ++i;
        gMitarbeiterNamen[i] = QStringLiteral("Abteilung %1").arg(gruppe + 1);
        gBenutzerIDs[i].clear();
        for (int m = 0; m < mitarbeiter / 10; ++m) {
          ++i;
          gMitarbeiterNamen[i] = QStringLiteral("Mitarbeiter-Langname %1").arg(gruppe * 100 + m);
          gBenutzerIDs[i] = QStringLiteral("benutzer%1").arg(gruppe * 100 + m);
          gEintrittsdaten[i] = QStringLiteral("000000");
          gAustrittsdaten[i] = QStringLiteral("999999");
          gUrlaubsdaten[i] = QStringLiteral("005,0:030,0:030,0:028,0:000,0");
          gSonderurlaubsanspruch[i] = QStringLiteral("000,0");
        }
      }
    }
    const QString n = QString::number(mitarbeiter);
    {
      const auto f = zeigen<frmSummenuebersicht>(QString());
      drucken(*f, QStringLiteral("Druck_Summen_") + n,
              [](QWidget& w) { QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier); });
    }
    {
      const auto f = zeigen<frmUrlaubsuebersicht>(QStringLiteral("U"));
      drucken(*f, QStringLiteral("Druck_Urlaub_") + n,
              [](QWidget& w) { QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier); });
    }
  }
}

}  // namespace
