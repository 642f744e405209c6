// Several workstations, as separate processes, on one data folder.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <csignal>
#include <memory>
#include <vector>

#include "common/Testumgebung.h"
#include "startup/Start.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"

namespace {

QString Helfer() { return QStringLiteral(VELKORA_BIN_DIR) + QStringLiteral("/velkora_monatsdatei_helfer"); }

// The codes the helper writes for its save j.
QString Codes(int j) {
  QString s = QStringLiteral("1");
  for (int v = j; v > 0; v /= 5) s += QChar(u'1' + v % 5);
  return s.leftJustified(31, u' ');
}

class Mehrplatz : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gSettings = Standardeinstellungen();
    gPlanungsjahr = 2025;
    gBenutzerstufe = 0;  // a line the check rejects would end the program
    gSFTexte = QStringList{QString(),           QStringLiteral("A"), QStringLiteral("B"),      QStringLiteral("C"),
                           QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("Löschen")};
  }

  std::unique_ptr<QProcess> starten(const QString& modus, int nummer, int prozesse, int anzahl, const QString& heute) {
    auto p = std::make_unique<QProcess>();
    p->setProgram(Helfer());
    p->setArguments(
        {gDatenordner, modus, QString::number(nummer), QString::number(prozesse), QString::number(anzahl), heute});
    p->start();
    EXPECT_TRUE(p->waitForStarted(10000)) << qPrintable(Helfer());
    return p;
  }

  static void beenden(QProcess& p, const char* was) {
    ASSERT_TRUE(p.waitForFinished(180000)) << was;
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << was;
    EXPECT_EQ(p.exitCode(), 0) << was << ": " << p.readAllStandardError().constData();
  }
};

TEST_F(Mehrplatz, AnhaengenNeuschreibenUndVerdichtenVerlierenKeineZeile) {
  constexpr int kAnhänger = 4;
  constexpr int kProzesse = kAnhänger + 1;  // the day changer has users too
  constexpr int kSpeicherungen = 300;
  std::vector<std::unique_ptr<QProcess>> ps;
  for (int i = 0; i < kAnhänger; ++i)
    ps.push_back(starten(QStringLiteral("anhaengen"), i, kProzesse, kSpeicherungen, QStringLiteral("260310")));
  // A workstation whose saves are all first saves of its day: each writes the month
  // afresh, and so does the next save of every other workstation.
  ps.push_back(
      starten(QStringLiteral("tageswechsel"), kAnhänger, kProzesse, kSpeicherungen / 2, QStringLiteral("260311")));
  ps.push_back(starten(QStringLiteral("kompaktieren"), 0, kProzesse, 100, QStringLiteral("260310")));
  for (int i = 0; i < 2; ++i)
    ps.push_back(starten(QStringLiteral("lesen"), 0, kProzesse, 1000, QStringLiteral("260310")));
  for (auto& p : ps) beenden(*p, qPrintable(p->arguments().join(u' ')));

  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2603")));
  EXPECT_TRUE(skript->texte().empty());
  const auto zeile = [](const QString& benutzer) {
    QString letzte;
    for (int e = 1; e < gMonatsEinträge.size(); ++e)
      if (gMonatsEinträge[e].startsWith(benutzer + u':')) letzte = gMonatsEinträge[e];
    return letzte;
  };
  for (int p = 0; p < kProzesse; ++p) {
    const int n = p < kAnhänger ? kSpeicherungen : kSpeicherungen / 2;
    for (int u = 0; u < 5; ++u) {
      int letzte = -1;
      for (int j = 0; j < n; ++j)
        if (j % 5 == u) letzte = j;
      const QString benutzer = QStringLiteral("w%1u%2").arg(p).arg(u);
      EXPECT_EQ(zeile(benutzer), benutzer + u':' + Codes(letzte)) << qPrintable(benutzer);
    }
  }
  // One version, no lock and no temporary file left.
  const QStringList rest = QDir(gDatenordner).entryList(QDir::Files);
  EXPECT_EQ(rest.size(), 1) << qPrintable(rest.join(u' '));
}

TEST_F(Mehrplatz, AbgebrochenMittenImNeuschreibenBleibtEinLesbarerMonat) {
  const QString sperre = Monatssperre_Datei(QStringLiteral("2603"));
  // The lock a killed process leaves behind, made stale so the next one takes it over.
  const auto veralten = [&] {
    if (!QFile::exists(sperre)) return;
    QFile f(sperre);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
  };
  // A process killed between creating its lock and writing into it leaves it empty.
  {
    QFile leer(sperre);
    ASSERT_TRUE(leer.open(QIODevice::WriteOnly));
  }
  for (int runde = 0; runde < 4; ++runde) {
    veralten();
    auto p = starten(QStringLiteral("endlos"), 0, 1, 0, QStringLiteral("260310"));
    ASSERT_TRUE(p->waitForReadyRead(60000));
    ASSERT_TRUE(p->readAllStandardOutput().startsWith("bereit"));
    QThread::msleep(20 + QRandomGenerator::global()->bounded(60));
    ASSERT_EQ(p->state(), QProcess::Running) << p->readAllStandardError().constData();
    ::kill(static_cast<pid_t>(p->processId()), SIGKILL);
    ASSERT_TRUE(p->waitForFinished(10000));

    ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2603")));
    QSet<QString> benutzer;
    for (int e = 1; e < gMonatsEinträge.size(); ++e) benutzer.insert(gMonatsEinträge[e].section(u':', 0, 0));
    EXPECT_EQ(benutzer.size(), 2000);
  }
  EXPECT_TRUE(skript->texte().empty());

  // The lock the killed process may have left is taken over once stale.
  veralten();
  gBenutzerIDs = QStringList{QString(), QStringLiteral("m0")};
  gMitarbeiterNamen = QStringList{QString(), QStringLiteral("m0")};
  gKennzeile = QStringLiteral("Kennung");
  EXPECT_TRUE(Monatsdatei_speichern(QStringLiteral("2603"), {QStringLiteral("A:m0:") + Codes(7)}));
  ASSERT_TRUE(Erfassungsdaten_lesen(QStringLiteral("2603")));
  EXPECT_EQ(gMonatsEinträge.last(), QStringLiteral("m0:") + Codes(7));
}

}  // namespace
