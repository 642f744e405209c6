#include "store/Erfassungsdaten.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <vector>

#include "common/Testnamen.h"
#include "common/Testumgebung.h"
#include "platform/Programmende.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"

namespace {

class ErfassungsdatenTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    uhr.datum = QDate(2026, 3, 15);
    // Five code buttons and the erase button: "1".."5" are codes, "7" the
    // non-working-day mark, "6" (the erase button's own) never stands in a file.
    monatsbestand({u"Urlaub"_qs, u"Halb"_qs, u"Krank"_qs, u"Dienst"_qs, u"Sonder"_qs, u"Löschen"_qs},
                  {{u"Verwaltung"_qs, QString()},
                   {u"Müller Hans"_qs, u"HMueller"_qs},
                   {u"Schmidt Eva"_qs, u"eschmidt"_qs},
                   {u"Tester Tom"_qs, u"tester"_qs}});
  }

  static QString name(const QString& stamm) { return stamm + QStringLiteral(" Data.dat"); }
  void monat(const QString& stamm, const QStringList& rest, const QString& ausnahmen = QStringLiteral("NoEx:NoEx")) {
    QStringList z{u'[' + stamm.left(4) + u']', kKennzeile, ausnahmen};
    z << rest;
    schreiben(gDatenordner + name(stamm), kodiert(z));
  }
  // A file for every month of the window from `abIndex` on.
  void alleMonate(int abIndex = 1) {
    for (int i = abIndex; i <= 36; ++i) monat(Monatsschlüssel_zu_Index(i) + QStringLiteral(" 250101"), {});
  }
  QStringList dateien() const {
    return QDir(gDatenordner).entryList({QStringLiteral("*Data.dat")}, QDir::Files, QDir::Name);
  }
  QStringList logzeilen() const {
    QStringList r;
    for (const QString& n : QDir(gLogordner).entryList({QStringLiteral("*.log")}, QDir::Files))
      r << dekodierteZeilen(gLogordner + n);
    return r;
  }
  QStringList meldungen() const {
    QStringList r;
    for (const QString& t : skript->texte()) r << t;
    return r;
  }
  // The month lock of March 2025 held by another workstation (it never lets go).
  void fremdeSperre() { schreiben(Monatssperre_Datei(QStringLiteral("2503")), Dateisperre_Kennung(::getppid())); }
  void fBackupVonHeute() { schreiben(gSicherungsordner + gHeuteText + QStringLiteral(" Backup F.dat"), "x"); }
};

