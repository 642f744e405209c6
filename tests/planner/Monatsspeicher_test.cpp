#include "planner/Monatsspeicher.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include "common/Testumgebung.h"
#include "planner/Aenderungspruefung.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Monatsstand.h"

namespace {

QString A(const QString& benutzer, const QString& codes) {
  return QStringLiteral("A:") + benutzer + u':' + tage(codes);
}

class MonatsspeicherTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    monatsbestand({u"U"_qs, u"H"_qs, u"Löschen"_qs},
                  {{u"Schmidt Eva"_qs, u"eschmidt"_qs}, {u"Müller Hans"_qs, u"HMueller"_qs}});
    gMonatsschlüssel = QStringLiteral("2603");
    mAnmeldung = Monat_neu_laden_anmelden([this] { ++neuGeladen; });
  }
  void TearDown() override {
    Monat_neu_laden_abmelden(mAnmeldung);
    VelkoraTest::TearDown();
  }
  QString pfad(const QString& tag) const { return gDatenordner + QStringLiteral("2603 ") + tag + " Data.dat"; }
  void monat(const QString& tag, const QStringList& rest) {
    QStringList z{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("NoEx:NoEx")};
    z << rest;
    schreiben(pfad(tag), kodiert(z));
  }
  QStringList dateien() const { return QDir(gDatenordner).entryList(QDir::Files, QDir::Name); }
  QStringList meldungen() const {
    QStringList r;
    for (const QString& t : skript->texte()) r << t;
    return r;
  }
  // The administrator lines of this month's logbook, without date, time and user.
  QStringList adminzeilen() const {
    QStringList r;
    const QString marke = QStringLiteral("|tester|VelkoraAdmin|");
    for (const QString& z : dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log")))
      if (const qsizetype i = z.indexOf(marke); i >= 0) r << z.mid(i + marke.size());
    return r;
  }
  int neuGeladen = 0;

 private:
  int mAnmeldung = 0;
};

TEST_F(MonatsspeicherTest, ZurueckgehalteneZeilenBehaltenDenNeuestenEintragJeMitarbeiterUndJedenKommentar) {
  struct Fall {
    const char* name;
    QStringList zeilen;
    QStringList gehalten;
  };
  const QString k1 = QStringLiteral("K:eschmidt:01-02:Kur");
  const std::vector<Fall> fälle{
      {"one employee twice", {A("eschmidt", "1"), A("eschmidt", "11")}, {A("eschmidt", "11")}},
      {"user name in another case", {A("eschmidt", "1"), A("ESchmidt", "11")}, {A("ESchmidt", "11")}},
      {"comment between", {A("eschmidt", "1"), k1, A("eschmidt", "11")}, {A("eschmidt", "1"), k1, A("eschmidt", "11")}},
      {"two comments", {k1, k1}, {k1, k1}},
      {"other employee between",
       {A("eschmidt", "1"), A("HMueller", "2"), A("eschmidt", "11")},
       {A("eschmidt", "1"), A("HMueller", "2"), A("eschmidt", "11")}},
      {"a prefix of another user name",
       {A("eschmidt", "1"), A("eschmidt2", "2")},
       {A("eschmidt", "1"), A("eschmidt2", "2")}},
  };
  monat(QStringLiteral("260310"), {A("eschmidt", "2")});
  const QByteArray vorher = lesen(pfad(QStringLiteral("260310")));
  for (const Fall& f : fälle) {
    gUndoPuffer = QStringList{QStringLiteral("NoData")};
    gLogbuchPuffern = true;
    for (const QString& z : f.zeilen) EXPECT_TRUE(Datensatz_speichern(z)) << f.name;
    EXPECT_EQ(gUndoPuffer, f.gehalten) << f.name;
    EXPECT_EQ(lesen(pfad(QStringLiteral("260310"))), vorher) << f.name;  // nothing written while held
  }
  gLogbuchPuffern = false;
}

