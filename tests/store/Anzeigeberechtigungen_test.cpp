#include "store/Anzeigeberechtigungen.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <thread>

#include "common/Testumgebung.h"
#include "platform/Uhr.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {

const QString kKennzeile = QStringLiteral("Velkora:0123456789AB");

// The employee list: a text with ":" is "user:name", anything else a heading.
void mitarbeiter(const QStringList& zeilen) {
  Mitarbeitertabelle_dimensionieren(static_cast<int>(zeilen.size()));
  for (int i = 1; i <= zeilen.size(); ++i) {
    const QString& z = zeilen[i - 1];
    const qsizetype p = z.indexOf(u':');
    gMitarbeiterNamen[i] = p < 0 ? z : z.mid(p + 1);
    gBenutzerIDs[i] = p < 0 ? QString() : z.left(p);
  }
}

QStringList liste(const QStringList& einträge) { return QStringList{QString()} + einträge; }

class AnzeigeTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gKennzeile = kKennzeile;
    gBenutzerstufe = 0;
    SetSetting(1, 2);
    SetSetting(17, 0);
    gAdministratoren = {QStringLiteral("A:Chef Carl:chef")};
    gPrivilegierte = {QStringLiteral("NoAdmins")};
    mitarbeiter({QStringLiteral("Verwaltung"), QStringLiteral("vera:Verwaltung Vera"), QStringLiteral("Lager"),
                 QStringLiteral("Tester:Tester Tom"), QStringLiteral("Technik"), QStringLiteral("theo:Technik Theo"),
                 QStringLiteral("Hochlager"), QStringLiteral("hugo:Hoch Hugo")});
  }

  QString anzber() const { return gDatenordner + QStringLiteral("Mitarbeiteranzber.dat"); }
  QString anzgru() const { return gDatenordner + QStringLiteral("Mitarbeiteranzgru.dat"); }
  void berechtigungen(const QStringList& zeilen) {
    schreiben(anzber(), kodiert(QStringList{QStringLiteral("[Mitarbeiteranzber]"), kKennzeile} + zeilen));
  }
  void gruppen(const QStringList& zeilen) {
    schreiben(anzgru(), kodiert(QStringList{QStringLiteral("[Mitarbeiteranzgru]"), kKennzeile} + zeilen));
  }
};

TEST_F(AnzeigeTest, PermissionsOffShowEveryGroup) {
  berechtigungen({QStringLiteral("Lager|Lager:")});
  SetSetting(1, 0);
  Anzber_und_Anzgru_init();
  EXPECT_EQ(gAnzeigeberechtigung, u"AllGroups");
  EXPECT_EQ(gAnzeigeberechtigungen, liste({QStringLiteral("AllGroups")}));
  EXPECT_TRUE(Anzeigeberechtigung_enthält(QStringLiteral("Verwaltung")));
  EXPECT_TRUE(gStartfehler.isEmpty());
}

TEST_F(AnzeigeTest, AdministratorsSeeAllGroupsWithoutARow) {
  berechtigungen({QStringLiteral("Lager|Lager:")});
  gBenutzername = QStringLiteral("chef");
  gBenutzerstufe = 2;
  Anzber_und_Anzgru_init();
  EXPECT_EQ(gAnzeigeberechtigung, u"AllGroups");
  EXPECT_TRUE(gStartfehler.isEmpty());
}

TEST_F(AnzeigeTest, OwnPermissionFromTheGroupAboveTheUsersRow) {
  struct Fall {
    const char* name;
    QStringList zeilen;  // empty: no permission file
    const char* erwartet;
  };
  const std::vector<Fall> fälle{
      {"own line",
       {QStringLiteral("Verwaltung|Verwaltung:Lager:"), QStringLiteral("Lager|Lager:Technik:"),
        QStringLiteral("Lager|Verwaltung:")},
       "Lager:Technik:"},
      {"no line for the group", {QStringLiteral("Verwaltung|Verwaltung:Lager:")}, "Lager:"},
      {"a longer heading is another group", {QStringLiteral("Lagerhalle|Technik:")}, "Lager:"},
      {"no permissions defined", {}, "Lager:"},
  };
  for (const Fall& f : fälle) {
    QFile::remove(anzber());
    gAnzeigeberechtigung.clear();
    if (!f.zeilen.isEmpty()) berechtigungen(f.zeilen);
    Anzber_und_Anzgru_init();
    EXPECT_EQ(gAnzeigeberechtigung, QString::fromUtf8(f.erwartet)) << f.name;
    EXPECT_TRUE(gStartfehler.isEmpty()) << f.name;
  }
  // The user's row is found ignoring case.
  EXPECT_EQ(gBenutzername, u"tester");
  EXPECT_TRUE(Anzeigeberechtigung_enthält(QStringLiteral("Lager")));
  EXPECT_FALSE(Anzeigeberechtigung_enthält(QStringLiteral("Lage")));
  EXPECT_FALSE(Anzeigeberechtigung_enthält(QStringLiteral("Technik")));
}

