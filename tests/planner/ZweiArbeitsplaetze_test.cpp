// Two workstations on one data folder, end to end: two program processes (each with
// its own user name and temporary folder) are worked through their main windows as
// users would, and each sees the other's entries after its next poll. The month file
// is read back with the independent decoder.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <memory>

#include "common/Arbeitsplatzprozess.h"
#include "common/Testumgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {

QString Codes(std::initializer_list<std::pair<int, char>> tage) {
  QString c(31, u' ');
  for (const auto& [tag, zeichen] : tage) c[tag - 1] = QChar(zeichen);
  return c;
}

// The last entry line of a user in a month file as the decoder reads it.
QString LetzteZeile(const QStringList& zeilen, const QString& benutzer) {
  QString gefunden;
  for (const QString& z : zeilen)
    if (z.startsWith(QStringLiteral("A:") + benutzer + u':')) gefunden = z;
  return gefunden;
}

class ZweiArbeitsplaetzeTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    basis = ordner();
    Arbeitsplatzordner_anlegen(basis);
    daten = basis + QStringLiteral("Daten/Data/");
  }

  // A first start by the administrator the day before creates the data folder; then
  // the employee file gets its people.
  void datenordnerAnlegen() {
    Datenordner_durch_ersten_Start(basis);
    if (HasFatalFailure()) return;
    gDatenordner = daten;
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
  }

  QString basis, daten;
};

TEST_F(ZweiArbeitsplaetzeTest, JederSiehtDieEintraegeDesAnderenUndGleichzeitigeEintraegeBleibenBeide) {
  ASSERT_NO_FATAL_FAILURE(datenordnerAnlegen());
  const int urlaub = 1;  // the first default button, "U"

  Arbeitsplatz a(QStringLiteral("anna"), basis, QStringLiteral("150426"));
  ASSERT_EQ(a.zeile(), u"ready 2604") << a.fehlerausgabe();
  Arbeitsplatz b(QStringLiteral("berta"), basis, QStringLiteral("150426"));
  ASSERT_EQ(b.zeile(), u"ready 2604") << b.fehlerausgabe();
  const int xaver = a.zeileVon(QStringLiteral("xaver")), berta = a.zeileVon(QStringLiteral("berta"));
  ASSERT_GT(xaver, 0);
  ASSERT_GT(berta, 0);
  ASSERT_EQ(b.zeileVon(QStringLiteral("xaver")), xaver);

  // A, the administrator, enters a vacation for Xaver; B sees it after its next poll.
  a.eintragen(xaver, 20, 22, urlaub);
  EXPECT_EQ(a.zelle(xaver, 21), u"U");
  EXPECT_EQ(b.zelle(xaver, 21), u"-") << "not before the poll";
  EXPECT_EQ(b.ok(QStringLiteral("tick")), u"0") << "the reload speeds the polling up again";
  EXPECT_EQ(b.zelle(xaver, 20), u"U");
  EXPECT_EQ(b.zelle(xaver, 22), u"U");

  // B enters for herself; A sees it after its poll.
  b.eintragen(berta, 27, 28, urlaub);
  EXPECT_EQ(a.zelle(berta, 27), u"-");
  a.ok(QStringLiteral("tick"));
  EXPECT_EQ(a.zelle(berta, 27), u"U");
  EXPECT_EQ(a.zelle(berta, 28), u"U");
  EXPECT_EQ(a.zelle(xaver, 21), u"U") << "the own entry stays";

  // Both at the same moment into the shown month, then into May, where it is the first
  // save of the day for both (each would write the month afresh).
  const auto gleichzeitig = [&](const QString& signal, int knopf) {
    for (Arbeitsplatz* p : {&a, &b}) p->senden(QStringLiteral("await ") + signal);
    for (Arbeitsplatz* p : {&a, &b}) p->senden(QStringLiteral("button %1").arg(knopf));
    ASSERT_EQ(a.zeile(), u"waiting");
    ASSERT_EQ(b.zeile(), u"waiting");
    schreiben(signal, "los");
    for (Arbeitsplatz* p : {&a, &b}) {
      EXPECT_EQ(p->zeile(), u"go");
      EXPECT_EQ(p->zeile(), u"ok");
      EXPECT_EQ(p->ok(QStringLiteral("prompts")), QString());
    }
  };
  a.markieren(xaver, 23, 24);
  b.markieren(berta, 29, 30);
  ASSERT_NO_FATAL_FAILURE(gleichzeitig(basis + QStringLiteral("los1"), urlaub));
  a.ok(QStringLiteral("tick"));
  b.ok(QStringLiteral("tick"));
  for (Arbeitsplatz* p : {&a, &b}) {
    for (int tag : {20, 21, 22, 23, 24}) EXPECT_EQ(p->zelle(xaver, tag), u"U") << tag;
    for (int tag : {27, 28, 29, 30}) EXPECT_EQ(p->zelle(berta, tag), u"U") << tag;
  }
  const QStringList april = dekodierteZeilen(daten + QStringLiteral("2604 260415 Data.dat"));
  ASSERT_GE(april.size(), 3);
  EXPECT_EQ(april[0], u"[2604]");
  EXPECT_EQ(LetzteZeile(april, QStringLiteral("xaver")),
            QStringLiteral("A:xaver:") + Codes({{20, '1'}, {21, '1'}, {22, '1'}, {23, '1'}, {24, '1'}}));
  EXPECT_EQ(LetzteZeile(april, QStringLiteral("berta")),
            QStringLiteral("A:berta:") + Codes({{27, '1'}, {28, '1'}, {29, '1'}, {30, '1'}}));
  EXPECT_EQ(Dateiliste(daten, QStringLiteral("2604*Data.dat")), QStringList{QStringLiteral("2604 260415 Data.dat")})
      << "yesterday's version is gone";

  for (Arbeitsplatz* p : {&a, &b}) EXPECT_EQ(p->ok(QStringLiteral("month 5")), u"2605");
  a.markieren(xaver, 4, 5);
  b.markieren(berta, 6, 7);
  ASSERT_NO_FATAL_FAILURE(gleichzeitig(basis + QStringLiteral("los2"), urlaub));
  const QStringList mai = dekodierteZeilen(daten + QStringLiteral("2605 260415 Data.dat"));
  EXPECT_EQ(LetzteZeile(mai, QStringLiteral("xaver")), QStringLiteral("A:xaver:") + Codes({{4, '1'}, {5, '1'}}));
  EXPECT_EQ(LetzteZeile(mai, QStringLiteral("berta")), QStringLiteral("A:berta:") + Codes({{6, '1'}, {7, '1'}}));
  EXPECT_EQ(Dateiliste(daten, QStringLiteral("2605*Data.dat")), QStringList{QStringLiteral("2605 260415 Data.dat")});
  a.ok(QStringLiteral("tick"));
  b.ok(QStringLiteral("tick"));
  EXPECT_EQ(a.zelle(berta, 6), u"U");
  EXPECT_EQ(b.zelle(xaver, 4), u"U");

  EXPECT_EQ(a.beenden(), 0);
  EXPECT_EQ(b.beenden(), 0);
}

