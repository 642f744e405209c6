#include "widgets/Fensterhilfen.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include "common/Testumgebung.h"
#include "platform/Bildschirm.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "store/Velkoraini.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class FensterhilfenTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    bildschirm::setzeDpi(96);
    Fensterhilfen_einrichten();
  }
  void TearDown() override {
    bildschirm::setzeDpi(0);
    VelkoraTest::TearDown();
  }
  static void aktivieren(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }
};

// --- Fenstergröße_wiederherstellen -------------------------------------------------

TEST_F(FensterhilfenTest, GespeichertePlatzierungNurDeutlichImBildschirmWiederhergestellt) {
  const QRect schirm = QGuiApplication::primaryScreen()->geometry();
  const int breite = static_cast<int>(bildschirm::pixelZuTwips(schirm.width()));
  const int höhe = static_cast<int>(bildschirm::pixelZuTwips(schirm.height()));
  struct Fall {
    std::array<int, 5> werte;  // state, left, top, width, height in twips
    bool zentriert, maximiert;
  } fälle[] = {
      {{0, 300, 450, 4500, 3000}, false, false},          {{2, 300, 450, 4500, 3000}, false, true},
      {{0, breite + 800, 450, 4500, 3000}, true, false},   // from a wider screen
      {{0, breite - 3999, 450, 4500, 3000}, true, false},  // less than 4000 twips inside
      {{0, 300, höhe - 3000, 4500, 3000}, true, false},   {{0, 0, 0, 0, 0}, true, false},  // nothing saved
      {{2, -30000, 450, 4500, 3000}, true, false},                                         // left of every screen
  };
  for (const Fall& f : fälle) {
    QWidget w;
    w.resize(200, 100);
    for (int i = 0; i < 5; ++i) gBenutzerwerte[6 + i] = f.werte[i];
    Fenstergröße_wiederherstellen(&w, 6);
    const std::string name = std::to_string(f.werte[0]) + "/" + std::to_string(f.werte[1]);
    EXPECT_EQ(w.isMaximized() || (w.windowState() & Qt::WindowMaximized), f.maximiert) << name;
    if (f.zentriert) {
      EXPECT_EQ(w.pos(), QPoint((schirm.width() - 200) / 2, (schirm.height() - 100) / 2)) << name;
      EXPECT_EQ(w.size(), QSize(200, 100)) << name;
    } else if (!f.maximiert) {
      EXPECT_EQ(w.pos(), QPoint(20, 30)) << name;
      EXPECT_EQ(w.size(), QSize(300, 200)) << name;
    }
  }
}

// --- Enter as Tab -------------------------------------------------------------------

struct Dialog {
  QDialog d;
  QLineEdit* a = new QLineEdit(&d);
  QLineEdit* b = new QLineEdit(&d);
  QComboBox* c = new QComboBox(&d);
  QLineEdit* e = new QLineEdit(&d);
  QPushButton* ok = new QPushButton(QStringLiteral("OK"), &d);
  Dialog() {
    auto* l = new QVBoxLayout(&d);
    for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b), static_cast<QWidget*>(c),
                       static_cast<QWidget*>(e), static_cast<QWidget*>(ok)})
      l->addWidget(w);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
  }
};

TEST_F(FensterhilfenTest, EnterGehtZumNaechstenFokussierbarenFeldUndVonVorn) {
  Dialog f;
  aktivieren(f.d);
  f.b->setEnabled(false);
  f.c->hide();
  f.a->setFocus();
  Key_Enter_naechstes_Feld(&f.d);
  EXPECT_EQ(QApplication::focusWidget(), f.e) << "disabled and hidden fields are skipped";
  Key_Enter_naechstes_Feld(&f.d);
  // The button is next in tab order; from the last field the focus goes on to it.
  EXPECT_EQ(QApplication::focusWidget(), f.ok);
  Key_Enter_naechstes_Feld(&f.d);
  EXPECT_EQ(QApplication::focusWidget(), f.ok) << "Enter on a command button does not move";
  f.ok->setEnabled(false);
  f.e->setFocus();
  Key_Enter_naechstes_Feld(&f.d);
  EXPECT_EQ(QApplication::focusWidget(), f.a) << "after the last field comes the first";
}

TEST_F(FensterhilfenTest, EnterImDialogfeldDruecktNichtDieStandardschaltflaeche) {
  Dialog f;
  Enter_wie_Tab(&f.d);
  aktivieren(f.d);
  f.a->setFocus();
  QTest::keyClick(f.a, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), f.b);
  EXPECT_TRUE(f.d.isVisible());
  EXPECT_EQ(f.d.result(), QDialog::Rejected);
  QTest::keyClick(f.b, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(QApplication::focusWidget(), f.c);
  // On the button Enter still presses it.
  f.ok->setFocus();
  QTest::keyClick(f.ok, Qt::Key_Return);
  EXPECT_EQ(f.d.result(), QDialog::Accepted);
}