TEST_F(AnzeigeTest, UserWithoutPermissionGetsTheStartError) {
  const QString admins = ShowAdmins(false);
  struct Fall {
    const char* name;
    int stufe;
    QStringList liste;
    QString erwartet;
  };
  const QString kopf =
      QStringLiteral("Ihrem Windows-Benutzernamen 'tester' wurden keine Anzeigeberechtigungen zugeordnet");
  const QString bitte =
      QStringLiteral(".\r\rBitten Sie einen der folgenden Administratoren, Ihnen Anzeigeberechtigung zu erteilen");
  const std::vector<Fall> fälle{
      {"privileged user without a row",
       1,
       {QStringLiteral("Verwaltung"), QStringLiteral("vera:Vera")},
       kopf +
           QStringLiteral(
               " oder Sie sind nicht mit diesem Windows-Benutzernamen als Mitarbeiter im Velkora eingetragen") +
           bitte + QStringLiteral(" oder Sie als Mitarbeiter einzutragen: ") + admins},
      {"employee whose row has no heading above",
       0,
       {QStringLiteral("tester:Tester Tom"), QStringLiteral("Lager"), QStringLiteral("vera:Vera")},
       kopf + bitte + QStringLiteral(": ") + admins},
  };
  for (const Fall& f : fälle) {
    gStartfehler.clear();
    gBenutzerstufe = f.stufe;
    mitarbeiter(f.liste);
    berechtigungen({QStringLiteral("Lager|Lager:")});
    Anzber_und_Anzgru_init();
    EXPECT_EQ(gStartfehler, f.erwartet) << f.name;
  }
  // An error found earlier in the start stays the one reported.
  gStartfehler = QStringLiteral("früher");
  Anzber_und_Anzgru_init();
  EXPECT_EQ(gStartfehler, u"früher");

  // Without permission lines a row above the first heading is no fault.
  gStartfehler.clear();
  QFile::remove(anzber());
  Anzber_und_Anzgru_init();
  EXPECT_TRUE(gStartfehler.isEmpty());
}

TEST_F(AnzeigeTest, PermissionFileRoundTrip) {
  gAnzeigeberechtigungen =
      liste({QStringLiteral("Verwaltung|Verwaltung:Lager:"), QString(), QStringLiteral("Lager|Lager:Technik:")});
  Mitarbeiteranzber_schreiben();
  EXPECT_EQ(dekodierteZeilen(anzber()),
            (QStringList{QStringLiteral("[Mitarbeiteranzber]"), kKennzeile,
                         QStringLiteral("Verwaltung|Verwaltung:Lager:"), QStringLiteral("Lager|Lager:Technik:")}));
  EXPECT_EQ(gAnzeigeberechtigungen,
            liste({QStringLiteral("Verwaltung|Verwaltung:Lager:"), QStringLiteral("Lager|Lager:Technik:")}));

  // An empty list removes the file.
  gAnzeigeberechtigungen = liste({QString(), QString()});
  Mitarbeiteranzber_schreiben();
  EXPECT_FALSE(QFileInfo::exists(anzber()));
  EXPECT_EQ(gAnzeigeberechtigungen, liste({QStringLiteral("NoGroups")}));
}

TEST_F(AnzeigeTest, WrongHeaderIsAFileError) {
  schreiben(anzber(), kodiert({QStringLiteral("[Mitarbeiteranzgru]"), kKennzeile, QStringLiteral("Lager|Lager:")}));
  ERWARTE_PROGRAMMENDE(Anzber_und_Anzgru_init());
  // The start repair asks with the problem named.
  ASSERT_FALSE(skript->texte().empty());
  EXPECT_TRUE(skript->texte().front().contains(QStringLiteral("Der Dateiheader [Mitarbeiteranzber] der Datei")));

  schreiben(anzgru(), kodiert({QStringLiteral("[Mitarbeiteranzber]"), kKennzeile}));
  SetSetting(1, 0);
  skript = &dialoge::skript();
  ERWARTE_PROGRAMMENDE(Anzber_und_Anzgru_init());
  ASSERT_FALSE(skript->texte().empty());
  EXPECT_TRUE(skript->texte().front().contains(QStringLiteral("Der Dateiheader [Mitarbeiteranzgru] der Datei")));
}

