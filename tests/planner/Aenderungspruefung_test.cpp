#include "planner/Aenderungspruefung.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "common/Testumgebung.h"
#include "planner/Monatsspeicher.h"
#include "startup/Dateizugriff.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsstand.h"

namespace {

const QString kKennzeile = QStringLiteral("Kennung");
QString A(const QString& benutzer, const QString& codes) {
  return QStringLiteral("A:") + benutzer + u':' + codes.leftJustified(31, u' ');
}

TEST(Tickplan, PruefungBeiJedemTickBisZehnDannJedemZehntenBisHundertDannJedemHundertstenDannVonVorn) {
  std::vector<int> erwartet;
  for (int z = 1; z <= 10; ++z) erwartet.push_back(z);
  for (int z = 20; z <= 100; z += 10) erwartet.push_back(z);
  for (int z = 200; z <= 1000; z += 100) erwartet.push_back(z);
  for (int z = 0; z <= 4; ++z) erwartet.push_back(z);  // wrapped after 1000

  std::vector<int> geprüft;
  int zähler = 0;
  for (int tick = 1; tick <= 1005; ++tick) {
    const Tickergebnis r = Tick_entscheiden(zähler, Tickzustand{});
    zähler = r.zähler;
    if (r.prüfen) geprüft.push_back(zähler);
  }
  EXPECT_EQ(geprüft, erwartet);
  EXPECT_EQ(zähler, 4);
}

TEST(Tickplan, Plantabelle) {
  const struct {
    int zähler;
    bool fällig;
  } fälle[] = {{0, true},   {1, true},    {10, true},   {11, false},  {15, false},  {19, false},  {20, true},
               {90, true},  {99, false},  {100, true},  {101, false}, {110, false}, {150, false}, {190, false},
               {200, true}, {250, false}, {990, false}, {999, false}, {1000, true}};
  for (const auto& f : fälle) EXPECT_EQ(Prüfung_fällig(f.zähler), f.fällig) << f.zähler;
}

TEST(Tickplan, JedeSperreHaeltDenTickOhneZaehlen) {
  const std::vector<std::pair<const char*, Tickzustand>> wächter{
      {"minimised", Tickzustand{true, false, false, false, false}},
      {"dialog or popup of ours", Tickzustand{false, true, false, false, false}},
      {"file open", Tickzustand{false, false, true, false, false}},
      {"busy", Tickzustand{false, false, false, true, false}},
      {"hourglass", Tickzustand{false, false, false, false, true}},
  };
  for (const auto& [name, z] : wächter) {
    const Tickergebnis r = Tick_entscheiden(5, z);
    EXPECT_EQ(r.zähler, 5) << name;
    EXPECT_FALSE(r.prüfen) << name;
  }
  const Tickergebnis frei = Tick_entscheiden(5, Tickzustand{});
  EXPECT_EQ(frei.zähler, 6);
  EXPECT_TRUE(frei.prüfen);
}

class AenderungspruefungTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    monatsbestand({u"A"_qs, u"B"_qs, u"C"_qs, u"D"_qs, u"E"_qs, u"Löschen"_qs},
                  {{u"Schmidt Eva"_qs, u"eschmidt"_qs}, {u"Müller Hans"_qs, u"HMueller"_qs}});
    gMonatsschlüssel = QStringLiteral("2603");
    fenster = std::make_unique<QWidget>();
    fenster->resize(400, 300);
    fenster->show();
  }
  void TearDown() override {
    prüfung.reset();
    fenster.reset();
    VelkoraTest::TearDown();
  }
  QString pfad(const QString& tag) const { return gDatenordner + QStringLiteral("2603 ") + tag + " Data.dat"; }
  void monat(const QString& tag, const QStringList& rest) {
    QStringList z{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("NoEx:NoEx")};
    z << rest;
    schreiben(pfad(tag), kodiert(z));
  }
  // The main window's polling, with a reload that counts and reads the month as the
  // display does.
  Änderungsprüfung& polling() {
    prüfung = std::make_unique<Änderungsprüfung>(fenster.get(), [this] {
      ++neuGeladen;
      Erfassungsdaten_lesen(gMonatsschlüssel);
    });
    return *prüfung;
  }
  // Another workstation: the month writer's helper program as a separate process.
  void andererArbeitsplatz(const QString& modus, const QString& heute) {
    QProcess p;
    p.setProgram(QStringLiteral(VELKORA_BIN_DIR) + QStringLiteral("/velkora_monatsdatei_helfer"));
    p.setArguments({gDatenordner, modus, QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"), heute});
    p.start();
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  }

  std::unique_ptr<QWidget> fenster;
  std::unique_ptr<Änderungsprüfung> prüfung;
  int neuGeladen = 0;
};

TEST_F(AenderungspruefungTest, ProgrammzustandFuerDenTick) {
  // Another window in front (here one of ours without modality; another application's
  // would do the same): the polling goes on.
  QWidget anderes;
  anderes.show();
  anderes.activateWindow();
  Tickzustand z = Tickzustand_lesen(fenster.get());
  EXPECT_FALSE(z.minimiert || z.dialogOffen || z.dateiOffen || z.beschäftigt || z.sanduhr);

  {
    QDialog dialog(fenster.get());
    dialog.setModal(true);
    dialog.show();
    EXPECT_TRUE(Tickzustand_lesen(fenster.get()).dialogOffen);
  }
  EXPECT_FALSE(Tickzustand_lesen(fenster.get()).dialogOffen);
  {
    QMenu menü;
    menü.addAction(QStringLiteral("Eintrag"));
    menü.popup(QPoint(10, 10));
    EXPECT_TRUE(Tickzustand_lesen(fenster.get()).dialogOffen);
    menü.close();
  }
  Sanduhr_ein();
  z = Tickzustand_lesen(fenster.get());
  EXPECT_TRUE(z.beschäftigt);
  EXPECT_TRUE(z.sanduhr);
  Sanduhr_aus();
  monat(QStringLiteral("260310"), {A("eschmidt", "1")});
  ASSERT_TRUE(FOpen(pfad(QStringLiteral("260310")), QStringLiteral("Input")));
  EXPECT_TRUE(Tickzustand_lesen(fenster.get()).dateiOffen);
  FClose();
  fenster->showMinimized();
  EXPECT_TRUE(Tickzustand_lesen(fenster.get()).minimiert);
}

TEST_F(AenderungspruefungTest, TickLaedtFremdeAenderungEinmalNachUndFolgtDemPlan) {
  monat(QStringLiteral("260310"), {A("eschmidt", "1")});
  Monatsstand_merken(gMonatsschlüssel);
  Änderungsprüfung& p = polling();
  EXPECT_EQ(p.tmrTimer1()->interval(), 15000);
  p.einschalten(true);
  EXPECT_TRUE(p.tmrTimer1()->isActive());
  p.einschalten(false);
  EXPECT_FALSE(p.tmrTimer1()->isActive());

  p.tmrTimer1_Timer();
  EXPECT_EQ(p.zähler(), 1);
  EXPECT_EQ(neuGeladen, 0);
  monat(QStringLiteral("260311"), {A("eschmidt", "12")});
  p.tmrTimer1_Timer();
  EXPECT_EQ(neuGeladen, 1);
  EXPECT_EQ(gMonatsEinträge.last(), A("eschmidt", "12").mid(2));
  p.tmrTimer1_Timer();
  EXPECT_EQ(neuGeladen, 1);

  // Past the fast rate the change waits for the next due tick ...
  for (int i = p.zähler(); i < 11; ++i) p.tmrTimer1_Timer();
  ASSERT_EQ(p.zähler(), 11);
  monat(QStringLiteral("260312"), {A("eschmidt", "123")});
  for (int i = 0; i < 8; ++i) p.tmrTimer1_Timer();
  EXPECT_EQ(neuGeladen, 1);
  p.tmrTimer1_Timer();  // 20
  EXPECT_EQ(neuGeladen, 2);

  // ... unless the user is back: the reset makes the next tick check.
  monat(QStringLiteral("260313"), {A("eschmidt", "1234")});
  p.tmrTimer1_Timer();  // 21
  EXPECT_EQ(neuGeladen, 2);
  p.zurücksetzen();
  p.tmrTimer1_Timer();
  EXPECT_EQ(neuGeladen, 3);

  // A dialog of ours over the main window: no polling, no counting.
  monat(QStringLiteral("260314"), {A("eschmidt", "12345")});
  {
    QDialog dialog(fenster.get());
    dialog.setModal(true);
    dialog.show();
    p.tmrTimer1_Timer();
    EXPECT_EQ(p.zähler(), 1);
    EXPECT_EQ(neuGeladen, 3);
  }
  p.tmrTimer1_Timer();
  EXPECT_EQ(neuGeladen, 4);
}

TEST_F(AenderungspruefungTest, EigenesSpeichernLaedtDenMonatNichtNach) {
  monat(QStringLiteral("260309"), {A("eschmidt", "1")});
  Monatsstand_merken(gMonatsschlüssel);
  polling();
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "2")));  // first save of the day: rewrite
  CheckErfassungsdaten();
  ASSERT_TRUE(Datensatz_speichern(A("HMueller", "3")));  // append
  CheckErfassungsdaten();
  Erfassungsdatei_defragmentieren();
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 0);
}

