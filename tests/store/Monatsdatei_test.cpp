#include "store/Monatsdatei.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>
#include <vector>

#include "common/Testumgebung.h"
#include "platform/Dialoge.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {

class MonatsdateiTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    monatsbestand({u"U"_qs, u"H"_qs, u"K"_qs, u"Löschen"_qs}, {{u"Gruppe"_qs, QString()},
                                                               {u"Schmidt Eva"_qs, u"eschmidt"_qs},
                                                               {u"Müller Hans"_qs, u"HMueller"_qs},
                                                               {u"Leer Lea"_qs, u"lleer"_qs}});
  }
  QString pfad(const QString& tag) const { return gDatenordner + QStringLiteral("2603 ") + tag + " Data.dat"; }
  void monat(const QString& tag, const QStringList& rest, const QString& ausnahmen = QStringLiteral("W:NoEx")) {
    QStringList z{QStringLiteral("[2603]"), kKennzeile, ausnahmen};
    z << rest;
    schreiben(pfad(tag), kodiert(z));
  }
  QStringList dateien() const { return QDir(gDatenordner).entryList(QDir::Files, QDir::Name); }
  QStringList meldungen() const {
    QStringList r;
    for (const QString& t : skript->texte()) r << t;
    return r;
  }
};

TEST_F(MonatsdateiTest, ErstesSpeichernDesTagesSchreibtDenMonatNeuDannWirdAngehaengt) {
  monat(QStringLiteral("260309"),
        {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1")),
         QStringLiteral("K:hmueller:01-02:alt"),                     // day 2 has no code: gone at the rewrite
         QStringLiteral("A:entfernt:") + tage(QStringLiteral("1")),  // not in the employee list: kept
         QStringLiteral("A:lleer:") + tage(QString()),               // blanks only
         QStringLiteral("A:eschmidt:") + tage(QStringLiteral("11 22")), QStringLiteral("K:eschmidt:01-05:Kur"),
         QStringLiteral("K:eschmidt:04-04:Arzt"), QStringLiteral("A:hmueller:") + tage(QStringLiteral("3"))});
  const QString neu = QStringLiteral("A:eschmidt:") + tage(QStringLiteral("3"));
  ASSERT_TRUE(Monatsdatei_speichern(QStringLiteral("2603"), {neu}));

  EXPECT_EQ(dateien(), QStringList{QStringLiteral("2603 260310 Data.dat")});
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))),
            (QStringList{
                QStringLiteral("[2603]"), kKennzeile, QStringLiteral("W:NoEx"),
                QStringLiteral("A:eschmidt:") + tage(QStringLiteral("11 22")), QStringLiteral("K:eschmidt:01-02:Kur"),
                QStringLiteral("K:eschmidt:04-04:Arzt"), QStringLiteral("K:eschmidt:05-05:Kur"),
                QStringLiteral("A:hmueller:") + tage(QStringLiteral("3")), QStringLiteral("K:hmueller:01-01:alt"),
                QStringLiteral("A:entfernt:") + tage(QStringLiteral("1")), neu}));

  const QByteArray vorher = lesen(pfad(QStringLiteral("260310")));
  const QString zweite = QStringLiteral("K:eschmidt:01-01:neu");
  ASSERT_TRUE(Monatsdatei_speichern(QStringLiteral("2603"), {zweite}));
  const QByteArray nachher = lesen(pfad(QStringLiteral("260310")));
  EXPECT_TRUE(nachher.startsWith(vorher));
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))).last(), zweite);
  EXPECT_TRUE(meldungen().isEmpty());
  EXPECT_FALSE(QFile::exists(Monatssperre_Datei(QStringLiteral("2603"))));
}

TEST_F(MonatsdateiTest, MonatOhneDateiWirdOhneAusnahmenAngelegt) {
  gMonatsAusnahmen = QStringLiteral("W:F");  // of another month read before
  const QString neu = QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"));
  ASSERT_TRUE(Monatsdatei_speichern(QStringLiteral("2603"), {neu}));
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))),
            (QStringList{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("NoEx:NoEx"), neu}));
}

TEST_F(MonatsdateiTest, VerdichtenSchreibtUnterHeuteNeu) {
  monat(QStringLiteral("260310"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1")),
                                   QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))});
  ASSERT_TRUE(Monatsdatei_kompaktieren(QStringLiteral("2603")));
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))),
            (QStringList{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("W:NoEx"),
                         QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))}));
}