// Both enter for the same employee on different days at the same moment, each from
// the row as its grid shows it: the save lays only its own days over the row as the
// file holds it, so both entries stay, whichever comes second.
TEST_F(ZweiArbeitsplaetzeTest, GleichzeitigeEintraegeInEineZeileBleibenBeide) {
  ASSERT_NO_FATAL_FAILURE(datenordnerAnlegen());
  const int urlaub = 1;
  Arbeitsplatz a(QStringLiteral("anna"), basis, QStringLiteral("150426"));
  ASSERT_EQ(a.zeile(), u"ready 2604") << a.fehlerausgabe();
  Arbeitsplatz b(QStringLiteral("berta"), basis, QStringLiteral("150426"));
  ASSERT_EQ(b.zeile(), u"ready 2604") << b.fehlerausgabe();
  const int berta = a.zeileVon(QStringLiteral("berta"));
  ASSERT_GT(berta, 0);
  ASSERT_EQ(b.zeileVon(QStringLiteral("berta")), berta);

  std::initializer_list<std::pair<int, char>> leer{};
  QString erwartet = Codes(leer);
  // Working days (April 2026 starts on a Wednesday).
  const int tage[3][2] = {{16, 17}, {21, 22}, {28, 29}};
  for (int runde = 0; runde < 3; ++runde) {
    const int tagA = tage[runde][0], tagB = tage[runde][1];
    a.markieren(berta, tagA, tagA);
    b.markieren(berta, tagB, tagB);
    const QString signal = basis + QStringLiteral("zeile%1").arg(runde);
    for (Arbeitsplatz* p : {&a, &b}) p->senden(QStringLiteral("await ") + signal);
    for (Arbeitsplatz* p : {&a, &b}) p->senden(QStringLiteral("button %1").arg(urlaub));
    ASSERT_EQ(a.zeile(), u"waiting");
    ASSERT_EQ(b.zeile(), u"waiting");
    schreiben(signal, "los");
    for (Arbeitsplatz* p : {&a, &b}) {
      EXPECT_EQ(p->zeile(), u"go");
      EXPECT_EQ(p->zeile(), u"ok");
      EXPECT_EQ(p->ok(QStringLiteral("prompts")), QString());
    }
    erwartet[tagA - 1] = u'1';
    erwartet[tagB - 1] = u'1';
    EXPECT_EQ(LetzteZeile(dekodierteZeilen(daten + QStringLiteral("2604 260415 Data.dat")), QStringLiteral("berta")),
              QStringLiteral("A:berta:") + erwartet)
        << "round " << runde;
  }
  for (Arbeitsplatz* p : {&a, &b}) {
    p->ok(QStringLiteral("tick"));
    for (int tag : {16, 17, 21, 22, 28, 29}) EXPECT_EQ(p->zelle(berta, tag), u"U") << tag;
  }
  EXPECT_EQ(a.beenden(), 0);
  EXPECT_EQ(b.beenden(), 0);
}

