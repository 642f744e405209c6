#include "store/Monatsstand.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <functional>
#include <optional>
#include <vector>

#include "common/Testumgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"

namespace {

class MonatsstandTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    monatsbestand({u"U"_qs, u"H"_qs, u"Löschen"_qs},
                  {{u"Schmidt Eva"_qs, u"eschmidt"_qs}, {u"Müller Hans"_qs, u"HMueller"_qs}});
    gDezimaltrennzeichen = QStringLiteral(",");
  }
  QString pfad(const QString& tag) const { return gDatenordner + QStringLiteral("2603 ") + tag + " Data.dat"; }
  void monat(const QString& tag, const QStringList& rest) {
    QStringList z{QStringLiteral("[2603]"), kKennzeile, QStringLiteral("NoEx:NoEx")};
    z << rest;
    schreiben(pfad(tag), kodiert(z));
  }
  static void zeitSetzen(const QString& p, const QDateTime& t) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(t, QFileDevice::FileModificationTime));
  }
  // Another workstation adds a line to a version, as its append does.
  static void anhängen(const QString& p, const QString& zeile) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(kodiert({zeile}));
  }
};

TEST_F(MonatsstandTest, JedeArtFremdenSchreibensAendertDenStand) {
  const QString eigene = QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1"));
  struct Fall {
    const char* name;
    std::function<void()> schreiben;
  };
  const std::vector<Fall> fälle{
      // A workstation with a later system date, or one started after midnight while
      // this one still runs under yesterday's date.
      {"later version name",
       [&] {
         monat(QStringLiteral("260311"), {eigene});
         QFile::remove(pfad(QStringLiteral("260310")));
       }},
      {"later version beside today's", [&] { monat(QStringLiteral("260311"), {eigene}); }},
      {"appended line",
       [&] { anhängen(pfad(QStringLiteral("260310")), QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))); }},
      // Same name, same size, same time: only the content and the file differ.
      {"same name rewritten",
       [&] {
         const QDateTime zeit = QFileInfo(pfad(QStringLiteral("260310"))).lastModified();
         const QByteArray neu = kodiert({QStringLiteral("[2603]"), kKennzeile, QStringLiteral("NoEx:NoEx"),
                                         QStringLiteral("A:eschmidt:") + tage(QStringLiteral("2"))});
         ASSERT_TRUE(Datei_sicher_schreiben(pfad(QStringLiteral("260310")), neu));
         zeitSetzen(pfad(QStringLiteral("260310")), zeit);
       }},
      // What a share shows of a same-size rewrite by another machine: its own inode
      // number and a whole-second time, both unchanged; only the content differs.
      {"same size rewritten in place, time kept",
       [&] {
         const QString p = pfad(QStringLiteral("260310"));
         struct stat vorher {};
         ASSERT_EQ(::stat(QFile::encodeName(p).constData(), &vorher), 0);
         QFile f(p);
         ASSERT_TRUE(f.open(QIODevice::ReadWrite));
         const QByteArray neu = kodiert({QStringLiteral("[2603]"), kKennzeile, QStringLiteral("NoEx:NoEx"),
                                         QStringLiteral("A:eschmidt:") + tage(QStringLiteral("2"))});
         ASSERT_EQ(neu.size(), f.size());
         ASSERT_EQ(f.write(neu), neu.size());
         f.close();
         const struct timespec zeiten[2] = {vorher.st_atim, vorher.st_mtim};
         ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(p).constData(), zeiten, 0), 0);
       }},
      {"only the time", [&] { zeitSetzen(pfad(QStringLiteral("260310")), QDateTime::currentDateTime().addSecs(5)); }},
      {"month removed", [&] { QFile::remove(pfad(QStringLiteral("260310"))); }},
  };
  for (const Fall& f : fälle) {
    for (const QString& n : QDir(gDatenordner).entryList(QDir::Files)) QFile::remove(gDatenordner + n);
    monat(QStringLiteral("260310"), {eigene});
    Monatsstand_merken(QStringLiteral("2603"));
    EXPECT_FALSE(Monatsstand_geändert(QStringLiteral("2603"))) << f.name;
    f.schreiben();
    EXPECT_TRUE(Monatsstand_geändert(QStringLiteral("2603"))) << f.name;
  }
}

TEST_F(MonatsstandTest, EigenesSpeichernNimmtDenStandInnerhalbDerSperre) {
  monat(QStringLiteral("260309"), {QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1"))});
  Monatsstand_merken(QStringLiteral("2603"));
  // First save of the day: a rewrite under today's name, yesterday's version removed.
  ASSERT_TRUE(
      Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:eschmidt:") + tage(QStringLiteral("2"))}));
  EXPECT_EQ(gMonatsdateiStand.name, QStringLiteral("2603 260310 Data.dat"));
  EXPECT_FALSE(Monatsstand_geändert(QStringLiteral("2603")));
  // An append.
  ASSERT_TRUE(
      Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))}));
  EXPECT_FALSE(Monatsstand_geändert(QStringLiteral("2603")));
  // A compaction.
  ASSERT_TRUE(Monatsdatei_kompaktieren(QStringLiteral("2603")));
  EXPECT_FALSE(Monatsstand_geändert(QStringLiteral("2603")));
  // The stamp of the shown month is not touched by a write of another month.
  const Monatsstand stand = gMonatsdateiStand;
  ASSERT_TRUE(
      Monatsdatei_speichern(QStringLiteral("2604"), {QStringLiteral("A:HMueller:") + tage(QStringLiteral("2"))}));
  EXPECT_EQ(gMonatsdateiStand, stand);
}