TEST_F(MonatsdateiTest, AnderswoGehalteneSperreVerweigertDasSpeichernUndSchreibtNichts) {
  monat(QStringLiteral("260310"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1"))});
  const QByteArray vorher = lesen(pfad(QStringLiteral("260310")));
  const QString sperre = Monatssperre_Datei(QStringLiteral("2603"));
  schreiben(sperre, "andererPC|4711|x");
  // No pattern of the program matches the lock file.
  for (const QString& muster :
       {QStringLiteral("*Data.dat"), QStringLiteral("*.dat"), QStringLiteral("*.log"), QStringLiteral("2603*")})
    EXPECT_FALSE(Dateiliste(gDatenordner, muster).contains(QStringLiteral("~2603.vklock"))) << qPrintable(muster);

  const double start = uhr.sekunden;
  EXPECT_FALSE(
      Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))}));
  EXPECT_FALSE(Monatsdatei_kompaktieren(QStringLiteral("2603")));
  EXPECT_EQ(lesen(pfad(QStringLiteral("260310"))), vorher);
  EXPECT_EQ(lesen(sperre), QByteArray("andererPC|4711|x"));
  // A bounded wait, in short steps.
  EXPECT_GE(uhr.sekunden - start, 2 * kMonatssperreWartezeit);
  EXPECT_LT(uhr.sekunden - start, 2 * kMonatssperreWartezeit + 1.0);
  const QString text = QStringLiteral(
      "Die Monatsdatei 03.2026 wird gerade von einem anderen Arbeitsplatz geschrieben. Die Eingabe wurde nicht "
      "gespeichert.\r\rBitte versuchen Sie es in einigen Sekunden erneut.");
  EXPECT_EQ(meldungen(), (QStringList{text, text}));
}

// A change of single days goes onto the employee's row as the file holds it inside
// the lock, on the first save of the day (rewrite) and on an append; the days it does
// not change keep what another workstation saved meanwhile.
TEST_F(MonatsdateiTest, GeaenderteTageKommenAufDieNeuesteZeile) {
  monat(QStringLiteral("260309"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1"))});
  const auto ändern = [](const QString& vorher, int tag, QChar code) {
    QString nachher = vorher;
    nachher[tag - 1] = code;
    return Monatszeile{QStringLiteral("A:hmueller:") + nachher, Geänderte_Tage(vorher, nachher)};
  };
  const auto letzte = [&] {
    QString r;
    for (const QString& z : dekodierteZeilen(pfad(QStringLiteral("260310"))))
      if (z.startsWith(QStringLiteral("A:"), Qt::CaseInsensitive) && z.mid(2, 8).toLower() == u"hmueller") r = z;
    return r;
  };
  // The row as this workstation showed it: empty.
  ASSERT_TRUE(Monatsdatei_zeilen_speichern(QStringLiteral("2603"), {ändern(tage(QString()), 3, u'2')}));
  EXPECT_EQ(letzte(), QStringLiteral("A:hmueller:") + tage(QStringLiteral("1 2")));
  ASSERT_TRUE(Monatsdatei_zeilen_speichern(QStringLiteral("2603"), {ändern(tage(QString()), 5, u'3')}));
  EXPECT_EQ(letzte(), QStringLiteral("A:hmueller:") + tage(QStringLiteral("1 2 3")));
  // Erasing a day, and two changes of one save one after the other.
  ASSERT_TRUE(Monatsdatei_zeilen_speichern(
      QStringLiteral("2603"), {ändern(tage(QStringLiteral("1")), 1, u' '), ändern(tage(QString()), 4, u'1')}));
  EXPECT_EQ(letzte(), QStringLiteral("A:hmueller:") + tage(QStringLiteral("  213")));
  // A whole line is written as given.
  ASSERT_TRUE(
      Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("9"))}));
  EXPECT_EQ(letzte(), QStringLiteral("A:HMueller:") + tage(QStringLiteral("9")));
  EXPECT_EQ(Geänderte_Tage(tage(QStringLiteral("1")), QStringLiteral("A:x:") + tage(QStringLiteral(" 1"))),
            std::optional<quint32>((1u << 1) | (1u << 2)));
  EXPECT_FALSE(Geänderte_Tage(QStringLiteral("A:x:1"), tage(QString())).has_value());
}

