// The employee editor's apply beside other workstations: program processes on the same
// data folder, worked through their main windows (velkora_arbeitsplatz).
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include "common/Arbeitsplatzprozess.h"
#include "people/Mitarbeitereditor.h"
#include "startup/Dateizugriff.h"
#include "store/Feiertage.h"
#include "store/Stammdatenstand.h"

namespace {

// 31 code characters with button 1 on the given days.
QString Codes(std::initializer_list<int> tage) {
  QString c(31, u' ');
  for (int t : tage) c[t - 1] = u'1';
  return c;
}

// The entry lines of a user in a month file, in order.
QStringList Zeilen_von(const QString& pfad, const QString& benutzer) {
  QStringList r;
  for (const QString& z : dekodierteZeilen(pfad))
    if (z.startsWith(QStringLiteral("A:") + benutzer + u':')) r << z;
  return r;
}

class Mehrplatz : public Mitarbeitereditor {
 protected:
  void SetUp() override {
    Mitarbeitereditor::SetUp();
    basis = ordner();
    Arbeitsplatzordner_anlegen(basis);
    daten = basis + QStringLiteral("Daten/Data/");
  }

  // A first start creates the data folder; this process then works on it as a third
  // workstation of an administrator "tester" with the employee editor.
  void datenordnerAnlegen() {
    {
      Arbeitsplatz erster(QStringLiteral("anna"), basis, QStringLiteral("140426"));
      ASSERT_EQ(erster.zeile(), u"ready 2604") << erster.fehlerausgabe();
      erster.senden(QStringLiteral("quit"));
      ASSERT_EQ(erster.zeile(), u"bye");
      ASSERT_NE(erster.endeAbwarten(), -1);
    }
    uhr::zurücksetzen();
    gDatenordner = daten;
    gHeute = QDate(2026, 4, 15);
    gHeuteText = QStringLiteral("260415");
    gKennzeile.clear();
    Konfigdaten_lesen();
    Mitarbeiterdaten_lesen();
    const QList<std::pair<QString, QString>> leute = {{QStringLiteral("Team"), QString()},
                                                      {QStringLiteral("Admin Anna"), QStringLiteral("anna")},
                                                      {QStringLiteral("Beispiel Berta"), QStringLiteral("berta")},
                                                      {QStringLiteral("Xylo Xaver"), QStringLiteral("xaver")}};
    Mitarbeitertabelle_dimensionieren(static_cast<int>(leute.size()));
    for (int i = 1; i <= leute.size(); ++i) {
      const bool person = !leute[i - 1].second.isEmpty();
      gMitarbeiterNamen[i] = leute[i - 1].first;
      gBenutzerIDs[i] = leute[i - 1].second;
      gEintrittsdaten[i] = person ? QStringLiteral("000000") : QString();
      gAustrittsdaten[i] = person ? QStringLiteral("999999") : QString();
      gUrlaubsdaten[i] = person ? QStringLiteral("000,0:030,0:030,0:030,0:030,0") : QString();
      gSonderurlaubsanspruch[i] = person ? QStringLiteral("000,0") : QString();
    }
    ASSERT_TRUE(Mitarbeiterdaten_schreiben());
    Mitarbeiterdaten_lesen();
    gBenutzerstufe = 2;
  }

