// Backups made while other workstations, each a process of its own, write a month again
// and again under dates a day apart: every save writes the month afresh under its
// workstation's day and deletes the version it replaced, so a version listed a moment
// ago is often gone when it is read.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <memory>
#include <vector>

#include "common/Testnamen.h"
#include "common/Testumgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Monatsversion.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Monatsdatei.h"
#include "store/Sicherung.h"

namespace {

struct Arbeitsplatz {
  const char* modus;  // of the helper: "anhaengen" or "netz"
  const char* tag;    // the date it was started with
  QStringList umgebung;
};
struct Lastfall {
  const char* name;
  std::vector<Arbeitsplatz> schreiber;
  int speicherungen;  // of each
  bool startprüfung;  // starts of today run their month check meanwhile
};

class Sicherung_Mehrplatz : public VelkoraTest, public ::testing::WithParamInterface<Lastfall> {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    // The buttons and the opaque line the helper writes with.
    monatsbestand({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                   QStringLiteral("E"), QStringLiteral("Löschen")},
                  {});
    gKennzeile = QStringLiteral("Kennung");
    // The backup waits for a month lock that another process holds, in real time.
    echteWartezeiten();
    // The 36 months of the planning window, each of an office's size; the backup reads
    // those listed before March first, as it reads a real folder.
    for (int jahr = 25; jahr <= 27; ++jahr)
      for (int m = 1; m <= 12; ++m) {
        const QString schlüssel = QStringLiteral("%1%2").arg(jahr).arg(m, 2, 10, QChar(u'0'));
        QStringList zeilen{u'[' + schlüssel + u']', gKennzeile, QStringLiteral("NoEx:NoEx")};
        for (int i = 0; i < 1000 && schlüssel != u"2603"; ++i)
          zeilen << QStringLiteral("A:m%1:").arg(i) + QStringLiteral("12345 ").repeated(5) + u'1';
        schreiben(gDatenordner + schlüssel + QStringLiteral(" 260101 Data.dat"), kodiert(zeilen));
        monate << schlüssel;
      }
  }

  std::unique_ptr<QProcess> helfer(const QStringList& argumente, const QStringList& umgebung) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& e : umgebung) env.insert(e.section(u'=', 0, 0), e.section(u'=', 1));
    p->setProcessEnvironment(env);
    p->setProgram(QStringLiteral(VELKORA_BIN_DIR "/velkora_monatsdatei_helfer"));
    p->setArguments(QStringList{gDatenordner} + argumente);
    p->start();
    EXPECT_TRUE(p->waitForStarted(10000));
    return p;
  }
  static void beenden(QProcess& p) {
    ASSERT_TRUE(p.state() == QProcess::NotRunning || p.waitForFinished(180000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().constData() << p.readAllStandardError().constData();
  }

  QStringList monate;
};

// The versions of a month among a backup's blocks.
std::vector<const Sicherungsblock*> Versionen(const std::vector<Sicherungsblock>& blöcke, QStringView schlüssel) {
  std::vector<const Sicherungsblock*> r;
  for (const Sicherungsblock& b : blöcke)
    if (const std::optional<Monatsversion> v = Monatsversion::aus_Name(b.name); v && v->schlüssel() == schlüssel)
      r.push_back(&b);
  return r;
}

TEST_P(Sicherung_Mehrplatz, JedesBackupHaeltJedenMonat) {
  const Lastfall& fall = GetParam();
  const QString stopp = ordner() + QStringLiteral("stopp");
  std::unique_ptr<QProcess> prüfer;
  if (fall.startprüfung)
    prüfer = helfer({QStringLiteral("pruefen"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"),
                     QStringLiteral("260311")},
                    {QStringLiteral("VELKORA_STOPP=") + stopp});
  std::vector<std::unique_ptr<QProcess>> ps;
  for (size_t i = 0; i < fall.schreiber.size(); ++i)
    ps.push_back(helfer(
        {QString::fromLatin1(fall.schreiber[i].modus), QString::number(i), QString::number(fall.schreiber.size()),
         QString::number(fall.speicherungen), QString::fromLatin1(fall.schreiber[i].tag)},
        fall.schreiber[i].umgebung));

  int sicherungen = 0;
  QSet<QString> gesehen;  // the versions of March the backups held
  const auto läuft = [&] {
    bool r = false;
    for (auto& p : ps) r |= !p->waitForFinished(0) && p->state() != QProcess::NotRunning;
    return r;
  };
  const auto logbuch = [] { return dekodierteZeilen(gLogordner + QStringLiteral("2603 Velkora.log")).join(u'\n'); };
  while (läuft() || sicherungen < 5) {
    ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")))
        << "backup " << sicherungen << " was not made: " << qPrintable(logbuch());
    ++sicherungen;
    std::vector<Sicherungsblock> blöcke;
    ASSERT_TRUE(Sicherung_einlesen(gSicherungsordner + gSicherungsdatei, blöcke));
    for (const QString& schlüssel : monate) {
      const std::vector<const Sicherungsblock*> v = Versionen(blöcke, schlüssel);
      ASSERT_EQ(v.size(), 1u) << "backup " << sicherungen << " holds " << v.size() << " versions of "
                              << qPrintable(schlüssel) << ": " << qPrintable(logbuch());
      EXPECT_EQ(v[0]->zeilen.value(0), u'[' + schlüssel + u']');
      EXPECT_TRUE(Kopie_lesbar(v[0]->name, v[0]->zeilen)) << qPrintable(v[0]->name);
    }
    gesehen.insert(Versionen(blöcke, u"2603")[0]->name);
  }
  for (auto& p : ps) beenden(*p);
  schreiben(stopp, "stopp");
  if (prüfer) beenden(*prüfer);
  // The backups ran beside the saves.
  EXPECT_GE(sicherungen, 20);
  EXPECT_GE(gesehen.size(), 3) << sicherungen << " backups";
  EXPECT_FALSE(QFile::exists(Monatssperre_Datei(QStringLiteral("2603"))));
  // No backup was refused or left a month out.
  EXPECT_EQ(logbuch(), QString());
}

const QStringList kTageweise{QStringLiteral("VELKORA_TAGESWECHSEL=5")};

INSTANTIATE_TEST_SUITE_P(
    Faelle, Sicherung_Mehrplatz,
    ::testing::Values(
        // Three workstations a day apart: each save replaces the version of another day.
        Lastfall{"DreiTageAuseinander",
                 {{"anhaengen", "260309", {}}, {"anhaengen", "260310", {}}, {"anhaengen", "260311", {}}},
                 2000,
                 false},
        // Two a day apart moving on one day after every 5 saves, and starts whose month
        // check deletes old versions under the month lock.
        Lastfall{"TaeglichWeiterMitStartpruefung",
                 {{"netz", "260310", kTageweise}, {"netz", "260311", kTageweise}},
                 1000,
                 true}),
    NachName{});

}  // namespace