TEST_F(FensterhilfenTest, TextMarkierenWaehltDasFokussierteFeld) {
  Dialog f;
  aktivieren(f.d);
  f.e->setText(QStringLiteral("01.03.26"));
  f.e->setFocus();
  f.e->deselect();
  Text_markieren();
  EXPECT_EQ(f.e->selectedText(), QStringLiteral("01.03.26"));
}

// --- Waiting state on real windows ----------------------------------------------------

TEST_F(FensterhilfenTest, WartezustandGibtDasGesperrteFensterWiederFrei) {
  QWidget haupt, anderes;
  haupt.setWindowTitle(QStringLiteral("Velkora - Bitte warten . . ."));
  aktivieren(haupt);
  Sanduhr_Warten_ein();
  EXPECT_FALSE(haupt.isEnabled());
  aktivieren(anderes);  // another window became active in the meantime
  Sanduhr_Warten_aus();
  EXPECT_TRUE(haupt.isEnabled());
  EXPECT_TRUE(anderes.isEnabled());
  EXPECT_EQ(haupt.windowTitle(), QStringLiteral("Velkora"));
  EXPECT_FALSE(gBeschäftigt);
}

// --- SetSchriftart ----------------------------------------------------------------------

TEST_F(FensterhilfenTest, SchriftGehtAnFensterUndSteuerelementeNichtAnBildlaufleisten) {
  QString andere;
  for (const QString& f : QFontDatabase::families())
    if (f.compare(QApplication::font().family(), Qt::CaseInsensitive) != 0) andere = f;
  if (andere.isEmpty()) GTEST_SKIP() << "only one font installed";
  QWidget w;
  w.setObjectName(QStringLiteral("frmTest"));
  auto* lbl = new QLabel(QStringLiteral("x"), &w);
  lbl->setObjectName(QStringLiteral("lblName"));
  QFont fett = lbl->font();
  fett.setBold(true);
  fett.setItalic(true);
  lbl->setFont(fett);
  auto* vsb = new QScrollBar(&w);
  vsb->setObjectName(QStringLiteral("vsbRollen"));
  const QString vsbSchrift = vsb->font().family();
  gSchriftart = andere;
  SetSchriftart(&w);
  EXPECT_EQ(w.font().family(), andere);
  EXPECT_EQ(lbl->font().family(), andere);
  EXPECT_FALSE(lbl->font().bold());
  EXPECT_FALSE(lbl->font().italic());
  EXPECT_EQ(vsb->font().family(), vsbSchrift);
  EXPECT_TRUE(skript->protokoll.empty());
}