  QString basis, daten;
};

TEST_F(Mehrplatz, AnwendenHaeltAndereSpeicherungenAufWartetAufEinenMonatUndDieAnderenTragenUnterDemNeuenNamenEin) {
  ASSERT_NO_FATAL_FAILURE(datenordnerAnlegen());
  Arbeitsplatz anna(QStringLiteral("anna"), basis, QStringLiteral("150426"));
  ASSERT_EQ(anna.zeile(), u"ready 2604") << anna.fehlerausgabe();
  Arbeitsplatz berta(QStringLiteral("berta"), basis, QStringLiteral("150426"));
  ASSERT_EQ(berta.zeile(), u"ready 2604") << berta.fehlerausgabe();
  const int xaver = anna.zeileVon(QStringLiteral("xaver"));
  const int bertaZeile = berta.zeileVon(QStringLiteral("berta"));
  ASSERT_GT(xaver, 0);
  anna.eintragen(xaver, 20, 21, 1);
  berta.eintragen(bertaZeile, 22, 23, 1);
  const QString april = daten + QStringLiteral("2604 260415 Data.dat");
  ASSERT_EQ(Zeilen_von(april, QStringLiteral("xaver")).size(), 1);

  // Berta saves as soon as the program lock appears.
  berta.ok(QStringLiteral("mark %1 27 28").arg(bertaZeile));
  berta.senden(QStringLiteral("await ") + daten + QStringLiteral("Lockfile.txt"));
  ASSERT_EQ(berta.zeile(), u"waiting");
  berta.senden(QStringLiteral("button 1"));
  // Another workstation holds April's month lock for a few seconds.
  const QString sperre = daten + QStringLiteral("~2604.vklock");
  QProcess halter;
  halter.start(QStringLiteral("sh"),
               {QStringLiteral("-c"), QStringLiteral("echo fremd > \"$0\"; sleep 4; rm -f \"$0\""), sperre});
  QDeadlineTimer frist(10000);
  while (!QFile::exists(sperre) && !frist.hasExpired()) QThread::msleep(10);
  ASSERT_TRUE(QFile::exists(sperre));

  // The administrator renames xaver.
  frmMitarbeiter& f = öffnen();
  ASSERT_EQ(f.txtBenutzerID[4]->text(), QStringLiteral("xaver"));
  eingeben(f.txtBenutzerID[4], QStringLiteral("Xav2"));
  QTest::mouseClick(f.cmdAuswahl[6], Qt::LeftButton);
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_FALSE(QFile::exists(sperre)) << "the apply went on only after the lock was free";
  EXPECT_FALSE(QFile::exists(daten + QStringLiteral("Lockfile.txt")));
  halter.waitForFinished(kFristMs);

  // Berta's save was stopped by the program lock: her program ended, nothing was written.
  EXPECT_EQ(berta.zeile(), u"go");
  EXPECT_NE(berta.endeAbwarten(), -1) << "berta's program ended";
  EXPECT_EQ(berta.zeile(), QString()) << "no answer to the save";
  EXPECT_EQ(Zeilen_von(april, QStringLiteral("berta")), QStringList{QStringLiteral("A:berta:") + Codes({22, 23})});
  // Xaver's entry went over to the new name; no line was lost.
  EXPECT_TRUE(Zeilen_von(april, QStringLiteral("xaver")).isEmpty());
  EXPECT_EQ(Zeilen_von(april, QStringLiteral("Xav2")), QStringList{QStringLiteral("A:Xav2:") + Codes({20, 21})});

  // Anna, running since before the rename: her marking on the old table is not
  // entered under the old name; entered again, it goes under the new one.
  anna.ok(QStringLiteral("mark %1 29 30").arg(xaver));
  anna.ok(QStringLiteral("button 1"));
  anna.ok(QStringLiteral("prompts"));
  EXPECT_TRUE(Zeilen_von(april, QStringLiteral("xaver")).isEmpty());
  EXPECT_EQ(anna.zeileVon(QStringLiteral("Xav2")), xaver);
  anna.eintragen(xaver, 29, 30, 1);
  EXPECT_TRUE(Zeilen_von(april, QStringLiteral("xaver")).isEmpty());
  const QStringList xav2 = Zeilen_von(april, QStringLiteral("Xav2"));
  ASSERT_FALSE(xav2.isEmpty());
  EXPECT_EQ(xav2.last(), QStringLiteral("A:Xav2:") + Codes({20, 21, 29, 30}));
}

TEST_F(Mehrplatz, VonAnderemProzessGeschriebeneMitarbeiterdateiVerweigertDasAnwenden) {
  ASSERT_NO_FATAL_FAILURE(datenordnerAnlegen());
  frmMitarbeiter& f = öffnen();
  eingeben(f.txtName[3], QStringLiteral("Beispiel Bertha"));
  // Another process writes the file after the editor opened.
  const QString datei = daten + QStringLiteral("Mitarbeiterdaten.dat");
  QThread::msleep(20);
  ASSERT_EQ(
      QProcess::execute(QStringLiteral("sh"),
                        {QStringLiteral("-c"), QStringLiteral("cp \"$0\" \"$0.neu\" && mv \"$0.neu\" \"$0\""), datei}),
      0);
  const QByteArray vorher = lesen(datei);
  QTest::mouseClick(f.cmdAuswahl[6], Qt::LeftButton);
  EXPECT_EQ(skript->texte(), std::vector<QString>{QString::fromUtf16(kStammdatenGeändert)});
  EXPECT_EQ(lesen(datei), vorher);
  EXPECT_EQ(gMitarbeiterNamen[3], QStringLiteral("Beispiel Berta"));
}

}  // namespace