TEST_F(AnzeigeTest, DisplayGroupsAreCleanedAgainstListAndPermission) {
  struct Fall {
    const char* name;
    QString berechtigung;  // the permission line of the group Lager, or empty for permissions off
    QStringList gespeichert;
    QStringList erwartet;
  };
  const std::vector<Fall> fälle{
      {"a group seeing two others",
       QStringLiteral("Lager|Lager:Technik:"),
       {QStringLiteral("Meine|Verwaltung:Technik:Lager:"), QStringLiteral("Nur Technik|Technik:")},
       {QStringLiteral("Meine|Lager:Technik:"), QStringLiteral("Nur Technik|Technik:")}},
      {"group reduced when its groups disappear",
       QString(),
       {QStringLiteral("Alle|Verwaltung:Alte Abteilung:Lager:"), QStringLiteral("Weg|Alte Abteilung:"),
        QStringLiteral("Rest|Technik:")},
       {QStringLiteral("Alle|Verwaltung:Lager:"), QStringLiteral("Rest|Technik:")}},
      {"members compared whole",
       QString(),
       {QStringLiteral("Hoch|Hochlager:"), QStringLiteral("Tief|Lager:Technik:")},
       {QStringLiteral("Hoch|Hochlager:"), QStringLiteral("Tief|Lager:Technik:")}},
      {"member list order follows the employee list",
       QString(),
       {QStringLiteral("Quer|Hochlager:Verwaltung:"), QStringLiteral("Zwei|Technik:Lager:")},
       {QStringLiteral("Quer|Verwaltung:Hochlager:"), QStringLiteral("Zwei|Lager:Technik:")}},
  };
  for (const Fall& f : fälle) {
    SetSetting(1, f.berechtigung.isEmpty() ? 0 : 2);
    if (!f.berechtigung.isEmpty()) berechtigungen({f.berechtigung});
    gruppen(QStringList{QStringLiteral("[anna]"), QStringLiteral("Annas|Verwaltung:")} +
            QStringList{QStringLiteral("[TESTER]")} + f.gespeichert);
    Anzber_und_Anzgru_init();
    EXPECT_EQ(gAnzeigegruppen, liste(f.erwartet)) << f.name;
    EXPECT_EQ(Anzeigegruppen_Anzahl(), f.erwartet.size()) << f.name;
    // Cleaning only holds the result in memory.
    EXPECT_EQ(dekodierteZeilen(anzgru()).mid(5), f.gespeichert) << f.name;
  }
}

TEST_F(AnzeigeTest, OnlyOwnGroupVisibleMeansNoDisplayGroups) {
  berechtigungen({QStringLiteral("Lager|Lager:")});
  gruppen({QStringLiteral("[tester]"), QStringLiteral("Eins|Lager:"), QStringLiteral("Zwei|Lager:Technik:")});
  Anzber_und_Anzgru_init();
  EXPECT_EQ(gAnzeigegruppen, liste({QStringLiteral("NoGroups")}));
  EXPECT_EQ(Anzeigegruppen_Anzahl(), 0);
  EXPECT_FALSE(QFileInfo::exists(anzgru())) << "the only user's block is gone, and with it the file";

  // A renamed heading: the group whose only member it was disappears; when none is
  // left the user's block leaves the file and the others stay.
  SetSetting(1, 0);
  gruppen({QStringLiteral("[tester]"), QStringLiteral("Alt|Altlager:"), QStringLiteral("[vera]"),
           QStringLiteral("Veras|Verwaltung:")});
  Anzber_und_Anzgru_init();
  EXPECT_EQ(gAnzeigegruppen, liste({QStringLiteral("NoGroups")}));
  EXPECT_EQ(dekodierteZeilen(anzgru()), (QStringList{QStringLiteral("[Mitarbeiteranzgru]"), kKennzeile,
                                                     QStringLiteral("[vera]"), QStringLiteral("Veras|Verwaltung:")}));
}

TEST_F(AnzeigeTest, DisplayGroupsSwitchedOffAreNotRead) {
  SetSetting(1, 0);
  SetSetting(17, 1);
  gruppen({QStringLiteral("[tester]"), QStringLiteral("Eins|Lager:"), QStringLiteral("Zwei|Technik:")});
  gAnzeigegruppe = 3;
  Anzber_und_Anzgru_init();
  EXPECT_EQ(gAnzeigegruppen, liste({QStringLiteral("NoGroups")}));
  EXPECT_EQ(gAnzeigegruppe, 0);
}