// A user name with umlauts is one user in every spelling, as an ASCII name is: the
// rewrite keeps only its newest row, and a change of single days goes onto that row.
TEST_F(MonatsdateiTest, UmlautnameIstInJederSchreibweiseEinBenutzer) {
  monat(QStringLiteral("260309"), {u"A:JörgWeiß:"_qs + tage(QStringLiteral("1")), u"K:JÖRGWEIß:01-01:alt"_qs,
                                   u"A:JÖRGWEIß:"_qs + tage(QStringLiteral("1 2"))});
  const QString vorher = tage(QString());
  QString nachher = vorher;
  nachher[4] = u'3';
  ASSERT_TRUE(Monatsdatei_zeilen_speichern(
      QStringLiteral("2603"), {Monatszeile{u"A:jörgweiß:"_qs + nachher, Geänderte_Tage(vorher, nachher)}}));
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))),
            (QStringList{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("W:NoEx"),
                         u"A:JÖRGWEIß:"_qs + tage(QStringLiteral("1 2")), u"K:JÖRGWEIß:01-01:alt"_qs,
                         u"A:jörgweiß:"_qs + tage(QStringLiteral("1 2 3"))}));
}

// A change of single days goes onto each employee's last row in the file: a later row
// that is no row of 31 days does not count, an unterminated last line cut short (a line
// in flight) is left out behind three lines while a whole one counts, and a line may
// end in CR LF, CR or LF.
TEST_F(MonatsdateiTest, GeaenderteTageKommenAufDieLetzteGueltigeZeileJedesBenutzers) {
  const QByteArray kopf = kodiert({QStringLiteral("[2603]"), kKennzeile, QStringLiteral("W:NoEx")});
  const auto z = [](const QString& zeile) { return kodiert({zeile}); };
  const auto ohneEnde = [](const QString& zeile) { return kodiert({zeile}).chopped(2); };
  const auto mitEnde = [](const QString& zeile, const char* ende) { return kodiert({zeile}).chopped(2) + ende; };
  const QString hm = QStringLiteral("A:hmueller:"), es = QStringLiteral("A:eschmidt:");
  struct Fall {
    const char* was;
    QByteArray inhalt;
    QString hmueller, eschmidt;  // the rows after the change of day 3 ("" where not changed)
  };
  const std::vector<Fall> fälle = {
      {"the later of two rows, in another letter case",
       kopf + z(QStringLiteral("A:HMueller:") + tage(QStringLiteral("1"))) + z(hm + tage(QStringLiteral(" 1"))),
       hm + tage(QStringLiteral(" 12")),
       {}},
      {"a later row of 30 days does not count",
       kopf + z(hm + tage(QStringLiteral("1"))) + z(hm + QString(30, u'9')),
       hm + tage(QStringLiteral("1 2")),
       {}},
      {"an unterminated last line cut short is left out",
       kopf + z(hm + tage(QStringLiteral("1"))) + ohneEnde(hm + tage(QStringLiteral("77"))).chopped(3),
       hm + tage(QStringLiteral("1 2")),
       {}},
      {"a whole last line without its line end counts",
       kopf + z(hm + tage(QStringLiteral("1"))) + ohneEnde(hm + tage(QStringLiteral("77"))),
       hm + tage(QStringLiteral("772")),
       {}},
      {"a whole last line of another user without its line end",
       kopf + z(hm + tage(QStringLiteral("1"))) + ohneEnde(es + tage(QStringLiteral("55"))),
       hm + tage(QStringLiteral("1 2")), es + tage(QStringLiteral("552"))},
      {"an unterminated line behind two lines counts",
       kodiert({QStringLiteral("[2603]"), kKennzeile}) + ohneEnde(hm + tage(QStringLiteral("77"))),
       hm + tage(QStringLiteral("772")),
       {}},
      {"lines ending in LF and in CR",
       kopf + mitEnde(hm + tage(QStringLiteral("1")), "\n") + mitEnde(hm + tage(QStringLiteral("11")), "\r") +
           mitEnde(es + tage(QStringLiteral("5")), "\n\r") + z(QStringLiteral("K:hmueller:01-01:x")),
       hm + tage(QStringLiteral("112")), es + tage(QStringLiteral("5 2"))},
      {"two employees, each on its own last row",
       kopf + z(es + tage(QStringLiteral("5"))) + z(hm + tage(QStringLiteral("1"))) +
           z(es + tage(QStringLiteral("55"))) + z(hm + tage(QStringLiteral("11"))) +
           z(QStringLiteral("A:lleer:") + tage(QStringLiteral("9"))),
       hm + tage(QStringLiteral("112")), es + tage(QStringLiteral("552"))},
      {"no row yet",
       kopf + z(QStringLiteral("A:lleer:") + tage(QStringLiteral("9"))),
       hm + tage(QStringLiteral("  2")),
       {}},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    for (const QString& name : dateien()) QFile::remove(gDatenordner + name);
    schreiben(pfad(QStringLiteral("260310")), f.inhalt);
    QList<Monatszeile> zeilen;
    for (const QString& soll : {f.hmueller, f.eschmidt})
      if (!soll.isEmpty()) zeilen << Monatszeile{soll.left(11) + tage(QStringLiteral("  2")), 1u << 3};
    ASSERT_TRUE(Monatsdatei_zeilen_speichern(QStringLiteral("2603"), zeilen));
    const QStringList danach = dekodierteZeilen(pfad(QStringLiteral("260310")));
    ASSERT_GE(danach.size(), zeilen.size());
    for (qsizetype i = 0; i < zeilen.size(); ++i)
      EXPECT_EQ(danach[danach.size() - zeilen.size() + i], i == 0 ? f.hmueller : f.eschmidt);
  }
}

