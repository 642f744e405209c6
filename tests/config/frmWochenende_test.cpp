// The non-working weekdays dialog: what applying stores in the configuration, the
// month files before the current month and the logbook, and when it asks first.
#include "config/frmWochenende.h"

#include "common/Feiertagsdialoge.h"

namespace {
using namespace feiertage;

class WochenendeTest : public Feiertagsdialoge {
 protected:
  static QString gespeichertesWochenende() {
    const QStringList z = konfigzeilen();
    return z.value(z.indexOf(QStringLiteral("[Wochenende]")) + 1);
  }
  static void wählen(frmWochenende& d, const QString& codes) {
    for (int k = 1; k <= 7; ++k) d.chkWochenende[k]->setChecked(codes.contains(Wochentagscode(k)));
  }
};

TEST_F(WochenendeTest, DieTageFolgenDerWochentagsreihenfolgeUndLeerIstErlaubt) {
  {
    auto d = zeigen<frmWochenende>();
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(d->chkWochenende[k]->isChecked(), k >= 6);
    for (int k : {6, 7}) QTest::mouseClick(d->chkWochenende[k], Qt::LeftButton);
    QTest::mouseClick(d->cmdAuswahl[2], Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
  }
  EXPECT_EQ(gespeichertesWochenende(), QString());
  EXPECT_EQ(gWochenende, QString());
  {
    auto d = zeigen<frmWochenende>();
    // Sunday clicked before Saturday.
    for (int k : {7, 6}) QTest::mouseClick(d->chkWochenende[k], Qt::LeftButton);
    QTest::mouseClick(d->cmdAuswahl[2], Qt::LeftButton);
  }
  EXPECT_EQ(gespeichertesWochenende(), u"SaSo");
  EXPECT_EQ(logbuch(), (QStringList{QStringLiteral("Wochenende alt: SaSo"), QStringLiteral("Wochenende neu: "),
                                    QStringLiteral("Wochenende alt: "), QStringLiteral("Wochenende neu: SaSo")}));
  EXPECT_TRUE(skript->texte().empty());
}

TEST_F(WochenendeTest, NurHinzugefuegteTageBeiSperreUndKuenftigenDatenFragen) {
  monatSchreiben(QStringLiteral("2604 260301 Data.dat"), {QStringLiteral("A:anna:") + planer::Codes({{4, '1'}})});
  Erfassungsdaten_Cache_verwerfen();
  {
    auto d = zeigen<frmWochenende>();
    wählen(*d, QStringLiteral("So"));
    QTest::mouseClick(d->cmdAuswahl[2], Qt::LeftButton);
    EXPECT_TRUE(skript->texte().empty());
    EXPECT_EQ(gespeichertesWochenende(), u"So");
  }
  {
    auto d = zeigen<frmWochenende>();
    wählen(*d, QStringLiteral("FrSo"));
    d->chkEingabe->setChecked(false);
    QTest::mouseClick(d->cmdAuswahl[2], Qt::LeftButton);
    EXPECT_TRUE(skript->texte().empty()) << "the lock is off";
    EXPECT_EQ(gespeichertesWochenende(), u"FrSo");
  }
  {
    auto d = zeigen<frmWochenende>();
    EXPECT_FALSE(d->chkEingabe->isChecked());
    wählen(*d, QStringLiteral("FrSaSo"));
    d->chkEingabe->setChecked(true);
    skript->antworte(dialoge::kNein);
    QTest::mouseClick(d->cmdAuswahl[2], Qt::LeftButton);
    ASSERT_EQ(skript->protokoll.size(), 1u);
    EXPECT_EQ(skript->protokoll[0].art, dialoge::Art::JaNein);
    EXPECT_EQ(skript->protokoll[0].text,
              QStringLiteral("Hinweis: Für die Zeit ab 01.03.26 sind An-/Abwesenheitsdaten vorhanden. Wenn bereits "
                             "Daten für künftige Wochenendtage erfasst wurden, müssen diese manuell berichtigt werden."
                             "\r\rMöchten Sie fortsetzen und die Wochenendtage ändern?"));
    EXPECT_EQ(gespeichertesWochenende(), u"FrSo");
    EXPECT_EQ(gespeicherteEinstellungen().mid(11, 1), u"0");
  }
}

TEST_F(WochenendeTest, NurDieSperreGeaendertSchreibtKeinLogbuch) {
  auto d = zeigen<frmWochenende>();
  d->chkEingabe->setChecked(false);
  QTest::mouseClick(d->cmdAuswahl[2], Qt::LeftButton);
  EXPECT_EQ(gespeicherteEinstellungen().mid(11, 1), u"1");
  EXPECT_EQ(gespeichertesWochenende(), u"SaSo");
  EXPECT_TRUE(logbuch().isEmpty());
}

TEST_F(WochenendeTest, VergangeneMonateBehaltenIhreWochentageNurMitDaten) {
  struct Fall {
    const char16_t* einrichtung;
    const char16_t *januar, *dezember;  // the exceptions lines afterwards
    bool freitagFreiImJanuar;
  };
  // December 2025 was frozen before ("So" and an extra day) and keeps it.
  for (const Fall& f :
       {Fall{u"2501", u"SaSo:NoEx", u"So24|:NoEx", false}, Fall{u"2602", u"NoEx:NoEx", u"NoEx24|:NoEx", true}}) {
    SCOPED_TRACE(QString::fromUtf16(f.einrichtung).toStdString());
    konfiguration(QString::fromUtf16(f.einrichtung));
    monatSchreiben(QStringLiteral("2601 260105 Data.dat"), {QStringLiteral("A:anna:") + planer::Codes({{7, '1'}})});
    monatSchreiben(QStringLiteral("2512 251201 Data.dat"), {}, "So24|:NoEx");
    auto d = zeigen<frmWochenende>();
    wählen(*d, QStringLiteral("FrSaSo"));
    QTest::mouseClick(d->cmdAuswahl[2], Qt::LeftButton);
    EXPECT_EQ(ausnahmen(QStringLiteral("2601")), QString::fromUtf16(f.januar));
    EXPECT_EQ(ausnahmen(QStringLiteral("2512")), QString::fromUtf16(f.dezember));
    EXPECT_EQ(ausnahmen(QStringLiteral("2603")), u"NoEx:NoEx");
    // 9 January and 13 March 2026 are Fridays.
    EXPECT_EQ(Ist_Wochenende(QStringLiteral("2601"), 9, ausnahmen(QStringLiteral("2601")), gWochenende),
              f.freitagFreiImJanuar);
    EXPECT_TRUE(Ist_Wochenende(QStringLiteral("2603"), 13, ausnahmen(QStringLiteral("2603")), gWochenende));
  }
}

TEST_F(WochenendeTest, DerAktuelleMonatZaehltAuchImDrittenJahrDesFensters) {
  // Window 2024 to 2026: March 2026 is month 27, so February 2026 lies before it.
  gPlanungsjahr = 2024;
  konfiguration(QStringLiteral("2401"));
  monatSchreiben(QStringLiteral("2602 260205 Data.dat"), {QStringLiteral("A:anna:") + planer::Codes({{4, '1'}})});
  Erfassungsdaten_Cache_verwerfen();
  auto d = zeigen<frmWochenende>();
  wählen(*d, QStringLiteral("FrSaSo"));
  QTest::mouseClick(d->cmdAuswahl[2], Qt::LeftButton);
  EXPECT_TRUE(skript->texte().empty()) << "no later month holds data";
  EXPECT_EQ(ausnahmen(QStringLiteral("2602")), u"SaSo:NoEx");
  EXPECT_EQ(gespeichertesWochenende(), u"FrSaSo");
}

}  // namespace