TEST_F(AnzeigeTest, SavingReplacesOnlyTheUsersBlock) {
  gruppen({QStringLiteral("[vera]"), QStringLiteral("Veras|Verwaltung:"), QStringLiteral("[Tester]"),
           QStringLiteral("Alt|Lager:"), QStringLiteral("Alt2|Technik:"), QStringLiteral("[theo]"),
           QStringLiteral("Theos|Technik:")});
  gAnzeigegruppen = liste({QStringLiteral("Neu|Lager:Technik:"), QStringLiteral("Neu2|Hochlager:")});
  Mitarbeiteranzgru_schreiben();
  EXPECT_EQ(
      dekodierteZeilen(anzgru()),
      (QStringList{QStringLiteral("[Mitarbeiteranzgru]"), kKennzeile, QStringLiteral("[tester]"),
                   QStringLiteral("Neu|Lager:Technik:"), QStringLiteral("Neu2|Hochlager:"), QStringLiteral("[vera]"),
                   QStringLiteral("Veras|Verwaltung:"), QStringLiteral("[theo]"), QStringLiteral("Theos|Technik:")}));

  // Removing the own groups keeps the others'.
  gAnzeigegruppen = liste({QStringLiteral("NoGroups")});
  Mitarbeiteranzgru_schreiben();
  EXPECT_EQ(dekodierteZeilen(anzgru()), (QStringList{QStringLiteral("[Mitarbeiteranzgru]"), kKennzeile,
                                                     QStringLiteral("[vera]"), QStringLiteral("Veras|Verwaltung:"),
                                                     QStringLiteral("[theo]"), QStringLiteral("Theos|Technik:")}));

  // A first save creates the file.
  QFile::remove(anzgru());
  gAnzeigegruppen = liste({QStringLiteral("Neu|Lager:")});
  Mitarbeiteranzgru_schreiben();
  EXPECT_EQ(dekodierteZeilen(anzgru()), (QStringList{QStringLiteral("[Mitarbeiteranzgru]"), kKennzeile,
                                                     QStringLiteral("[tester]"), QStringLiteral("Neu|Lager:")}));
  EXPECT_FALSE(QFileInfo::exists(Anzgru_Sperre::Pfad())) << "the lock is released";
}

TEST_F(AnzeigeTest, LockLeftBehindIsTakenOverAfterTheWait) {
  schreiben(Anzgru_Sperre::Pfad(), "vera|anderer-rechner|4711|abc");
  gAnzeigegruppen = liste({QStringLiteral("Neu|Lager:")});
  Mitarbeiteranzgru_schreiben();
  EXPECT_EQ(dekodierteZeilen(anzgru()).value(3), u"Neu|Lager:");
  double gewartet = 0;
  for (const double s : uhr.schlafprotokoll) gewartet += s;
  EXPECT_GE(gewartet, 9.9);
  EXPECT_LE(gewartet, 11.0);
  EXPECT_FALSE(QFileInfo::exists(Anzgru_Sperre::Pfad()));
  const QStringList übrig = QDir(gDatenordner).entryList(QDir::Files);
  EXPECT_EQ(übrig, QStringList{QStringLiteral("Mitarbeiteranzgru.dat")});
}

TEST_F(AnzeigeTest, LockIsWaitedForWhileItsHolderWorks) {
  // A holder that keeps working (its lock changes) is not taken over, and its lock
  // is not removed by us: we wait until it is released.
  int runde = 0;
  uhr::Quellen q;
  q.schlafen = [&](double s) {
    uhr.sekunden += s;
    ++runde;
    if (runde < 400)
      schreiben(Anzgru_Sperre::Pfad(), QByteArray("vera|rechner|1|") + QByteArray::number(runde / 100));
    else
      QFile::remove(Anzgru_Sperre::Pfad());
  };
  uhr::setze(q);
  schreiben(Anzgru_Sperre::Pfad(), "vera|rechner|1|0");
  {
    const Anzgru_Sperre sperre;
    EXPECT_TRUE(sperre.gehalten());
    EXPECT_GE(runde, 400);
  }
  EXPECT_FALSE(QFileInfo::exists(Anzgru_Sperre::Pfad()));
}