TEST_F(MonatsspeicherTest, LeerenSchreibtDieGehaltenenZeilenInReihenfolgeUndLeertDenPuffer) {
  monat(QStringLiteral("260310"), {A("eschmidt", "2")});
  gLogbuchPuffern = true;
  const QString k = QStringLiteral("K:HMueller:03-03:Arzt");
  for (const QString& z : {A("HMueller", "1"), A("HMueller", "111"), k, A("eschmidt", "22")})
    ASSERT_TRUE(Datensatz_speichern(z));
  ASSERT_TRUE(Datensatz_speichern(QString()));
  EXPECT_EQ(gUndoPuffer, QStringList{QStringLiteral("NoData")});
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))),
            (QStringList{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("NoEx:NoEx"), A("eschmidt", "2"),
                         A("HMueller", "111"), k, A("eschmidt", "22")}));

  // Nothing held back: the flush writes nothing, and above all does not rewrite.
  const QByteArray vorher = lesen(pfad(QStringLiteral("260310")));
  ASSERT_TRUE(Datensatz_speichern(QString()));
  EXPECT_EQ(lesen(pfad(QStringLiteral("260310"))), vorher);
  EXPECT_FALSE(dekodierteZeilen(pfad(QStringLiteral("260310"))).contains(QStringLiteral("NoData")));
  gLogbuchPuffern = false;
}

TEST_F(MonatsspeicherTest, GehalteneZeilenEinesMonatsOhneHeutigeVersionGehenInDasNeuschreiben) {
  monat(QStringLiteral("260309"), {A("eschmidt", "2"), A("eschmidt", "22")});
  gLogbuchPuffern = true;
  ASSERT_TRUE(Datensatz_speichern(A("HMueller", "1")));
  ASSERT_TRUE(Datensatz_speichern(QString()));
  gLogbuchPuffern = false;
  EXPECT_EQ(dateien(), QStringList{QStringLiteral("2603 260310 Data.dat")});
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))),
            (QStringList{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("NoEx:NoEx"), A("eschmidt", "22"),
                         A("HMueller", "1")}));
}

TEST_F(MonatsspeicherTest, BleibendeSpaeterDatierteVersionGibtDieDatumswarnung) {
  // Yesterday's version goes with the save; at that moment a workstation whose system
  // date is 15 March writes the month: its version stays the newest.
  monat(QStringLiteral("260309"), {A("eschmidt", "2")});
  const auto entfernen = gDateiEntfernen;
  gDateiEntfernen = [&](const QString& p) {
    const bool ok = entfernen(p);
    if (p.endsWith(QStringLiteral("2603 260309 Data.dat"))) monat(QStringLiteral("260315"), {A("HMueller", "1")});
    return ok;
  };
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "1")));
  EXPECT_EQ(meldungen(),
            QStringList{QStringLiteral(
                "Datumskorruption erkannt! Es ist oder war ein Rechner im Netzwerk mit Systemdatum 15.03.26 vorhanden. "
                "Ihr Eintrag kann nur temporär gespeichert werden. Stellen Sie sicher, dass das Systemdatum auf allen "
                "angeschlossenen Rechnern korrekt eingestellt ist und bitten Sie einen Administrator mit Vollzugriff "
                "auf den Datenordner diesen Eintrag für Sie vorzunehmen.")});
  EXPECT_EQ(adminzeilen(), QStringList{QStringLiteral(
                               "Datumskorruption erkannt! Es ist oder war ein Rechner im Netzwerk mit Systemdatum "
                               "15.03.26 vorhanden")});
  // The line is in today's version all the same.
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))).last(), A("eschmidt", "1"));
}

TEST_F(MonatsspeicherTest, VomSpeichernEntfernteSpaeterDatierteVersionGibtKeineWarnung) {
  // Its lines are carried into today's version by the rewrite, so nothing is lost.
  monat(QStringLiteral("260315"), {A("HMueller", "1")});
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "1")));
  EXPECT_TRUE(meldungen().isEmpty());
  EXPECT_EQ(dateien(), QStringList{QStringLiteral("2603 260310 Data.dat")});
  EXPECT_TRUE(dekodierteZeilen(pfad(QStringLiteral("260310"))).contains(A("HMueller", "1")));
}