TEST_F(FensterhilfenTest, FehlendeSchriftWirdNurBeiWindowsStandardsStillErsetzt) {
  QWidget w1, w2;
  w1.setObjectName(QStringLiteral("frmEins"));
  auto* lbl = new QLabel(&w1);
  lbl->setObjectName(QStringLiteral("lblA"));
  gSchriftart = QStringLiteral("MS Sans Serif");
  SetSchriftart(&w1);
  EXPECT_TRUE(skript->protokoll.empty());
  EXPECT_EQ(gSchriftart, QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(lbl->font().family(), QApplication::font().family());

  const QFont vorher = w2.font();
  gSchriftart = QStringLiteral("Gibt Es Nicht Grotesk");
  SetSchriftart(&w1);
  SetSchriftart(&w2);
  ASSERT_EQ(skript->protokoll.size(), 1u) << "one warning only";
  EXPECT_EQ(skript->protokoll[0].text,
            QStringLiteral("Warnung: Zuweisen von Schriftart Gibt Es Nicht Grotesk an Element frmEins nicht möglich"));
  EXPECT_TRUE(gSchriftart.isEmpty());
  EXPECT_EQ(w2.font(), vorher);
}

// --- AutoAnzeigen -------------------------------------------------------------------------

TEST_F(FensterhilfenTest, AutoAnzeigenTabelle) {
  gHeute = QDate(2026, 3, 10);
  gDatumsreihenfolge = 1;
  gDatumstrennzeichen = QStringLiteral(".");
  struct Fall {
    QString von, bis;
    bool ergebnis;
    QString vonDanach, bisDanach;
  } fälle[] = {
      {QStringLiteral("01.03.26"), QStringLiteral("31.03.26"), true, QStringLiteral("01.03.26"),
       QStringLiteral("31.03.26")},
      {QStringLiteral(" 01.03.26 "), QStringLiteral("01.03.26"), true, QStringLiteral("01.03.26"),
       QStringLiteral("01.03.26")},
      {QStringLiteral("31.03.26"), QStringLiteral("01.03.26"), false, QStringLiteral("31.03.26"),
       QStringLiteral("01.03.26")},
      {QString(), QStringLiteral("01.03.26"), false, QString(), QStringLiteral("01.03.26")},
      {QStringLiteral("1.3.26"), QStringLiteral("01.03.26"), false, QStringLiteral("1.3.26"),
       QStringLiteral("01.03.26")},
      // Completed by the check: this call says no, the next one (after the change) yes.
      {QStringLiteral("010326"), QStringLiteral("310326"), false, QStringLiteral("01.03.26"),
       QStringLiteral("31.03.26")},
      {QStringLiteral("31.04.26"), QStringLiteral("30.05.26"), false, QStringLiteral("30.04.26"),
       QStringLiteral("30.05.26")},
      {QStringLiteral("32.01.26"), QStringLiteral("01.02.26"), false, QStringLiteral("32.01.26"),
       QStringLiteral("01.02.26")},
      {QStringLiteral("01.13.26"), QStringLiteral("01.02.26"), false, QStringLiteral("01.13.26"),
       QStringLiteral("01.02.26")},
  };
  for (const Fall& f : fälle) {
    QWidget w;
    auto* von = new QLineEdit(f.von, &w);
    von->setObjectName(QStringLiteral("txtVonDatum"));
    auto* bis = new QLineEdit(f.bis, &w);
    bis->setObjectName(QStringLiteral("txtBisDatum"));
    EXPECT_EQ(AutoAnzeigen(&w), f.ergebnis) << f.von.toStdString() << " - " << f.bis.toStdString();
    EXPECT_EQ(von->text(), f.vonDanach);
    EXPECT_EQ(bis->text(), f.bisDanach);
    if (f.von == u"010326") {
      EXPECT_TRUE(AutoAnzeigen(&w));
    }
  }
  EXPECT_TRUE(skript->protokoll.empty()) << "the check shows no messages";
}

TEST_F(FensterhilfenTest, AutoAnzeigenInAnderenDatumsreihenfolgen) {
  gHeute = QDate(2026, 3, 10);
  struct Fall {
    int ordnung;
    QString trenner, von, bis;
    bool ergebnis;
  } fälle[] = {
      {0, QStringLiteral("/"), QStringLiteral("03/01/26"), QStringLiteral("03/31/26"), true},
      {0, QStringLiteral("/"), QStringLiteral("03/31/26"), QStringLiteral("04/01/26"), true},
      {0, QStringLiteral("/"), QStringLiteral("04/01/26"), QStringLiteral("03/31/26"), false},
      {2, QStringLiteral("-"), QStringLiteral("26-03-01"), QStringLiteral("27-01-31"), true},
      {2, QStringLiteral("-"), QStringLiteral("27-01-31"), QStringLiteral("26-03-01"), false},
  };
  for (const Fall& f : fälle) {
    gDatumsreihenfolge = f.ordnung;
    gDatumstrennzeichen = f.trenner;
    QWidget w;
    (new QLineEdit(f.von, &w))->setObjectName(QStringLiteral("txtVonDatum"));
    (new QLineEdit(f.bis, &w))->setObjectName(QStringLiteral("txtBisDatum"));
    EXPECT_EQ(AutoAnzeigen(&w), f.ergebnis) << f.von.toStdString() << " - " << f.bis.toStdString();
  }
}

// --- Spaltenbreiten_anpassen ------------------------------------------------------------------

class Gitterfenster : public Namensspaltenfenster {
 public:
  bool Scrollbar_sichtbar() override { return scrollbar; }
  int Gitterbreite() override { return 9000; }
  void Namensspalte_setzen(int t) override { spalte = t; }
  QComboBox* Gruppenauswahl() override { return &combo; }
  bool scrollbar = false;
  int spalte = 0;
  QWidget fenster;
  QComboBox& combo = *new QComboBox(&fenster);
};

TEST_F(FensterhilfenTest, NamensspalteHaeltPlatzFuerEinmalGeseheneBildlaufleiste) {
  Gitterfenster f;
  f.scrollbar = true;
  Spaltenbreiten_anpassen(f, 6000, false);
  EXPECT_EQ(f.spalte, 9000 - 6000 - 330);
  EXPECT_EQ(f.combo.width(), bildschirm::twipsZuPixel(f.spalte - 15));
  f.scrollbar = false;
  Spaltenbreiten_anpassen(f, 6000, false);
  EXPECT_EQ(f.spalte, 9000 - 6000 - 330) << "the remembered scroll bar still counts";
  Spaltenbreiten_anpassen(f, 6000, true);
  EXPECT_EQ(f.spalte, 9000 - 6000 - 75);
  Spaltenbreiten_anpassen(f, 8800, true);
  EXPECT_EQ(f.spalte, 600);
}

TEST_F(FensterhilfenTest, GruppenauswahlbreiteFolgtDerBildschirmdichte) {
  EXPECT_EQ(Gruppenauswahlbreite(2000, 96), 1985);
  EXPECT_EQ(Gruppenauswahlbreite(2000, 120), 1970);  // a whole number of twips per pixel: no scaling
  EXPECT_EQ(Gruppenauswahlbreite(2000, 144), 1970);
  EXPECT_EQ(Gruppenauswahlbreite(2000, 110), 1956);
  EXPECT_EQ(Namensspaltenbreite(5000, 4000, false), 925);
  EXPECT_EQ(Namensspaltenbreite(5000, 4800, true), 600);
}

}  // namespace
