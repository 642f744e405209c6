// The holidays dialog: its layout for the named definitions, the entry of further
// holidays, and what applying writes into the holiday file, the configuration, the
// month files before the current month and the logbook.
#include "config/frmFeiertage.h"

#include <QLabel>

#include "common/Feiertagsdialoge.h"
#include "platform/Bildschirm.h"
#include "startup/Umrechnungen.h"

namespace {
using namespace feiertage;

int px(int twips) { return bildschirm::twipsZuPixel(twips); }

class FeiertageTest : public Feiertagsdialoge {
 protected:
  // Types into a box and leaves it with Tab, as the user does.
  void eingeben(frmFeiertage& d, int box, const QString& text) {
    fokus(d.txtFeiertage[box]);
    d.txtFeiertage[box]->selectAll();
    QTest::keyClicks(d.txtFeiertage[box], text);
    fokus(d.txtFeiertage[box == 16 ? 1 : box + 1]);
  }
  static QStringList weitere() { return feiertagszeilen().mid(19); }
};

// Definitions with names up to `benannt`, empty ones after.
QStringList Definitionen(int benannt) {
  QStringList d = Deutsche_Definitionen();
  for (int i = benannt; i < 16; ++i) d[i] = kLeereFeiertagsdefinition;
  return d;
}

TEST_F(FeiertageTest, DieFensterhoeheFolgtDenBenanntenDefinitionen) {
  struct Fall {
    int benannt, links, rechts, hoch;
  };
  // hoch: twips everything below the check boxes moves up.
  for (const Fall& f :
       {Fall{16, 8, 8, 0}, Fall{15, 8, 7, 0}, Fall{11, 6, 5, 960}, Fall{1, 1, 0, 3360}, Fall{0, 0, 0, 3840}}) {
    SCOPED_TRACE(f.benannt);
    QStringList defs = Definitionen(f.benannt);
    defs << QStringLiteral("24.12.");  // the extended layout, so only the columns count
    feiertageSchreiben(QStringLiteral("Deutschland"), defs);
    auto d = zeigen<frmFeiertage>();
    EXPECT_EQ(d->letzteBenannte(), f.benannt);
    // The right column starts at 3840 twips or, for the long names of the set, further right.
    int links = 0, rechts = 0, rechtsX = 0;
    for (int i = 1; i <= 16; ++i) {
      if (d->chkFeiertage[i]->isHidden()) continue;
      const int x = d->chkFeiertage[i]->x();
      if (x == px(360)) {
        ++links;
        EXPECT_EQ(d->chkFeiertage[i]->y(), px(840 + 480 * (i - 1)));
      } else {
        if (rechts++ == 0) rechtsX = x;
        EXPECT_EQ(x, rechtsX);
        EXPECT_GE(x, px(3840));
        EXPECT_EQ(d->chkFeiertage[i]->y(), px(840 + 480 * (i - 1 - f.links)));
      }
      EXPECT_GE(d->chkFeiertage[i]->width(), d->chkFeiertage[i]->sizeHint().width());
    }
    EXPECT_EQ(links, f.links);
    EXPECT_EQ(rechts, f.rechts);
    EXPECT_EQ(d->lblBeschriftung[2]->y(), px(4800 - f.hoch));
    EXPECT_EQ(d->txtFeiertage[9]->y(), px(5700 - f.hoch));
    EXPECT_EQ(d->chkEingabe->y(), px(6420 - f.hoch));
    EXPECT_EQ(d->cmdAuswahl[3]->y(), px(7230 - f.hoch));
    EXPECT_EQ(d->height(), px(7965 - f.hoch));
    EXPECT_FALSE(d->cmdAuswahl[1]->isEnabled());
  }
}

TEST_F(FeiertageTest, KompaktOhneWeitereFeiertageUndWeitereFeiertageOeffnetDieFelder) {
  auto d = zeigen<frmFeiertage>();
  EXPECT_TRUE(d->txtFeiertage[1]->isHidden());
  EXPECT_TRUE(d->lblBeschriftung[2]->isHidden());
  EXPECT_TRUE(d->cmdAuswahl[1]->isEnabled());
  EXPECT_EQ(d->chkEingabe->y(), px(6420 - 1560));
  EXPECT_EQ(d->height(), px(7965 - 1560));
  QTest::mouseClick(d->cmdAuswahl[1], Qt::LeftButton);
  for (int i = 1; i <= 16; ++i) EXPECT_TRUE(d->txtFeiertage[i]->isVisible());
  EXPECT_TRUE(d->lblBeschriftung[2]->isVisible());
  EXPECT_FALSE(d->cmdAuswahl[1]->isEnabled());
  EXPECT_EQ(d->chkEingabe->y(), px(6420 - 60));
  EXPECT_EQ(d->height(), px(7965 - 60));
  EXPECT_TRUE(d->txtFeiertage[1]->hasFocus());
}

TEST_F(FeiertageTest, EingabenWerdenVervollstaendigtUndTagZuerstNachMonatUndTagSortiert) {
  struct Fall {
    const char16_t* trenner;
    int reihenfolge;
    const char16_t *getippt, *während, *danach, *form;
  };
  for (const Fall& f : {Fall{u".", 1, u"24,12", u"24.12", u"24.12.", u"tt.mm.)"},
                        Fall{u"/", 0, u"12,24", u"12/24", u"12/24", u"mm/tt)"},
                        Fall{u".", 1, u"31.02", u"31.02", u"28.02.", u"tt.mm.)"}}) {
    SCOPED_TRACE(QString::fromUtf16(f.getippt).toStdString());
    gDatumstrennzeichen = QString::fromUtf16(f.trenner);
    gDatumsreihenfolge = f.reihenfolge;
    QStringList defs = Deutsche_Definitionen();
    defs << QStringLiteral("06.01.") << QStringLiteral("01.11.");
    feiertageSchreiben(QStringLiteral("Deutschland"), defs);
    auto d = zeigen<frmFeiertage>();
    EXPECT_TRUE(d->lblBeschriftung[2]->text().endsWith(QString::fromUtf16(f.form)));
    const QString s = gDatumstrennzeichen;
    EXPECT_EQ(d->txtFeiertage[1]->text(), f.reihenfolge == 1 ? QStringLiteral("06") + s + QStringLiteral("01") + s
                                                             : QStringLiteral("01") + s + QStringLiteral("06"));
    fokus(d->txtFeiertage[3]);
    QTest::keyClicks(d->txtFeiertage[3], QString::fromUtf16(f.getippt) + QStringLiteral("x"));
    EXPECT_EQ(d->txtFeiertage[3]->text(), QString::fromUtf16(f.während));
    fokus(d->txtFeiertage[4]);
    EXPECT_EQ(d->txtFeiertage[3]->text(), QString::fromUtf16(f.danach));
    QTest::mouseClick(d->cmdAuswahl[3], Qt::LeftButton);
    EXPECT_TRUE(skript->texte().empty());
    const QString neu = f.danach[1] == u'8' ? QStringLiteral("28.02.") : QStringLiteral("24.12.");
    QStringList erwartet{QStringLiteral("06.01."), QStringLiteral("01.11.")};
    erwartet.insert(neu == u"28.02." ? 1 : 2, neu);
    EXPECT_EQ(weitere(), erwartet);
  }
}

TEST_F(FeiertageTest, EineAbgelehnteEingabeHaeltDenDialogOffenUndSchreibtNichts) {
  QStringList defs = Deutsche_Definitionen();
  defs << QStringLiteral("24.12.");
  feiertageSchreiben(QStringLiteral("Deutschland"), defs);
  const QByteArray vorher = lesen(gDatenordner + QStringLiteral("Feiertage.dat"));
  auto d = zeigen<frmFeiertage>();
  d->chkFeiertage[2]->setChecked(true);
  d->txtFeiertage[5]->setText(QStringLiteral("32.13."));
  QTest::mouseClick(d->cmdAuswahl[3], Qt::LeftButton);
  EXPECT_EQ(skript->texte(), std::vector<QString>{QStringLiteral("Datumseingabe nicht plausibel")});
  EXPECT_TRUE(d->isVisible());
  EXPECT_TRUE(d->txtFeiertage[5]->hasFocus());
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Feiertage.dat")), vorher);
  // Cancel after the refusal discards it without a further check.
  QTest::mouseClick(d->cmdAuswahl[4], Qt::LeftButton);
  EXPECT_FALSE(d->isVisible());
  EXPECT_FALSE(gDatumsprüfungOffen);
  EXPECT_EQ(skript->texte().size(), 1u);
}

TEST_F(FeiertageTest, DerselbeTagZweimalWirdEinmalGespeichertUndZweimalProtokolliert) {
  auto d = zeigen<frmFeiertage>();
  QTest::mouseClick(d->cmdAuswahl[1], Qt::LeftButton);
  eingeben(*d, 1, QStringLiteral("24.12"));
  eingeben(*d, 2, QStringLiteral("24.12"));
  QTest::mouseClick(d->cmdAuswahl[3], Qt::LeftButton);
  EXPECT_EQ(weitere(), QStringList{QStringLiteral("24.12.")});
  EXPECT_EQ(gFeiertagsdefinitionen.size(), 18);
  EXPECT_EQ(logbuch(), (QStringList{QStringLiteral("Feiertage alt: 1001111100100011"),
                                    QStringLiteral("Feiertage neu: 100111110010001124.12.24.12.")}));
}

TEST_F(FeiertageTest, NurDieSperreGeaendertSchreibtNurDieKonfiguration) {
  const QByteArray feiertage = lesen(gDatenordner + QStringLiteral("Feiertage.dat"));
  auto d = zeigen<frmFeiertage>();
  EXPECT_TRUE(d->chkEingabe->isChecked());
  d->chkEingabe->setChecked(false);
  QTest::mouseClick(d->cmdAuswahl[3], Qt::LeftButton);
  EXPECT_EQ(gespeicherteEinstellungen().mid(11, 1), u"1");
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Feiertage.dat")), feiertage);
  EXPECT_TRUE(logbuch().isEmpty());
  EXPECT_FALSE(d->isVisible());
}

TEST_F(FeiertageTest, HinzufuegenBeiSperreUndKuenftigenDatenFragtUndNeinBehaeltNurDieSperre) {
  monatSchreiben(QStringLiteral("2605 260301 Data.dat"), {QStringLiteral("A:anna:") + planer::Codes({{4, '1'}})});
  Erfassungsdaten_Cache_verwerfen();
  const QByteArray feiertage = lesen(gDatenordner + QStringLiteral("Feiertage.dat"));
  {
    // Switching a holiday off never asks.
    auto d = zeigen<frmFeiertage>();
    d->chkFeiertage[1]->setChecked(false);
    QTest::mouseClick(d->cmdAuswahl[3], Qt::LeftButton);
    EXPECT_TRUE(skript->texte().empty());
    EXPECT_TRUE(feiertagszeilen().value(3).startsWith(u"0:01.01."));
  }
  {
    auto d = zeigen<frmFeiertage>();
    d->chkFeiertage[2]->setChecked(true);
    skript->antworte(dialoge::kNein);
    QTest::mouseClick(d->cmdAuswahl[3], Qt::LeftButton);
    ASSERT_EQ(skript->protokoll.size(), 1u);
    EXPECT_EQ(skript->protokoll[0].art, dialoge::Art::JaNein);
    EXPECT_EQ(skript->protokoll[0].text,
              QStringLiteral("Hinweis: Für die Zeit ab 01.03.26 sind An-/Abwesenheitsdaten vorhanden. Wenn bereits "
                             "Daten für künftige Feiertage erfasst wurden, müssen diese manuell berichtigt werden."
                             "\r\rMöchten Sie fortsetzen und die Feiertage ändern?"));
    EXPECT_TRUE(feiertagszeilen().value(4).startsWith(u"0:06.01."));
  }
  // With the lock off the same change is made without asking.
  {
    auto d = zeigen<frmFeiertage>();
    d->chkEingabe->setChecked(false);
    d->chkFeiertage[2]->setChecked(true);
    QTest::mouseClick(d->cmdAuswahl[3], Qt::LeftButton);
    EXPECT_EQ(skript->protokoll.size(), 1u);
    EXPECT_TRUE(feiertagszeilen().value(4).startsWith(u"1:06.01."));
    EXPECT_EQ(gespeicherteEinstellungen().mid(11, 1), u"1");
  }
  EXPECT_NE(lesen(gDatenordner + QStringLiteral("Feiertage.dat")), feiertage);
}

TEST_F(FeiertageTest, VergangeneMonateBehaltenIhreFeiertageNurMitDaten) {
  struct Fall {
    const char16_t* einrichtung;
    bool datenVorher;
    const char16_t *januar, *dezember;  // the holiday parts afterwards
  };
  // January 2026 had New Year; December 2025 was frozen before and keeps its days.
  for (const Fall& f : {Fall{u"2501", true, u"01|", u"24|25|26|"}, Fall{u"2602", true, u"NoEx", u"NoEx"},
                        Fall{u"2501", false, u"NoEx", u"NoEx"}}) {
    SCOPED_TRACE(QString::fromUtf16(f.einrichtung).toStdString() + (f.datenVorher ? " mit Daten" : " ohne"));
    konfiguration(QString::fromUtf16(f.einrichtung));
    feiertageSchreiben(QStringLiteral("Deutschland"), Deutsche_Definitionen());
    monatSchreiben(QStringLiteral("2601 260105 Data.dat"),
                   {QStringLiteral("A:anna:") + planer::Codes({{7, f.datenVorher ? '1' : ' '}})}, "So:NoEx");
    monatSchreiben(QStringLiteral("2512 251201 Data.dat"), {}, "NoEx:24|25|26|");
    auto d = zeigen<frmFeiertage>();
    d->chkFeiertage[1]->setChecked(false);
    d->chkFeiertage[2]->setChecked(true);
    QTest::mouseClick(d->cmdAuswahl[3], Qt::LeftButton);
    EXPECT_EQ(ausnahmen(QStringLiteral("2601")), QStringLiteral("So:") + QString::fromUtf16(f.januar));
    EXPECT_EQ(ausnahmen(QStringLiteral("2512")), QStringLiteral("NoEx:") + QString::fromUtf16(f.dezember));
    // The current month follows the new definitions.
    EXPECT_EQ(ausnahmen(QStringLiteral("2603")), u"NoEx:NoEx");
    EXPECT_TRUE(gFeiertagsTabelle.contains(QStringLiteral("260106|")));
    EXPECT_FALSE(gFeiertagsTabelle.contains(QStringLiteral("260101|")));
  }
}

TEST_F(FeiertageTest, DerHinweisNenntDenErstenTagDesMonatsNurBeiEingefrorenenMonaten) {
  auto d1 = zeigen<frmFeiertage>();
  EXPECT_EQ(d1->lblBeschriftung[1]->text(), u"Feiertage");
  d1.reset();
  konfiguration(QStringLiteral("2501"));
  monatSchreiben(QStringLiteral("2602 260205 Data.dat"), {QStringLiteral("A:anna:") + planer::Codes({{7, '1'}})});
  auto d2 = zeigen<frmFeiertage>();
  EXPECT_EQ(d2->lblBeschriftung[1]->text(), u"Feiertage (Änderungen werden ab 01.03.26 wirksam)");
}

}  // namespace