TEST_F(MonatsspeicherTest, ProgrammsperreVerweigertDasSpeichernUndSchreibtNichts) {
  monat(QStringLiteral("260310"), {A("eschmidt", "2")});
  const QByteArray vorher = lesen(pfad(QStringLiteral("260310")));
  schreiben(gDatenordner + QStringLiteral("Lockfile.txt"), "Datensicherung läuft|admin\r\n");
  ERWARTE_PROGRAMMENDE(Datensatz_speichern(A("eschmidt", "1")));
  gLogbuchPuffern = true;
  gUndoPuffer = QStringList{A("HMueller", "1")};
  ERWARTE_PROGRAMMENDE(Datensatz_speichern(QString()));
  gLogbuchPuffern = false;
  EXPECT_EQ(lesen(pfad(QStringLiteral("260310"))), vorher);
  EXPECT_EQ(dateien(), (QStringList{QStringLiteral("2603 260310 Data.dat"), QStringLiteral("Lockfile.txt")}));
  ASSERT_FALSE(meldungen().isEmpty());
  EXPECT_TRUE(meldungen().first().startsWith(QStringLiteral("Programmaufruf gesperrt:")));

  // The user named in the lock goes on saving.
  gBenutzername = QStringLiteral("Admin");
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "1")));
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))).last(), A("eschmidt", "1"));
}

TEST_F(MonatsspeicherTest, LangsameFreigabeZeigtDieSanduhrBeimSpeichern) {
  // Each save rewrites the month from the version before and removes that one: the
  // pointer is looked at while the file is removed.
  bool sanduhr = false;
  int entfernt = 0;
  const auto entfernen = gDateiEntfernen;
  gDateiEntfernen = [&](const QString& p) {
    sanduhr = QGuiApplication::overrideCursor() != nullptr;
    ++entfernt;
    return entfernen(p);
  };
  monat(QStringLiteral("260309"), {A("eschmidt", "2")});
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "1")));
  ASSERT_EQ(entfernt, 1);
  EXPECT_FALSE(sanduhr);
  QFile::remove(pfad(QStringLiteral("260310")));
  monat(QStringLiteral("260309"), {A("eschmidt", "2")});
  gLangsamesNetz = true;
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "11")));
  ASSERT_EQ(entfernt, 2);
  EXPECT_TRUE(sanduhr);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MonatsspeicherTest, VerdichtenGehtWeiterWennSeinBackupMisslingt) {
  monat(QStringLiteral("260310"), {A("eschmidt", "1"), A("eschmidt", "2"), A("HMueller", "4"), A("eschmidt", "22")});
  QDir(gSicherungsordner).removeRecursively();  // no backup can be written
  Erfassungsdatei_defragmentieren();
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))),
            (QStringList{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("NoEx:NoEx"), A("eschmidt", "22"),
                         A("HMueller", "4")}));
  EXPECT_EQ(adminzeilen(), (QStringList{QStringLiteral("Backup vor Defragmentieren konnte nicht erstellt werden"),
                                        QStringLiteral("Erfassungsdatei für 03.2026 wurde defragmentiert")}));
  EXPECT_TRUE(meldungen().isEmpty());
}

TEST_F(MonatsspeicherTest, VerdichtenMachtNurFuerAdministratorenEinTagesbackup) {
  for (const int stufe : {2, 1, 0}) {
    Dateien_löschen(gSicherungsordner, QStringLiteral("*.dat"));
    gBenutzerstufe = stufe;
    monat(QStringLiteral("260310"), {A("eschmidt", "1"), A("eschmidt", "2")});
    Erfassungsdatei_defragmentieren();
    EXPECT_EQ(Dateiliste(gSicherungsordner, QStringLiteral("*T.dat")).size(), stufe > 0 ? 1 : 0) << stufe;
    EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))).size(), 4) << stufe;
  }
}