// Another machine's lock: its file time says nothing (clocks differ between machines),
// so it is taken over only after this workstation has watched it unchanged for the
// stale time of its own clock, also across a refused save and the retry.
TEST_F(MonatsdateiTest, SperreEinesAbgestuerztenArbeitsplatzesWirdUebernommen) {
  const QString sperre = Monatssperre_Datei(QStringLiteral("2603"));
  schreiben(sperre, "abgestuerzt|anderer-kern|1|x");
  // A temporary file the crashed rewrite left behind.
  const QString rest = gDatenordner + QStringLiteral("~2603 260310 Data.dat.1.abc.vktmp");
  schreiben(rest, "halb");
  for (const QString& p : {sperre, rest}) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
  }
  const QString neu = QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"));
  EXPECT_FALSE(Monatsdatei_speichern(QStringLiteral("2603"), {neu})) << "an old file time alone is no sign";
  EXPECT_EQ(meldungen(),
            QStringList{QStringLiteral(
                "Die Monatsdatei 03.2026 wird gerade von einem anderen Arbeitsplatz geschrieben. Die "
                "Eingabe wurde nicht gespeichert.\r\rBitte versuchen Sie es in einigen Sekunden erneut.")});
  EXPECT_TRUE(QFile::exists(rest));
  skript->protokoll.clear();

  uhr.sekunden += kDateisperreVeraltet - kMonatssperreWartezeit;
  ASSERT_TRUE(Monatsdatei_speichern(QStringLiteral("2603"), {neu}));
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))).last(), neu);
  EXPECT_EQ(dateien(), QStringList{QStringLiteral("2603 260310 Data.dat")});
  EXPECT_TRUE(meldungen().isEmpty());
}

// A lock that changes (its holder freshens it while it works) is never taken over.
TEST_F(MonatsdateiTest, SperreEinesArbeitendenInhabersWirdNichtUebernommen) {
  const QString sperre = Monatssperre_Datei(QStringLiteral("2603"));
  schreiben(sperre, "anderer|anderer-kern|1|x");
  for (int versuch = 0; versuch < 10; ++versuch) {
    EXPECT_FALSE(
        Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))}));
    QFile f(sperre);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(versuch + 1), QFileDevice::FileModificationTime));
  }
  EXPECT_EQ(lesen(sperre), QByteArray("anderer|anderer-kern|1|x"));
  EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("260310"))));
}

// A lock left empty (its holder ended between creating and filling it) holds the
// month for a moment only, not for the whole stale time of a foreign lock.
TEST_F(MonatsdateiTest, LeereSperreWirdNachKurzemBeobachtenUebernommen) {
  const QString sperre = Monatssperre_Datei(QStringLiteral("2603"));
  schreiben(sperre, "");
  const double start = uhr.sekunden;
  const QString neu = QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"));
  ASSERT_TRUE(Monatsdatei_speichern(QStringLiteral("2603"), {neu}));
  EXPECT_GE(uhr.sekunden - start, kLeereSperreVeraltet);
  EXPECT_LT(uhr.sekunden - start, kMonatssperreWartezeit);
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))).last(), neu);
  EXPECT_FALSE(QFile::exists(sperre));
  EXPECT_TRUE(meldungen().isEmpty());
}