TEST_F(ErfassungsdatenTest, NeuesteVersionWirdGelesenUndDieStartpruefungLoeschtAeltere) {
  alleMonate();
  monat(QStringLiteral("2503 250301"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1"))});
  monat(QStringLiteral("2503 250317"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("22"))});
  EXPECT_EQ(Aktuelle_Erfassungsdatei(QStringLiteral("2503")).value().stamm(), u"2503 250317");
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  EXPECT_EQ(gMonatsEinträge, (QStringList{QString(), QStringLiteral("HMueller:") + tage(QStringLiteral("22"))}));

  Erfassungsdateien_checken();
  EXPECT_FALSE(QFile::exists(gDatenordner + name(QStringLiteral("2503 250301"))));
  EXPECT_FALSE(QFile::exists(gDatenordner + name(QStringLiteral("2503 250101"))));
  EXPECT_TRUE(QFile::exists(gDatenordner + name(QStringLiteral("2503 250317"))));
  EXPECT_EQ(dateien().size(), 36);
  EXPECT_TRUE(meldungen().isEmpty());
}

TEST_F(ErfassungsdatenTest, StartpruefungLoeschtJedenNamenDesMonatsmustersAusserDerNeuestenVersion) {
  alleMonate();
  monat(QStringLiteral("2503 250317"), {});
  // Name in the folder, and whether it stays: whatever the month's pattern
  // "2503*Data.dat" matches (letter case aside) goes, but the newest version.
  const std::vector<std::pair<QString, bool>> fälle = {
      {u"2503 250317 Data.dat"_qs, true},     {u"2503 250301 data.DAT"_qs, false}, {u"2503Data.dat"_qs, false},
      {u"25031 Data.dat"_qs, false},          {u"2503 Ärger Data.dat"_qs, false},  {u"2503 ÄRGER DATA.DAT"_qs, false},
      {u"2503 250301 Data.dat.alt"_qs, true}, {u"x2503 250301 Data.dat"_qs, true}, {u"2503 250301 Daten.dat"_qs, true},
      {u"2504 250101 Data.dat"_qs, true},
  };
  for (const auto& [datei, bleibt] : fälle)
    if (!QFile::exists(gDatenordner + datei)) schreiben(gDatenordner + datei, kodiert({QStringLiteral("[2503]")}));
  Erfassungsdateien_checken();
  for (const auto& [datei, bleibt] : fälle)
    EXPECT_EQ(QFile::exists(gDatenordner + datei), bleibt) << datei.toStdString();
}

TEST_F(ErfassungsdatenTest, VersionenWerdenInJederSchreibweiseGefunden) {
  monat(QStringLiteral("2503 250301"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1"))});
  const QStringList z{QStringLiteral("[2503]"), kKennzeile, QStringLiteral("NoEx:NoEx"),
                      QStringLiteral("A:HMueller:") + tage(QStringLiteral("3"))};
  schreiben(gDatenordner + QStringLiteral("2503 250302 DATA.DAT"), kodiert(z));
  // A stray file the pattern matches is no version.
  schreiben(gDatenordner + QStringLiteral("2503 kopie Data.dat"), kodiert(z));
  EXPECT_EQ(Aktuelle_Erfassungsdatei(QStringLiteral("2503")).value().stamm(), u"2503 250302");
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  EXPECT_EQ(gMonatsEinträge[1], QStringLiteral("HMueller:") + tage(QStringLiteral("3")));
  EXPECT_TRUE(Alte_Erfassungsdateien_löschen(Monatsversion::aus_Stamm(u"2503 250302").value()));
  EXPECT_EQ(dateien(), QStringList{QStringLiteral("2503 250302 DATA.DAT")});
}

TEST_F(ErfassungsdatenTest, SpaetereZeileGewinntInJederSchreibweise) {
  monat(QStringLiteral("2503 250301"),
        {QStringLiteral("A:hmueller:") + tage(QStringLiteral("1")), QStringLiteral("K:HMUELLER:01-01:Hallo"),
         QStringLiteral("A:HMUELLER:") + tage(QStringLiteral(" 3"))});
  Alle_Erfassungsdaten_einlesen(false);
  EXPECT_EQ(gErfassungsdaten(2, 3), tage(QStringLiteral(" 3")));
  EXPECT_TRUE(gErfassungsdaten(1, 3).isEmpty());  // heading row
  EXPECT_TRUE(gErfassungsdaten(3, 3).isEmpty());
  // The full read leaves the last window month in the month lists, not this one.
  EXPECT_EQ(gMonatsKommentare, (QStringList{QString(), QStringLiteral("NoComments")}));
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  EXPECT_EQ(gMonatsKommentare, (QStringList{QString(), QStringLiteral("HMUELLER:01-01:Hallo")}));
}

TEST_F(ErfassungsdatenTest, BenutzerMitUmlautenInJederSchreibweise) {
  // The user name is compared without regard to case, with umlauts, "ß" and the code
  // page's letters beyond Latin-1 as well; a name spelt without its umlauts is another.
  monatsbestand({u"Urlaub"_qs, u"Halb"_qs, u"Löschen"_qs}, {{u"Bär Jörg"_qs, u"Jörg.Bär"_qs},
                                                            {u"Weiß Öznur"_qs, u"öznur.weiß"_qs},
                                                            {u"Šima Ana"_qs, u"ŠIMA"_qs},
                                                            {u"Bar Jorg"_qs, u"jorg.bar"_qs}});
  // Through the program's own encoder: "š" is no Latin-1 character.
  schreiben(gDatenordner + name(QStringLiteral("2503 250301")),
            kodierteDatei({QStringLiteral("[2503]"), kKennzeile, QStringLiteral("NoEx:NoEx"),
                           QStringLiteral("A:jörg.bär:") + tage(QStringLiteral("1")),
                           QStringLiteral("A:JÖRG.BÄR:") + tage(QStringLiteral(" 2")),
                           QStringLiteral("A:ÖZNUR.WEIß:") + tage(QStringLiteral("  1")),
                           QStringLiteral("A:šima:") + tage(QStringLiteral("   2")),
                           QStringLiteral("A:Jorg.Bar:") + tage(QStringLiteral("    1"))}));
  Alle_Erfassungsdaten_einlesen(false);
  EXPECT_EQ(gErfassungsdaten(1, 3), tage(QStringLiteral(" 2")));
  EXPECT_EQ(gErfassungsdaten(2, 3), tage(QStringLiteral("  1")));
  EXPECT_EQ(gErfassungsdaten(3, 3), tage(QStringLiteral("   2")));
  EXPECT_EQ(gErfassungsdaten(4, 3), tage(QStringLiteral("    1")));
}

TEST_F(ErfassungsdatenTest, GelesenesBleibtVomNaechstenLesenUnberuehrt) {
  // What a read leaves in the month lists and the day table is its own: further reads,
  // of months of the same size, change none of it. The full read leaves the last
  // window month in the month lists.
  monat(QStringLiteral("2503 250301"),
        {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1")), QStringLiteral("K:HMueller:01-01:erste")});
  monat(QStringLiteral("2504 250301"),
        {QStringLiteral("A:HMueller:") + tage(QStringLiteral("2")), QStringLiteral("K:HMueller:01-01:zweit")});
  monat(QStringLiteral("2712 250301"), {QStringLiteral("A:tester:") + tage(QStringLiteral("3"))});
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  const QStringList einträge = gMonatsEinträge;
  const QStringList kommentare = gMonatsKommentare;
  Alle_Erfassungsdaten_einlesen(false);
  EXPECT_EQ(gMonatsEinträge, (QStringList{QString(), QStringLiteral("tester:") + tage(QStringLiteral("3"))}));
  EXPECT_EQ(gMonatsKommentare, (QStringList{QString(), QStringLiteral("NoComments")}));
  const QString zelle = gErfassungsdaten(2, 3);
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2504")));
  monat(QStringLiteral("2503 250302"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("4"))});
  Alle_Erfassungsdaten_einlesen(false);
  EXPECT_EQ(einträge, (QStringList{QString(), QStringLiteral("HMueller:") + tage(QStringLiteral("1"))}));
  EXPECT_EQ(kommentare, (QStringList{QString(), QStringLiteral("HMueller:01-01:erste")}));
  EXPECT_EQ(zelle, tage(QStringLiteral("1")));
  EXPECT_EQ(gErfassungsdaten(2, 3), tage(QStringLiteral("4")));
  EXPECT_EQ(gErfassungsdaten(2, 4), tage(QStringLiteral("2")));
}

struct SchlechteZeile {
  const char* name;
  QString zeile;
  bool bleibt;       // the line is still in the file afterwards
  QString gelesen;   // the entry as read ("" = no entry read from it)
  QString logzeile;  // the end of the administrator line ("" = none)
};

class SchlechteZeilen : public ErfassungsdatenTest, public ::testing::WithParamInterface<SchlechteZeile> {};

TEST_P(SchlechteZeilen, BehandeltWieDiePruefungSagt) {
  const SchlechteZeile& f = GetParam();
  fBackupVonHeute();
  const QString gut = QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1"));
  monat(QStringLiteral("2503 250301"), {gut, f.zeile});
  const QByteArray vorher = lesen(gDatenordner + name(QStringLiteral("2503 250301")));

  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  QStringList erwartet{QString(), gut.mid(2)};
  if (!f.gelesen.isEmpty()) erwartet << f.gelesen;
  EXPECT_EQ(gMonatsEinträge, erwartet);

  const QStringList datei = dekodierteZeilen(gDatenordner + name(QStringLiteral("2503 250301")));
  EXPECT_EQ(datei.contains(f.zeile), f.bleibt);
  EXPECT_TRUE(datei.contains(gut));
  const QStringList log = logzeilen();
  if (f.logzeile.isEmpty()) {
    EXPECT_EQ(lesen(gDatenordner + name(QStringLiteral("2503 250301"))), vorher);
    EXPECT_TRUE(log.isEmpty()) << qPrintable(log.join(u'\n'));
    EXPECT_TRUE(meldungen().isEmpty());
  } else {
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].endsWith(f.logzeile)) << qPrintable(log[0]);
    EXPECT_EQ(meldungen(),
              QStringList{QStringLiteral(
                  "Fehlerhafte Daten erkannt in Monat 03.2025!\r\rBitte Administrationslogbuch beachten!")});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tabelle, SchlechteZeilen,
    ::testing::Values(SchlechteZeile{"KurzerEintrag",
                                     QStringLiteral("A:HMueller:") + QString(30, u'1'),
                                     false,
                                     {},
                                     QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2025 bei HMueller")},
                      SchlechteZeile{"EinstelligerTag",
                                     QStringLiteral("K:HMueller:3-15:Kur"),
                                     false,
                                     {},
                                     QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2025 bei HMueller")},
                      SchlechteZeile{"TagNullBis99",
                                     QStringLiteral("K:HMueller:00-99:Kur"),
                                     false,
                                     {},
                                     QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2025 bei HMueller")},
                      SchlechteZeile{"ErsterNachLetztem",
                                     QStringLiteral("K:HMueller:15-03:Kur"),
                                     false,
                                     {},
                                     QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2025 bei HMueller")},
                      SchlechteZeile{"OhnePraefix",
                                     QStringLiteral("X:HMueller:1"),
                                     false,
                                     {},
                                     QStringLiteral("|VelkoraAdmin|Fehlerhafte Daten erkannt in Monat 03.2025")},
                      SchlechteZeile{"KeinDoppelpunktNachDemBenutzer",
                                     QStringLiteral("A:HMueller"),
                                     false,
                                     {},
                                     QStringLiteral("|VelkoraAdmin|Fehlerhafte Daten erkannt in Monat 03.2025")},
                      // "6" is the erase button's own character, "Q" a button that does not exist.
                      SchlechteZeile{"KuerzelJenseitsDerSchaltflaechen",
                                     QStringLiteral("A:HMueller:1Q67") + QString(27, u' '),
                                     true,
                                     QStringLiteral("HMueller:1  7") + QString(27, u' '),
                                     {}},
                      SchlechteZeile{
                          "GoodComment", QStringLiteral("K:HMueller:03-15:Kur: mit Doppelpunkt"), true, {}, {}}),
    NachName{});

TEST_F(ErfassungsdatenTest, UnbeendeteLetzteZeileWirdOhneReparaturIgnoriert) {
  const QString stamm = QStringLiteral("2503 250301");
  monat(stamm, {QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1"))});
  QByteArray halb = kodiert({QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))});
  halb.chop(10);  // another workstation's append caught in flight: it holds the month lock
  schreiben(gDatenordner + name(stamm), lesen(gDatenordner + name(stamm)) + halb);
  fremdeSperre();
  const QByteArray vorher = lesen(gDatenordner + name(stamm));

  for (int stufe : {0, 2}) {
    gBenutzerstufe = stufe;
    uhr.schlafprotokoll.clear();
    ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
    EXPECT_EQ(gMonatsEinträge, (QStringList{QString(), QStringLiteral("eschmidt:") + tage(QStringLiteral("1"))}));
    // The lock is tried once, not waited for: held, the line is an append in flight.
    EXPECT_TRUE(uhr.schlafprotokoll.empty());
  }
  EXPECT_EQ(lesen(gDatenordner + name(stamm)), vorher);
  EXPECT_TRUE(logzeilen().isEmpty());
  EXPECT_TRUE(meldungen().isEmpty());
}

// With no one appending (the month lock is free), a last line without its line end was
// cut off for good: dropped and named as a damaged line is, the file written without
// it, and the next read finds nothing more to say.
TEST_F(ErfassungsdatenTest, AbgeschnitteneLetzteZeileWirdWieEineSchlechteZeileGemeldet) {
  const QString stamm = QStringLiteral("2503 250301");
  const QStringList gut{QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1")),
                        QStringLiteral("K:eschmidt:01-01:Kur"),
                        QStringLiteral("A:tester:") + tage(QStringLiteral("22"))};
  const QString text = QStringLiteral("|VelkoraAdmin|Fehlerhafte Daten erkannt in Monat 03.2025");
  const struct {
    const char* was;
    QString zeile;
    int bytes;  // of the encoded line (its key first) that stand in the file
    QString logzeile;
  } fälle[] = {
      {"in den Tagen", QStringLiteral("A:HMueller:") + tage(QStringLiteral("2")), 20,
       text + QStringLiteral(" bei HMueller")},
      {"im Benutzernamen", QStringLiteral("A:HMueller:") + tage(QStringLiteral("2")), 6, text},
      {"eine Kommentarzeile ohne Tagesbereich", QStringLiteral("K:HMueller:02-02:Dienstreise"), 16,
       text + QStringLiteral(" bei HMueller")},
  };
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.was);
    for (const QString& o : {gLogordner, gSicherungsordner})
      for (const QString& n : QDir(o).entryList(QDir::Files)) QFile::remove(o + n);
    skript = &dialoge::skript();
    gBenutzerstufe = 2;
    monat(stamm, gut);
    const QByteArray zeile = kodiert({f.zeile});
    ASSERT_LE(f.bytes, zeile.size() - 2);
    schreiben(gDatenordner + name(stamm), lesen(gDatenordner + name(stamm)) + zeile.left(f.bytes));

    ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
    EXPECT_EQ(gMonatsEinträge, (QStringList{QString(), gut[0].mid(2), gut[2].mid(2)}));
    EXPECT_EQ(dekodierteZeilen(gDatenordner + name(stamm)),
              (QStringList{QStringLiteral("[2503]"), kKennzeile, QStringLiteral("NoEx:NoEx")} + gut));
    EXPECT_TRUE(lesen(gDatenordner + name(stamm)).endsWith("\r\n"));
    const QStringList log = logzeilen();
    ASSERT_EQ(log.size(), 1) << qPrintable(log.join(u'\n'));
    EXPECT_TRUE(log[0].endsWith(f.logzeile)) << qPrintable(log[0]);
    EXPECT_EQ(meldungen(),
              QStringList{QStringLiteral(
                  "Fehlerhafte Daten erkannt in Monat 03.2025!\r\rBitte Administrationslogbuch beachten!")});
    // The repair's backup holds the month as it was, cut line and all.
    EXPECT_EQ(Dateiliste(gSicherungsordner, gHeuteText + QStringLiteral("*F.dat")).size(), 1);

    ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
    EXPECT_EQ(logzeilen().size(), 1);
    EXPECT_EQ(meldungen().size(), 1);
  }

  // An employee's read ends with the administrators' names, as for a damaged line, and
  // leaves the file as it is.
  gBenutzerstufe = 0;
  gAdministratoren = QStringList{QStringLiteral("A:Chef Carl:cchef")};
  skript = &dialoge::skript();
  monat(stamm, gut);
  schreiben(gDatenordner + name(stamm), lesen(gDatenordner + name(stamm)) + kodiert({gut[0]}).left(9));
  const QByteArray vorher = lesen(gDatenordner + name(stamm));
  ERWARTE_PROGRAMMENDE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  EXPECT_EQ(lesen(gDatenordner + name(stamm)), vorher);
  ASSERT_EQ(meldungen().size(), 1);
  EXPECT_TRUE(
      meldungen()[0].startsWith(QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2025!\r\r"
                                               "Informieren Sie einen der folgenden Administratoren: ")));
}

// A last line that lost only its CR LF is a whole line of the month: read like every
// other, for an employee as for an administrator, with no lock waited for, nothing
// logged and nothing written.
TEST_F(ErfassungsdatenTest, GanzeLetzteZeileOhneZeilenendeWirdGelesen) {
  const QString stamm = QStringLiteral("2503 250301");
  const QStringList gut{QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1"))};
  const struct {
    const char* was;
    QString zeile;
    QStringList einträge, kommentare;  // as read
  } fälle[] = {
      {"Eintragszeile",
       QStringLiteral("A:HMueller:") + tage(QStringLiteral("2")),
       {QString(), gut[0].mid(2), QStringLiteral("HMueller:") + tage(QStringLiteral("2"))},
       {QString(), QStringLiteral("NoComments")}},
      {"Kommentarzeile",
       QStringLiteral("K:eschmidt:01-01:Kur in Bad Ems"),
       {QString(), gut[0].mid(2)},
       {QString(), QStringLiteral("eschmidt:01-01:Kur in Bad Ems")}},
      // Cut inside its text, a comment line cannot be told from a whole one.
      {"Kommentarzeile, im Text abgeschnitten",
       QStringLiteral("K:eschmidt:01-01:Kur in B"),
       {QString(), gut[0].mid(2)},
       {QString(), QStringLiteral("eschmidt:01-01:Kur in B")}},
  };
  for (const auto& f : fälle) {
    for (const int stufe : {0, 2}) {
      SCOPED_TRACE(std::string(f.was) + (stufe == 0 ? ", Mitarbeiter" : ", Administrator"));
      skript = &dialoge::skript();
      gBenutzerstufe = stufe;
      monat(stamm, gut);
      schreiben(gDatenordner + name(stamm), lesen(gDatenordner + name(stamm)) + kodiert({f.zeile}).chopped(2));
      // Held by another workstation: a whole line needs no look inside the lock.
      fremdeSperre();
      const QByteArray vorher = lesen(gDatenordner + name(stamm));
      uhr.schlafprotokoll.clear();
      ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
      EXPECT_TRUE(uhr.schlafprotokoll.empty()) << "the lock is not waited for";
      EXPECT_EQ(gMonatsEinträge, f.einträge);
      EXPECT_EQ(gMonatsKommentare, f.kommentare);
      EXPECT_EQ(lesen(gDatenordner + name(stamm)), vorher);
      EXPECT_TRUE(logzeilen().isEmpty());
      EXPECT_TRUE(meldungen().isEmpty());
      QFile::remove(Monatssperre_Datei(QStringLiteral("2503")));
    }
  }
}

TEST_F(ErfassungsdatenTest, JedeArtVonZeilenendeGibtDieselbenZeilen) {
  const QString stamm = QStringLiteral("2503 250301");
  const auto roh = [](const QString& t) { return kodiert({t}).chopped(2); };
  const QByteArray kopf = roh(QStringLiteral("[2503]"));
  const QByteArray kennung = roh(kKennzeile);
  const QByteArray ausnahmen = roh(QStringLiteral("NoEx:NoEx"));
  const QString a1 = QStringLiteral("HMueller:") + tage(QStringLiteral("1"));
  const QString a2 = QStringLiteral("eschmidt:") + tage(QStringLiteral(" 2"));
  const QByteArray z1 = roh(u"A:"_qs + a1);
  const QByteArray z2 = roh(u"A:"_qs + a2);
  struct Fall {
    const char* name;
    QByteArray inhalt;
    QStringList einträge;
  };
  const std::vector<Fall> fälle = {
      {"CR LF", kopf + "\r\n" + kennung + "\r\n" + ausnahmen + "\r\n" + z1 + "\r\n" + z2 + "\r\n", {a1, a2}},
      {"LF", kopf + "\n" + kennung + "\n" + ausnahmen + "\n" + z1 + "\n" + z2 + "\n", {a1, a2}},
      {"CR", kopf + "\r" + kennung + "\r" + ausnahmen + "\r" + z1 + "\r" + z2, {a1, a2}},
      {"gemischt", kopf + "\n" + kennung + "\r" + ausnahmen + "\r\n" + z1 + "\r" + z2 + "\n", {a1, a2}},
      // A whole last line without its end is a line like any other.
      {"letzte offen", kopf + "\r\n" + kennung + "\r\n" + ausnahmen + "\r\n" + z1 + "\r\n" + z2, {a1, a2}},
      {"erste Eintragszeile offen", kopf + "\r\n" + kennung + "\r\n" + ausnahmen + "\r\n" + z1, {a1}},
      // One cut short after the three first lines is an append in flight.
      {"letzte abgeschnitten",
       kopf + "\r\n" + kennung + "\r\n" + ausnahmen + "\r\n" + z1 + "\r\n" + z2.chopped(4),
       {a1}},
      {"CR, letzte abgeschnitten", kopf + "\r" + kennung + "\r" + ausnahmen + "\r" + z1 + "\r" + z2.chopped(4), {a1}},
      {"erste Eintragszeile abgeschnitten", kopf + "\r\n" + kennung + "\r\n" + ausnahmen + "\r\n" + z1.chopped(4), {}},
      // Before that it is one of the three, read as it stands.
      {"Ausnahmezeile offen", kopf + "\r\n" + kennung + "\r\n" + ausnahmen, {}},
  };
  // Another workstation appends: a last line without its end is its line in flight.
  fremdeSperre();
  for (const Fall& f : fälle) {
    schreiben(gDatenordner + name(stamm), f.inhalt);
    EXPECT_EQ(Erfassungsdaten_lesen(QStringLiteral("2503")), !f.einträge.isEmpty()) << f.name;
    EXPECT_EQ(gMonatsEinträge, f.einträge.isEmpty() ? (QStringList{QString(), QStringLiteral("NoData")})
                                                    : QStringList{QString()} + f.einträge)
        << f.name;
    EXPECT_EQ(gMonatsAusnahmen, QStringLiteral("NoEx:NoEx")) << f.name;
  }
  EXPECT_TRUE(logzeilen().isEmpty());
  EXPECT_TRUE(meldungen().isEmpty());
}

TEST_F(ErfassungsdatenTest, MitarbeiterMitSchlechterZeileBeendetUndDieDateiBleibt) {
  gBenutzerstufe = 0;
  gAdministratoren = QStringList{QStringLiteral("A:Chef Carl:cchef")};
  monat(QStringLiteral("2503 250301"), {QStringLiteral("A:HMueller:") + QString(30, u'1')});
  const QByteArray vorher = lesen(gDatenordner + name(QStringLiteral("2503 250301")));
  ERWARTE_PROGRAMMENDE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  EXPECT_EQ(meldungen(), QStringList{QStringLiteral("Fehlerhafte Daten erkannt in Monat 03.2025!\r\r"
                                                    "Informieren Sie einen der folgenden Administratoren: Chef Carl "
                                                    "(cchef).\r\rDas Programm wird beendet.")});
  EXPECT_EQ(lesen(gDatenordner + name(QStringLiteral("2503 250301"))), vorher);
  EXPECT_TRUE(logzeilen().isEmpty());
}

TEST_F(ErfassungsdatenTest, ReparaturOhneBackupSchreibtNichts) {
  // No "F" backup of today and none can be made: the file stays, the month is used
  // as read.
  monat(QStringLiteral("2503 250301"),
        {QStringLiteral("A:HMueller:") + QString(30, u'1'), QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1"))});
  const QByteArray vorher = lesen(gDatenordner + name(QStringLiteral("2503 250301")));
  // Without a backup folder no backup can be made.
  ASSERT_TRUE(QDir(gSicherungsordner).removeRecursively());
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  EXPECT_EQ(gMonatsEinträge.size(), 2);
  EXPECT_EQ(lesen(gDatenordner + name(QStringLiteral("2503 250301"))), vorher);
  EXPECT_TRUE(meldungen().isEmpty());
}

TEST_F(ErfassungsdatenTest, KopfEinesAnderenMonatsGehtZurStartreparatur) {
  const QStringList z{QStringLiteral("[2504]"), kKennzeile, QStringLiteral("NoEx:NoEx")};
  schreiben(gDatenordner + name(QStringLiteral("2503 250301")), kodiert(z));
  ERWARTE_PROGRAMMENDE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  ASSERT_FALSE(meldungen().isEmpty());
  EXPECT_TRUE(meldungen()[0].contains(
      QStringLiteral("Dateikorruption entdeckt! Daten für '2503' erwartet, aber Daten für '2504' gefunden.")));
}

TEST_F(ErfassungsdatenTest, DateiMitZweiZeilenGehtZurStartreparatur) {
  schreiben(gDatenordner + name(QStringLiteral("2503 250301")), kodiert({QStringLiteral("[2503]"), kKennzeile}));
  ERWARTE_PROGRAMMENDE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  ASSERT_FALSE(meldungen().isEmpty());
  EXPECT_TRUE(meldungen()[0].contains(QStringLiteral("2503 250301 Data.dat"))) << qPrintable(meldungen()[0]);
}

TEST_F(ErfassungsdatenTest, MonatOhneDateiSetztDieMonatslistenZurueck) {
  monat(QStringLiteral("2503 250301"),
        {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1")), QStringLiteral("K:HMueller:01-01:x")},
        QStringLiteral("W:F"));
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  EXPECT_EQ(gMonatsAusnahmen, u"W:F");
  EXPECT_FALSE(Erfassungsdaten_lesen(QStringLiteral("2504")));
  EXPECT_EQ(gMonatsEinträge, (QStringList{QString(), QStringLiteral("NoData")}));
  EXPECT_EQ(gMonatsKommentare, (QStringList{QString(), QStringLiteral("NoComments")}));
  EXPECT_EQ(gMonatsAusnahmen, u"NoEx:NoEx");
}

TEST_F(ErfassungsdatenTest, VollesLesenLeertEntfernteZeilenUndHaeltDenZwischenspeicher30Sekunden) {
  monat(QStringLiteral("2601 260101"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("11"))});
  Alle_Erfassungsdaten_einlesen(false);
  ASSERT_EQ(gErfassungsdaten.zeilen(), 4);
  EXPECT_EQ(gErfassungsdaten(2, 13), tage(QStringLiteral("11")));
  EXPECT_TRUE(gSchnellesLesen);

  // The line disappears (a compaction elsewhere dropped it).
  monat(QStringLiteral("2601 260102"), {QStringLiteral("A:eschmidt:") + tage(QStringLiteral("2"))});
  uhr.sekunden += 29.0;
  Alle_Erfassungsdaten_einlesen(true);
  EXPECT_EQ(gErfassungsdaten(2, 13), tage(QStringLiteral("11")));  // still the cache
  Alle_Erfassungsdaten_einlesen(false);
  EXPECT_TRUE(gErfassungsdaten(2, 13).isEmpty());
  EXPECT_EQ(gErfassungsdaten(3, 13), tage(QStringLiteral("2")));

  monat(QStringLiteral("2601 260103"), {QStringLiteral("A:tester:") + tage(QStringLiteral("3"))});
  uhr.sekunden += 30.0;
  Alle_Erfassungsdaten_einlesen(true);
  EXPECT_TRUE(gErfassungsdaten(3, 13).isEmpty());
  EXPECT_EQ(gErfassungsdaten(4, 13), tage(QStringLiteral("3")));
}

TEST_F(ErfassungsdatenTest, NeuesLesenDerMitarbeiterdateiVerwirftDenZwischenspeicher) {
  monat(QStringLiteral("2601 260101"), {QStringLiteral("A:neu:") + tage(QStringLiteral("4"))});
  Alle_Erfassungsdaten_einlesen(false);
  const QStringList mitarbeiter{QStringLiteral("[Mitarbeiterdaten]"), kKennzeile, QStringLiteral("2025"),
                                QStringLiteral("000000:999999:010,0:000:030:030:030:Neu Nina:neu")};
  schreiben(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"), kodiert(mitarbeiter));
  Mitarbeiterdaten_lesen();
  ASSERT_EQ(Mitarbeiterzeilen(), 1);
  EXPECT_EQ(gErfassungsdaten.zeilen(), 1);
  Alle_Erfassungsdaten_einlesen(true);
  EXPECT_EQ(gErfassungsdaten(1, 13), tage(QStringLiteral("4")));
}

TEST_F(ErfassungsdatenTest, StartpruefungNimmtFruehereJahreUndMeldetDiesesJahr) {
  // 15.03.2026, planning year 2025.
  alleMonate();
  QFile::remove(gDatenordner + name(QStringLiteral("2501 250101")));
  Erfassungsdateien_checken();
  EXPECT_TRUE(meldungen().isEmpty());

  QFile::remove(gDatenordner + name(QStringLiteral("2601 250101")));
  QFile::remove(gDatenordner + name(QStringLiteral("2712 250101")));
  ERWARTE_PROGRAMMENDE(Erfassungsdateien_checken());
  ASSERT_FALSE(meldungen().isEmpty());
  EXPECT_TRUE(meldungen()[0].contains(QStringLiteral(
      "Keine Erfassungsdatei für An-/Abwesenheitsdaten für folgende(n) Monat(e) gefunden: 01.2026, 12.2027")))
      << qPrintable(meldungen()[0]);
}

TEST_F(ErfassungsdatenTest, AbfragenUeberDieTagestabelle) {
  monat(QStringLiteral("2501 250101"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1 1")) + QString()});
  monat(QStringLiteral("2502 250201"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1111")),
                                        QStringLiteral("A:eschmidt:") + QString(31, u' ')});
  monat(QStringLiteral("2503 250301"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("11 3"))});
  Alle_Erfassungsdaten_einlesen(false);
  // 02.01. to 02.03.: Jan days 2-31 (one "1" on day 3), all of February (4), March 1-2 (2).
  EXPECT_EQ(AnAbwesenheitstage(1, QDate(2025, 1, 2), QDate(2025, 3, 2), 2), 7);
  EXPECT_EQ(AnAbwesenheitstage(1, QDate(2025, 2, 2), QDate(2025, 2, 3), 2), 2);
  EXPECT_EQ(AnAbwesenheitstage(3, QDate(2025, 1, 1), QDate(2025, 12, 31), 2), 1);
  EXPECT_EQ(AnAbwesenheitstage(0, QDate(2025, 1, 1), QDate(2025, 12, 31), 2), 0);
  EXPECT_EQ(AnAbwesenheitstage(1, QDate(2025, 1, 1), QDate(2025, 12, 31), 3), 0);

  EXPECT_TRUE(Erfassungsdaten_vorhanden(1));
  EXPECT_TRUE(Erfassungsdaten_vorhanden(3));
  EXPECT_FALSE(Erfassungsdaten_vorhanden(2));
  EXPECT_TRUE(Erfassungsdaten_vorhanden(6));  // the erase button: anything at all
  EXPECT_TRUE(Erfassungsdaten_zu_Monaten_vorhanden(3, 36));
  EXPECT_FALSE(Erfassungsdaten_zu_Monaten_vorhanden(4, 36));
}

TEST_F(ErfassungsdatenTest, NurLeerzeichenHeissenKeineDatenFuerDieLoeschschaltflaeche) {
  monat(QStringLiteral("2502 250201"), {QStringLiteral("A:eschmidt:") + QString(31, u' ')});
  EXPECT_FALSE(Erfassungsdaten_vorhanden(6));
  EXPECT_FALSE(Erfassungsdaten_zu_Monaten_vorhanden(1, 36));
}

}  // namespace

namespace {

// A start's month check while another workstation's save holds the month's lock,
// between writing its version afresh from the later-dated one and deleting that one:
// the greatest stem is then no proof of the newest, and the check must leave the month
// to the holder. Other months are cleaned up all the same.
TEST_F(ErfassungsdatenTest, StartpruefungLaesstEinenGesperrtenMonatDemHalter) {
  alleMonate();
  const QStringList fünf{QStringLiteral("A:HMueller:") + tage(QStringLiteral("1")),
                         QStringLiteral("A:eschmidt:") + tage(QStringLiteral("2"))};
  monat(QStringLiteral("2503 250313"), fünf);
  monat(QStringLiteral("2503 250312"), fünf + QStringList{QStringLiteral("A:tester:") + tage(QStringLiteral("3"))});
  monat(QStringLiteral("2504 250313"), {});
  fremdeSperre();

  Erfassungsdateien_checken();
  EXPECT_TRUE(meldungen().isEmpty()) << qPrintable(meldungen().join(u'|'));
  EXPECT_TRUE(QFile::exists(gDatenordner + name(QStringLiteral("2503 250312"))));
  EXPECT_TRUE(QFile::exists(gDatenordner + name(QStringLiteral("2503 250313"))));
  // The lock of March says nothing of April.
  EXPECT_FALSE(QFile::exists(gDatenordner + name(QStringLiteral("2504 250101"))));
  EXPECT_TRUE(QFile::exists(gDatenordner + name(QStringLiteral("2504 250313"))));

  // The holder deletes the version it read, and lets go: the month has the version
  // with all six entries, and the next check finds nothing to do.
  QFile::remove(gDatenordner + name(QStringLiteral("2503 250313")));
  QFile::remove(Monatssperre_Datei(QStringLiteral("2503")));
  Erfassungsdateien_checken();
  EXPECT_TRUE(meldungen().isEmpty());
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
  EXPECT_EQ(gMonatsEinträge.size(), 4);
  EXPECT_EQ(Aktuelle_Erfassungsdatei(QStringLiteral("2503")).value().stamm(), u"2503 250312");
  // No version left behind, no lock left held.
  EXPECT_EQ(dateien().filter(QStringLiteral("2503 ")), QStringList{name(QStringLiteral("2503 250312"))});
  EXPECT_FALSE(QFile::exists(Monatssperre_Datei(QStringLiteral("2503"))));
}

// A name with the month's pattern whose writing day is no date, or a link with a
// version's name, is no version: never read, never the newest, never the reason the
// real month goes. The start removes it as any other name of the pattern, a link as a
// link: its target stays as it is.
TEST_F(ErfassungsdatenTest, FremdeNamenUndVerweiseSindKeineVersionen) {
  const QString echt = QStringLiteral("2503 250310");
  const QStringList einträge{QStringLiteral("A:HMueller:") + tage(QStringLiteral("1 2")),
                             QStringLiteral("A:eschmidt:") + tage(QStringLiteral("3"))};
  const QStringList fremd{QStringLiteral("[2503]"), kKennzeile, QStringLiteral("NoEx:NoEx"),
                          QStringLiteral("A:HMueller:") + tage(QStringLiteral("44"))};
  const QString außen = gTempOrdner + QStringLiteral("Ziel Data.dat");
  const struct {
    const char* was;
    QString name;
    bool verweis;  // a link to `ziel`
    QString ziel;  // for a link
  } fälle[] = {
      {"Schreibtag im Monat 13", QStringLiteral("2503 251305 Data.dat"), false, {}},
      {"Schreibtag am 99.", QStringLiteral("2503 250399 Data.dat"), false, {}},
      {"Schreibtag am 30.02.", QStringLiteral("2503 250230 Data.dat"), false, {}},
      {"Schreibtag 000000", QStringLiteral("2503 000000 Data.dat"), false, {}},
      {"Verweis nach außen", QStringLiteral("2503 250320 Data.dat"), true, außen},
      {"Verweis auf die echte Version", QStringLiteral("2503 250320 Data.dat"), true,
       gDatenordner + QStringLiteral("2503 250310 Data.dat")},
      {"Verweis ins Leere", QStringLiteral("2503 250320 Data.dat"), true, gTempOrdner + QStringLiteral("fehlt")},
  };
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.was);
    for (const QString& n : dateien()) QFile::remove(gDatenordner + n);
    alleMonate();
    QFile::remove(gDatenordner + name(QStringLiteral("2503 250101")));
    monat(echt, einträge);
    schreiben(außen, kodiert(fremd));
    const QByteArray zielVorher = f.verweis && QFile::exists(f.ziel) ? lesen(f.ziel) : QByteArray();
    if (f.verweis)
      ASSERT_TRUE(QFile::link(f.ziel, gDatenordner + f.name));
    else
      schreiben(gDatenordner + f.name, kodiert(fremd));

    EXPECT_EQ(Aktuelle_Erfassungsdatei(QStringLiteral("2503")).value().stamm(), echt);
    ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2503")));
    EXPECT_EQ(gMonatsEinträge, (QStringList{QString(), einträge[0].mid(2), einträge[1].mid(2)}));
    Alle_Erfassungsdaten_einlesen(false);
    EXPECT_EQ(gErfassungsdaten(2, 3), tage(QStringLiteral("1 2")));

    Erfassungsdateien_checken();
    EXPECT_TRUE(meldungen().isEmpty()) << qPrintable(meldungen().join(u'|'));
    EXPECT_FALSE(QFileInfo(gDatenordner + f.name).exists() || QFileInfo(gDatenordner + f.name).isSymLink());
    ASSERT_TRUE(QFile::exists(gDatenordner + name(echt)));
    EXPECT_EQ(dekodierteZeilen(gDatenordner + name(echt)),
              (QStringList{QStringLiteral("[2503]"), kKennzeile, QStringLiteral("NoEx:NoEx")} + einträge));
    if (f.verweis && !zielVorher.isEmpty()) {
      EXPECT_EQ(lesen(f.ziel), zielVorher);
    }
    skript = &dialoge::skript();
  }
}

// A month whose only name is a stray one has no version: from this year on the start
// reports it missing, which the start repair then mends.
TEST_F(ErfassungsdatenTest, MonatNurMitFremdemNamenFehlt) {
  alleMonate();
  QFile::remove(gDatenordner + name(QStringLiteral("2603 250101")));
  schreiben(gDatenordner + QStringLiteral("2603 261305 Data.dat"),
            kodiert({QStringLiteral("[2603]"), kKennzeile, QStringLiteral("NoEx:NoEx")}));
  EXPECT_FALSE(Aktuelle_Erfassungsdatei(QStringLiteral("2603")).has_value());
  ERWARTE_PROGRAMMENDE(Erfassungsdateien_checken());
  ASSERT_FALSE(meldungen().isEmpty());
  EXPECT_TRUE(meldungen().join(u'|').contains(QStringLiteral("03.2026"))) << qPrintable(meldungen().join(u'|'));
}

}  // namespace