// Undo at one workstation after the other entered for the same employee is refused and
// writes nothing; once the other has taken its own entry back, the row is as the first
// left it and its undo goes through.
TEST_F(ZweiArbeitsplaetzeTest, RueckgaengigNachFremdemEintragFuerDenselbenMitarbeiterWirdAbgelehntUndSchreibtNichts) {
  ASSERT_NO_FATAL_FAILURE(datenordnerAnlegen());
  const int urlaub = 1;
  Arbeitsplatz a(QStringLiteral("anna"), basis, QStringLiteral("150426"));
  ASSERT_EQ(a.zeile(), u"ready 2604") << a.fehlerausgabe();
  Arbeitsplatz b(QStringLiteral("berta"), basis, QStringLiteral("150426"));
  ASSERT_EQ(b.zeile(), u"ready 2604") << b.fehlerausgabe();
  const int xaver = a.zeileVon(QStringLiteral("xaver"));
  ASSERT_GT(xaver, 0);
  ASSERT_EQ(b.zeileVon(QStringLiteral("xaver")), xaver);

  a.eintragen(xaver, 20, 22, urlaub);
  b.eintragen(xaver, 24, 24, urlaub);
  const QString datei = daten + QStringLiteral("2604 260415 Data.dat");
  const QByteArray vorher = lesen(datei);
  const QStringList dateien = Dateiliste(daten, QStringLiteral("*"));
  ASSERT_EQ(LetzteZeile(dekodierteZeilen(datei), QStringLiteral("xaver")),
            QStringLiteral("A:xaver:") + Codes({{20, '1'}, {21, '1'}, {22, '1'}, {24, '1'}}));

  a.ok(QStringLiteral("undo"));
  EXPECT_EQ(a.ok(QStringLiteral("prompts")),
            QStringLiteral("Rückgängigmachen/Wiederherstellen nicht möglich. Für 'Xylo Xaver' wurden "
                           "zwischenzeitlich von jemand anderem Eintragungen vorgenommen."));
  EXPECT_EQ(lesen(datei), vorher) << "nothing written";
  EXPECT_EQ(Dateiliste(daten, QStringLiteral("*")), dateien);
  EXPECT_EQ(a.zelle(xaver, 24), u"U") << "the other's entry is shown now";
  EXPECT_EQ(a.zelle(xaver, 20), u"U");

  b.ok(QStringLiteral("undo"));
  EXPECT_EQ(b.ok(QStringLiteral("prompts")), QString());
  EXPECT_EQ(b.zelle(xaver, 24), u"-");
  a.ok(QStringLiteral("undo"));
  EXPECT_EQ(a.ok(QStringLiteral("prompts")), QString());
  EXPECT_EQ(a.zelle(xaver, 20), u"-");
  EXPECT_EQ(a.ok(QStringLiteral("beeps")), u"1") << "the refusal's message only";
  EXPECT_EQ(LetzteZeile(dekodierteZeilen(datei), QStringLiteral("xaver")), QStringLiteral("A:xaver:") + Codes({}));

  // One cancelling logbook line for each undo that was carried out.
  int stornos = 0;
  for (QDirIterator it(basis, {QStringLiteral("*Velkora.log")}, QDir::Files, QDirIterator::Subdirectories);
       it.hasNext();)
    for (const QString& z : dekodierteZeilen(it.next()))
      if (z.endsWith(u":Storno")) ++stornos;
  EXPECT_EQ(stornos, 2);

  EXPECT_EQ(a.beenden(), 0);
  EXPECT_EQ(b.beenden(), 0);
}

}  // namespace