// A lock of a process of this machine that has ended is taken over at once.
TEST_F(MonatsdateiTest, SperreEinesBeendetenProzessesDieserMaschineWirdSofortUebernommen) {
  QProcess p;
  p.start(QStringLiteral("true"), {});
  ASSERT_TRUE(p.waitForStarted(10000));
  const qint64 pid = p.processId();
  ASSERT_TRUE(p.waitForFinished(10000));
  const QString sperre = Monatssperre_Datei(QStringLiteral("2603"));
  schreiben(sperre, Dateisperre_Kennung(pid));
  const double start = uhr.sekunden;
  ASSERT_TRUE(
      Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))}));
  EXPECT_EQ(uhr.sekunden, start);
  EXPECT_FALSE(QFile::exists(sperre));
  EXPECT_TRUE(meldungen().isEmpty());
}

TEST_F(MonatsdateiTest, NeuschreibenLiestDieNeuesteVersionInnerhalbDerSperre) {
  monat(QStringLiteral("260301"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1"))});
  monat(QStringLiteral("260305"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))});
  QString gesehen;
  ASSERT_TRUE(Monatsdatei_umschreiben(
      QStringLiteral("2603"), true,
      [&](const std::optional<Monatsversion>& version, const QStringList& zeilen) -> std::optional<QStringList> {
        gesehen = version.value().stamm().toString();
        QStringList r = zeilen;
        r[2] = QStringLiteral("W:F");
        return r;
      }));
  EXPECT_EQ(gesehen, u"2603 260305");
  EXPECT_EQ(dateien(), QStringList{QStringLiteral("2603 260310 Data.dat")});
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))),
            (QStringList{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("W:F"),
                         QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))}));

  // Nothing to change: nothing written.
  const QByteArray vorher = lesen(pfad(QStringLiteral("260310")));
  EXPECT_TRUE(Monatsdatei_umschreiben(
      QStringLiteral("2603"), false,
      [](const std::optional<Monatsversion>&, const QStringList&) { return std::optional<QStringList>(); }));
  EXPECT_EQ(lesen(pfad(QStringLiteral("260310"))), vorher);
}