TEST_F(MonatsspeicherTest, VerdichtenWartetSolangeEinDateiproblemOffenIst) {
  monat(QStringLiteral("260310"), {A("eschmidt", "1"), A("eschmidt", "2")});
  const QByteArray vorher = lesen(pfad(QStringLiteral("260310")));
  gStörungAnzeigen = true;
  Erfassungsdatei_defragmentieren();
  EXPECT_EQ(lesen(pfad(QStringLiteral("260310"))), vorher);
  EXPECT_TRUE(Dateiliste(gSicherungsordner, QStringLiteral("*.dat")).isEmpty());
}

TEST_F(MonatsspeicherTest, VerweigertesSpeichernWirdNichtProtokolliertUndZeigtDenMonatWieErIst) {
  monat(QStringLiteral("260310"), {A("eschmidt", "1"), A("eschmidt", "2")});
  const QByteArray vorher = lesen(pfad(QStringLiteral("260310")));
  Monatsstand_merken(gMonatsschlüssel);
  schreiben(Monatssperre_Datei(QStringLiteral("2603")), "andererPC|4711|x");  // another workstation writes
  EXPECT_FALSE(Datensatz_speichern(A("eschmidt", "11")));
  Erfassungsdatei_defragmentieren();
  EXPECT_EQ(lesen(pfad(QStringLiteral("260310"))), vorher);
  EXPECT_FALSE(adminzeilen().contains(QStringLiteral("Erfassungsdatei für 03.2026 wurde defragmentiert")));
  // The grid shows an entry that was not saved: the next check redisplays the month.
  CheckErfassungsdaten();
  EXPECT_EQ(neuGeladen, 1);
}

// Another workstation, a separate process, saves day 3 of Eva's row after this one
// showed the row; this one then enters day 5 (alone, and held back in a multi-row run
// with a second change of the same row): every day stays.
TEST_F(MonatsspeicherTest, AenderungenEinerZeileVonZweiArbeitsplaetzenBleibenBeide) {
  monat(QStringLiteral("260310"), {A("eschmidt", "1"), A("HMueller", "2")});
  const auto anderer = [&](int tag, int code) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELKORA_BENUTZER"), QStringLiteral("eschmidt"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VELKORA_BIN_DIR "/velkora_monatsdatei_helfer"),
            {gDatenordner, QStringLiteral("tag"), QString::number(tag), QStringLiteral("1"), QString::number(code),
             QStringLiteral("260310")});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  };
  const auto eva = [&] {
    QString r;
    for (const QString& z : dekodierteZeilen(pfad(QStringLiteral("260310"))))
      if (z.startsWith(QStringLiteral("A:eschmidt:"))) r = z;
    return r;
  };
  ASSERT_NO_FATAL_FAILURE(anderer(3, 2));
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "1   1"), A("eschmidt", "1")));
  EXPECT_EQ(eva(), A("eschmidt", "1 2 1"));

  ASSERT_NO_FATAL_FAILURE(anderer(7, 2));
  gLogbuchPuffern = true;
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "1   1   1"), A("eschmidt", "1   1")));
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "1   1   1 1"), A("eschmidt", "1   1   1")));
  ASSERT_TRUE(Datensatz_speichern(QString()));
  gLogbuchPuffern = false;
  EXPECT_EQ(eva(), A("eschmidt", "1 2 1 2 1 1"));
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))).filter(QStringLiteral("HMueller")),
            QStringList{A("HMueller", "2")});

  // The same change as the days it sets.
  ASSERT_TRUE(Tage_speichern(QStringLiteral("eschmidt"), {{1, u' '}, {2, u'2'}}));
  EXPECT_EQ(eva(), A("eschmidt", " 22 1 2 1 1"));
  // A line alone is written whole.
  ASSERT_TRUE(Datensatz_speichern(A("eschmidt", "1")));
  EXPECT_EQ(eva(), A("eschmidt", "1"));
  EXPECT_TRUE(meldungen().isEmpty());
}

}  // namespace