// The writer takes its stamp after the own write from what it read and wrote, not by
// reading the month again: it must be the stamp a look at the folder gives, also for a
// month longer than the part of it the stamp hashes whole, and for one whose last line
// had lost its line end.
TEST_F(MonatsstandTest, EigenerStandNachDemSchreibenGleichtDemDerPlatte) {
  QStringList viele;
  for (int i = 0; i < 600; ++i) viele << QStringLiteral("A:m%1:").arg(i) + tage(QStringLiteral("1"));
  struct Fall {
    const char* name;
    QString tag;          // the version there before the save
    QStringList zeilen;   // its lines after the head
    bool ohneZeilenende;  // its last line without CR LF
    std::optional<quint32> tage;
  };
  const std::vector<Fall> fälle{
      {"small month, append",
       QStringLiteral("260310"),
       {QStringLiteral("A:HMueller:") + tage(QStringLiteral("1"))},
       false,
       std::nullopt},
      {"long month, append", QStringLiteral("260310"), viele, false, std::nullopt},
      {"long month, append of one day", QStringLiteral("260310"), viele, false, 1u << 5},
      {"long month, last line cut short", QStringLiteral("260310"), viele, true, 1u << 5},
      {"long month, first save of the day", QStringLiteral("260309"), viele, false, 1u << 5},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.name);
    for (const QString& n : QDir(gDatenordner).entryList(QDir::Files)) QFile::remove(gDatenordner + n);
    monat(f.tag, f.zeilen);
    if (f.ohneZeilenende) {
      QFile d(pfad(f.tag));
      ASSERT_TRUE(d.open(QIODevice::ReadWrite));
      ASSERT_TRUE(d.resize(d.size() - 2));
    }
    Monatsstand_merken(QStringLiteral("2603"));
    const QString zeile = QStringLiteral("A:eschmidt:") + tage(QStringLiteral("    2"));
    ASSERT_TRUE(Monatsdatei_zeilen_speichern(QStringLiteral("2603"), {Monatszeile{zeile, f.tage}}));
    EXPECT_EQ(gMonatsdateiStand, Monatsstand_lesen(QStringLiteral("2603")));
    EXPECT_FALSE(Monatsstand_geändert(QStringLiteral("2603")));
    const QStringList gelesen = dekodierteZeilen(pfad(QStringLiteral("260310")));
    EXPECT_EQ(gelesen.last(), zeile);
    EXPECT_TRUE(gelesen.contains(f.zeilen.last()));
    QFile d(pfad(QStringLiteral("260310")));
    ASSERT_TRUE(d.open(QIODevice::ReadOnly));
    EXPECT_TRUE(d.readAll().endsWith("\r\n"));
  }
}

TEST_F(MonatsstandTest, FremdesSchreibenVorDemEigenenGiltNichtAlsEigenes) {
  for (const bool erstesSpeichern : {false, true}) {
    for (const QString& n : QDir(gDatenordner).entryList(QDir::Files)) QFile::remove(gDatenordner + n);
    const QString tag = erstesSpeichern ? QStringLiteral("260309") : QStringLiteral("260310");
    monat(tag, {QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1"))});
    Monatsstand_merken(QStringLiteral("2603"));
    // Another workstation's line lands between this one's last look and its save.
    anhängen(pfad(tag), QStringLiteral("A:HMueller:") + tage(QStringLiteral("22")));
    ASSERT_TRUE(
        Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:eschmidt:") + tage(QStringLiteral("2"))}));
    // Both lines are in the file, and the month still counts as changed, so the check
    // shows the other workstation's line.
    const QStringList zeilen = dekodierteZeilen(pfad(QStringLiteral("260310")));
    EXPECT_TRUE(zeilen.contains(QStringLiteral("A:HMueller:") + tage(QStringLiteral("22")))) << erstesSpeichern;
    EXPECT_EQ(zeilen.last(), QStringLiteral("A:eschmidt:") + tage(QStringLiteral("2"))) << erstesSpeichern;
    EXPECT_TRUE(Monatsstand_geändert(QStringLiteral("2603"))) << erstesSpeichern;
  }
}

TEST_F(MonatsstandTest, NeuschreibenLiestDieMitarbeiterdateiNeuWasImmerDieEinstellungenSagen) {
  const QString kopf = QStringLiteral("[Mitarbeiterdaten]");
  const QString datei = gDatenordner + QStringLiteral("Mitarbeiterdaten.dat");
  schreiben(datei, kodiert({kopf, kKennzeile, QStringLiteral("2025"), QStringLiteral("Verwaltung"),
                            QStringLiteral("000000:999999:010,0:000:030:030:030:Schmidt Eva:eschmidt")}));
  Mitarbeiterdaten_lesen();
  ASSERT_EQ(Mitarbeiterzeilen(), 2);
  SetSetting(39, 1);  // reload checks off
  // Another workstation adds an employee, who at once enters a vacation there.
  schreiben(datei, kodiert({kopf, kKennzeile, QStringLiteral("2025"), QStringLiteral("Verwaltung"),
                            QStringLiteral("000000:999999:010,0:000:030:030:030:Schmidt Eva:eschmidt"),
                            QStringLiteral("000000:999999:010,0:000:030:030:030:Neu Nora:nneu")}));
  zeitSetzen(datei, QDateTime::currentDateTime().addSecs(10));
  const QString neu = QStringLiteral("A:nneu:") + tage(QStringLiteral("111"));
  monat(QStringLiteral("260309"), {QStringLiteral("A:eschmidt:") + tage(QStringLiteral("1")), neu});

  // This workstation's first save of the day writes the month afresh.
  ASSERT_TRUE(
      Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:eschmidt:") + tage(QStringLiteral("2"))}));
  EXPECT_TRUE(dekodierteZeilen(pfad(QStringLiteral("260310"))).contains(neu));
  EXPECT_TRUE(gBenutzerIDs.contains(QStringLiteral("nneu")));
}

}  // namespace