TEST_F(MonatsdateiTest, ReparaturEinesMonatsBehaeltNamenUndGuteZeilen) {
  schreiben(gSicherungsordner + gHeuteText + QStringLiteral(" Backup F.dat"), "x");
  monat(QStringLiteral("260305"), {QStringLiteral("A:HMueller:") + QString(30, u'1'),
                                   QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1Q"))});
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2603")));
  EXPECT_EQ(dateien(), QStringList{QStringLiteral("2603 260305 Data.dat")});
  // Code characters beyond the buttons are written out as blanks by the repair.
  EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260305"))),
            (QStringList{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("W:NoEx"),
                         QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1"))}));
}

// Today's version came in under another letter case (copied from another system): the
// save goes into that file, not into a second one that readers do not take.
TEST_F(MonatsdateiTest, HeutigeVersionInAndererSchreibweiseNimmtDasSpeichern) {
  const QString gross = gDatenordner + QStringLiteral("2603 260310 DATA.DAT");
  schreiben(gross, kodiert({QStringLiteral("[2603]"), kKennzeile, QStringLiteral("W:NoEx"),
                            QStringLiteral("A:HMueller:") + tage(QStringLiteral("1"))}));
  const QString neu = QStringLiteral("A:eschmidt:") + tage(QStringLiteral("2"));
  ASSERT_TRUE(Monatsdatei_speichern(QStringLiteral("2603"), {neu}));
  EXPECT_EQ(dateien(), QStringList{QStringLiteral("2603 260310 DATA.DAT")});
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2603")));
  EXPECT_TRUE(gMonatsEinträge.contains(neu.mid(2))) << qPrintable(gMonatsEinträge.join(u'|'));
}

// A workstation that keeps the lock past the stale time (here: a repair notice left
// open) has lost it to another one, which appended meanwhile. Its rewrite from what it
// read before would drop that line: it must not write.
TEST_F(MonatsdateiTest, WaehrendEinerFrageUebernommeneSperreWirdNichtDurchschrieben) {
  struct Anderer : dialoge::Skript {
    std::function<void(const QString&)> beim;
    dialoge::Antwort zeigen(const dialoge::Aufforderung& a) override {
      if (beim) beim(a.text);
      return dialoge::Skript::zeigen(a);
    }
  };
  auto dienst = std::make_unique<Anderer>();
  Anderer* anderer = dienst.get();
  dialoge::setzeDienst(std::move(dienst));
  skript = anderer;

  gBenutzerstufe = 1;
  schreiben(gSicherungsordner + gHeuteText + QStringLiteral(" Backup F.dat"), "x");
  monat(QStringLiteral("260305"),
        {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1")), QStringLiteral("A:eschmidt:") + QString(30, u'1')});
  const QString fremd = QStringLiteral("A:lleer:") + tage(QStringLiteral("3"));
  const QString sperre = Monatssperre_Datei(QStringLiteral("2603"));
  anderer->beim = [&](const QString& text) {
    if (!text.startsWith(QStringLiteral("Fehlerhafte Daten erkannt"))) return;
    // The other workstation found the lock stale, took it and appended its line.
    QFile::remove(sperre);
    schreiben(sperre, "anderer");
    QFile f(pfad(QStringLiteral("260305")));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(kodiert({fremd}));
  };
  Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))});
  anderer->beim = nullptr;
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2603")));
  EXPECT_TRUE(gMonatsEinträge.contains(fremd.mid(2))) << qPrintable(gMonatsEinträge.join(u'|'));
  EXPECT_EQ(lesen(sperre), QByteArray("anderer"));
}

}  // namespace

namespace {

// A rewrite never drops a cut last line in silence: an administrator's reports it, as
// a read does, and writes the month without it; an employee's, which writes no logbook,
// keeps it as it stands.
TEST_F(MonatsdateiTest, UmschreibenMeldetEineAbgeschnitteneLetzteZeileOderBehaeltSie) {
  const QString gut = QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"));
  const QString fremd = QStringLiteral("A:fremd:") + tage(QStringLiteral("11"));
  const QByteArray geschnitten = kodiert({fremd}).left(14);
  const QString geschnittenText = Zeile_dekodieren(geschnitten);
  for (const int stufe : {2, 0}) {
    SCOPED_TRACE(stufe);
    for (const QString& o : {gDatenordner, gLogordner, gSicherungsordner})
      for (const QString& n : QDir(o).entryList(QDir::Files)) QFile::remove(o + n);
    gBenutzerstufe = stufe;
    monat(QStringLiteral("260305"), {gut});
    schreiben(pfad(QStringLiteral("260305")), lesen(pfad(QStringLiteral("260305"))) + geschnitten);
    QStringList gesehen;
    ASSERT_TRUE(Monatsdatei_umschreiben(
        QStringLiteral("2603"), true,
        [&](const std::optional<Monatsversion>&, const QStringList& zeilen) -> std::optional<QStringList> {
          gesehen = zeilen;
          return zeilen;
        }));
    const QStringList kopf{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("W:NoEx")};
    // The change itself sees only whole lines.
    EXPECT_EQ(gesehen, kopf + QStringList{gut});
    const QStringList log = QDir(gLogordner).entryList(QDir::Files);
    if (stufe > 0) {
      EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))), kopf + QStringList{gut});
      ASSERT_EQ(log.size(), 1);
      const QStringList zeilen = dekodierteZeilen(gLogordner + log[0]);
      ASSERT_EQ(zeilen.size(), 1);
      EXPECT_TRUE(
          zeilen[0].endsWith(QStringLiteral("|VelkoraAdmin|Fehlerhafte Daten erkannt in Monat 03.2026 bei fremd")))
          << qPrintable(zeilen[0]);
      EXPECT_EQ(Dateiliste(gSicherungsordner, gHeuteText + QStringLiteral("*F.dat")).size(), 1);
    } else {
      EXPECT_EQ(dekodierteZeilen(pfad(QStringLiteral("260310"))), (kopf + QStringList{gut, geschnittenText}));
      EXPECT_TRUE(log.isEmpty());
      EXPECT_TRUE(Dateiliste(gSicherungsordner, QStringLiteral("*F.dat")).isEmpty());
    }
    EXPECT_EQ(dateien().filter(QStringLiteral("Data.dat")), QStringList{QStringLiteral("2603 260310 Data.dat")});
  }
}

}  // namespace