// A holder that keeps working for more than a minute: the save is refused with a
// message, and nothing is written without the lock.
TEST_F(AnzeigeTest, SaveIsRefusedWhenTheLockStaysBusy) {
  gruppen({QStringLiteral("[vera]"), QStringLiteral("Veras|Verwaltung:")});
  const QByteArray vorher = lesen(anzgru());
  int runde = 0;
  uhr::Quellen q;
  q.schlafen = [&](double s) {
    uhr.sekunden += s;
    ++runde;
    schreiben(Anzgru_Sperre::Pfad(), QByteArray("vera|rechner|1|") + QByteArray::number(runde / 20));
  };
  uhr::setze(q);
  schreiben(Anzgru_Sperre::Pfad(), "vera|rechner|1|0");
  gAnzeigegruppen = liste({QStringLiteral("Neu|Lager:")});
  EXPECT_FALSE(Mitarbeiteranzgru_schreiben());
  EXPECT_EQ(lesen(anzgru()), vorher);
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_EQ(skript->texte()[0], Anzgru_Sperre_Meldung());
  EXPECT_TRUE(QFileInfo::exists(Anzgru_Sperre::Pfad())) << "the other's lock stays";
}

// --- two programs saving at the same moment ----------------------------------------

const char* const kKindVariable = "VELKORA_ANZGRU_KIND";
constexpr int kBlöckeJeProzess = 40;

// Run as a separate process by SavingsOfTwoProcessesKeepEveryBlock: saves display
// groups for many users, one after the other, in the given data folder.
TEST_F(AnzeigeTest, KindprozessSpeichertAnzeigegruppen) {
  const QString auftrag = qEnvironmentVariable(kKindVariable);
  if (auftrag.isEmpty()) GTEST_SKIP() << "runs only as the helper process of the two-process test";
  const QStringList teile = auftrag.split(u'|');
  ASSERT_EQ(teile.size(), 2);
  uhr::zurücksetzen();  // real waits between real processes
  gDatenordner = teile[0];
  const QString start = gDatenordner + QStringLiteral("start");
  for (int i = 0; i < 1000 && !QFileInfo::exists(start); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  for (int i = 1; i <= kBlöckeJeProzess; ++i) {
    gBenutzername = teile[1] + QString::number(i);
    gAnzeigegruppen = liste({QStringLiteral("Gruppe ") + gBenutzername + QStringLiteral("|Lager:")});
    Mitarbeiteranzgru_schreiben();
  }
}

TEST_F(AnzeigeTest, SavingsOfTwoProcessesKeepEveryBlock) {
  gruppen({QStringLiteral("[vera]"), QStringLiteral("Veras|Verwaltung:")});
  std::vector<std::unique_ptr<QProcess>> prozesse;
  for (const QString& name : {QStringLiteral("anna"), QStringLiteral("bernd")}) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kKindVariable), gDatenordner + u'|' + name);
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(QCoreApplication::applicationFilePath(),
             {QStringLiteral("--gtest_filter=AnzeigeTest.KindprozessSpeichertAnzeigegruppen")});
    ASSERT_TRUE(p->waitForStarted(10000));
    prozesse.push_back(std::move(p));
  }
  schreiben(gDatenordner + QStringLiteral("start"), "los");
  for (auto& p : prozesse) {
    ASSERT_TRUE(p->waitForFinished(120000));
    const QString ausgabe = QString::fromLocal8Bit(p->readAll());
    EXPECT_EQ(p->exitCode(), 0) << qPrintable(ausgabe);
    EXPECT_TRUE(ausgabe.contains(QStringLiteral("[  PASSED  ] 1 test"))) << qPrintable(ausgabe);
    EXPECT_FALSE(ausgabe.contains(QStringLiteral("SKIPPED"))) << qPrintable(ausgabe);
  }

  const QStringList zeilen = dekodierteZeilen(anzgru());
  ASSERT_GE(zeilen.size(), 2);
  EXPECT_EQ(zeilen[0], u"[Mitarbeiteranzgru]");
  EXPECT_EQ(zeilen[1], kKennzeile);
  QStringList fehlend;
  for (const QString& name : {QStringLiteral("anna"), QStringLiteral("bernd")}) {
    for (int i = 1; i <= kBlöckeJeProzess; ++i) {
      const QString benutzer = name + QString::number(i);
      const qsizetype k = zeilen.indexOf(u'[' + benutzer + u']');
      if (k < 0 || zeilen.value(k + 1) != QStringLiteral("Gruppe ") + benutzer + QStringLiteral("|Lager:"))
        fehlend << benutzer;
    }
  }
  EXPECT_TRUE(fehlend.isEmpty()) << "lost blocks: " << qPrintable(fehlend.join(u' '));
  EXPECT_TRUE(zeilen.contains(QStringLiteral("Veras|Verwaltung:")));
  EXPECT_EQ(zeilen.size(), 2 + 2 + 2 * 2 * kBlöckeJeProzess);
  EXPECT_FALSE(QFileInfo::exists(Anzgru_Sperre::Pfad()));
}

}  // namespace
