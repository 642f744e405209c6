// The year change at one workstation while another one, started in the old year, keeps
// running, end to end: two program processes on one data folder, worked through their
// main windows. The month files are read back with the independent decoder.
#include <QFile>
#include <QString>
#include <QStringList>

#include "common/Arbeitsplatzprozess.h"
#include "common/Testumgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Mitarbeiterdaten.h"

namespace {

class JahreswechselZweiArbeitsplaetzeTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    basis = ordner();
    Arbeitsplatzordner_anlegen(basis);
    daten = basis + QStringLiteral("Daten/Data/");
  }

  // A first start by the administrator in April 2026 creates the data folder (planning
  // year 2025); then the employee file gets its people.
  void datenordnerAnlegen() {
    Datenordner_durch_ersten_Start(basis);
    if (HasFatalFailure()) return;
    gDatenordner = daten;
    Mitarbeiterdaten_lesen();
    ASSERT_EQ(gPlanungsjahr, 2025);
    const QList<std::pair<QString, QString>> leute = {{QStringLiteral("Admin Anna"), QStringLiteral("anna")},
                                                      {QStringLiteral("Beispiel Berta"), QStringLiteral("berta")},
                                                      {QStringLiteral("Xylo Xaver"), QStringLiteral("xaver")}};
    Mitarbeitertabelle_dimensionieren(static_cast<int>(leute.size()));
    for (int i = 1; i <= leute.size(); ++i) {
      gMitarbeiterNamen[i] = leute[i - 1].first;
      gBenutzerIDs[i] = leute[i - 1].second;
      gEintrittsdaten[i] = QStringLiteral("000000");
      gAustrittsdaten[i] = QStringLiteral("999999");
      gUrlaubsdaten[i] = QStringLiteral("000,0:030,0:030,0:030,0:030,0");
      gSonderurlaubsanspruch[i] = QStringLiteral("000,0");
    }
    ASSERT_TRUE(Mitarbeiterdaten_schreiben());
  }

  // The newest version of a month, decoded; empty when the month has no file.
  QStringList monat(const QString& schlüssel) {
    const QStringList namen = Dateiliste(daten, schlüssel + QStringLiteral("*Data.dat"));
    return namen.isEmpty() ? QStringList() : dekodierteZeilen(daten + namen.last());
  }
  // Every line of every logbook that tells of an aborted year change.
  QStringList abbruchzeilen() {
    QStringList r;
    const QString logs = daten + QStringLiteral("Logs/");
    for (const QString& log : Dateiliste(logs, QStringLiteral("*Velkora.log")))
      for (const QString& z : dekodierteZeilen(logs + log))
        if (z.contains(QStringLiteral("abgebrochenem Jahreswechsel"))) r << z;
    return r;
  }

  QString basis, daten;
};

// A is started on 31 December 2026 (window 2025 to 2027) and keeps running; B starts on
// 2 January 2027 and moves the window to 2026 to 2028, deleting 2025. A's entry into
// December 2025 is refused with the message and makes no file, however often it is
// tried; its entries into December 2026 and January 2027 are saved. A later start logs
// no aborted year change.
TEST_F(JahreswechselZweiArbeitsplaetzeTest, FrueherGestarteterArbeitsplatzLegtEntferntenMonatNichtWiederAn) {
  ASSERT_NO_FATAL_FAILURE(datenordnerAnlegen());
  const QString abgelehnt = QStringLiteral(
      "Der Jahreswechsel wurde an einem anderen Arbeitsplatz durchgeführt. Die Monatsdatei 12.2025 gehört nicht mehr "
      "zum Planungszeitraum, die Eingabe wurde nicht gespeichert.  Bitte starten Sie das Programm neu.");

  Arbeitsplatz a(QStringLiteral("anna"), basis, QStringLiteral("311226"));
  ASSERT_EQ(a.zeile(), u"ready 2612") << a.fehlerausgabe();
  const int xaver = a.zeileVon(QStringLiteral("xaver"));
  ASSERT_GT(xaver, 0);
  {
    Arbeitsplatz b(QStringLiteral("berta"), basis, QStringLiteral("020127"));
    ASSERT_EQ(b.zeile(), u"ready 2701") << b.fehlerausgabe();
    EXPECT_EQ(b.beenden(), 0);
  }
  gDatenordner = daten;
  Mitarbeiterdaten_lesen();
  ASSERT_EQ(gPlanungsjahr, 2026);
  ASSERT_TRUE(Dateiliste(daten, QStringLiteral("25*Data.dat")).isEmpty());

  // December 2025, twice; the months both windows share; December 2025 again.
  const struct {
    int jahr;  // year tab, 1 = the planning year of A's start
    int monat;
    int tag;  // a working day
    const char* schlüssel;
    bool gespeichert;
  } fälle[] = {{1, 12, 3, "2512", false},
               {1, 12, 4, "2512", false},
               {2, 12, 3, "2612", true},
               {3, 1, 5, "2701", true},
               {1, 12, 9, "2512", false}};
  for (const auto& f : fälle) {
    const QString schlüssel = QString::fromLatin1(f.schlüssel);
    SCOPED_TRACE(f.schlüssel);
    a.ok(QStringLiteral("year %1").arg(f.jahr));
    ASSERT_EQ(a.ok(QStringLiteral("month %1").arg(f.monat)), schlüssel);
    a.markieren(xaver, f.tag, f.tag);
    a.ok(QStringLiteral("button 1"));
    const QString meldungen = a.ok(QStringLiteral("prompts"));
    const QStringList inhalt = monat(schlüssel);
    if (f.gespeichert) {
      EXPECT_FALSE(meldungen.contains(QStringLiteral("Planungszeitraum"))) << meldungen.toStdString();
      QString codes(31, u' ');
      codes[f.tag - 1] = u'1';
      EXPECT_TRUE(inhalt.contains(QStringLiteral("A:xaver:") + codes)) << inhalt.join(u'\n').toStdString();
    } else {
      EXPECT_TRUE(meldungen.contains(abgelehnt)) << meldungen.toStdString();
      EXPECT_TRUE(inhalt.isEmpty()) << "no file for " << f.schlüssel;
    }
  }
  EXPECT_EQ(a.beenden(), 0);

  // The next start of anybody.
  {
    Arbeitsplatz c(QStringLiteral("xaver"), basis, QStringLiteral("020127"));
    ASSERT_EQ(c.zeile(), u"ready 2701") << c.fehlerausgabe();
    EXPECT_EQ(c.ok(QStringLiteral("prompts")), QString());
    EXPECT_EQ(c.beenden(), 0);
  }
  EXPECT_TRUE(abbruchzeilen().isEmpty()) << abbruchzeilen().join(u'\n').toStdString();
  EXPECT_TRUE(Dateiliste(daten, QStringLiteral("25*Data.dat")).isEmpty());
  EXPECT_EQ(Dateiliste(daten, QStringLiteral("2612*Data.dat")).size(), 1);
  EXPECT_EQ(Dateiliste(daten, QStringLiteral("2701*Data.dat")).size(), 1);
}

}  // namespace