TEST_F(AenderungspruefungTest, FremdesSchreibenKurzVorDemEigenenSpeichernWirdTrotzdemNachgeladen) {
  monat(QStringLiteral("260310"), {A("eschmidt", "1")});
  Monatsstand_merken(gMonatsschlüssel);
  polling();
  // Another workstation appends between this one's last check and its save.
  andererArbeitsplatz(QStringLiteral("anhaengen"), QStringLiteral("260310"));
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "2")));
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 1);
  EXPECT_TRUE(gMonatsEinträge.contains(QStringLiteral("w0u0:") + QStringLiteral("1").leftJustified(31, u' ')));
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 1);
}

TEST_F(AenderungspruefungTest, ArbeitsplatzMitAnderemDatumWirdErkannt) {
  monat(QStringLiteral("260309"), {A("eschmidt", "1")});
  Monatsstand_merken(gMonatsschlüssel);
  polling();
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "2")));
  // A workstation still running under yesterday's date writes the month under its
  // day: today's version is gone, yesterday's is the newest.
  andererArbeitsplatz(QStringLiteral("tageswechsel"), QStringLiteral("260309"));
  ASSERT_EQ(QDir(gDatenordner).entryList({QStringLiteral("*Data.dat")}, QDir::Files),
            QStringList{QStringLiteral("2603 260309 Data.dat")});
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 1);
  // It appends again under its own name: same name, another size.
  andererArbeitsplatz(QStringLiteral("anhaengen"), QStringLiteral("260309"));
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 2);
  // It compacts: same name written afresh.
  andererArbeitsplatz(QStringLiteral("kompaktieren"), QStringLiteral("260309"));
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 3);
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 3);
}

TEST_F(AenderungspruefungTest, KeinNachladenOhneAngezeigtenMonatOderFenster) {
  monat(QStringLiteral("260310"), {A("eschmidt", "1")});
  CheckErfassungsdaten();  // no window registered: nothing, and the stamp stays unknown
  polling();
  gMonatsschlüssel.clear();
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 0);
  gMonatsschlüssel = QStringLiteral("2603");
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 1);
  prüfung.reset();  // the window's polling ends with it
  monat(QStringLiteral("260311"), {A("eschmidt", "1")});
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 1);
}

}  // namespace
