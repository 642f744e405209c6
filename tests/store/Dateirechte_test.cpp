// A data folder shared by several accounts through a group: every file the program
// creates in it takes the mode and group of the file it replaces (a new month version:
// the version before it; a new file: the folder's group and the mode of its family's
// files), whatever the umask. Two real processes under two user ids of the group.
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "common/Testumgebung.h"

namespace {

constexpr gid_t kGruppe = 47110;  // the group that shares the data folder
constexpr uid_t kErster = 47101, kZweiter = 47102;

QString Helfer() { return QStringLiteral(VELKORA_BIN_DIR) + QStringLiteral("/velkora_monatsdatei_helfer"); }

struct Recht {
  mode_t modus = 0;
  gid_t gruppe = 0;
};
Recht Recht_von(const QString& pfad) {
  struct stat st {};
  if (::stat(QFile::encodeName(pfad).constData(), &st) != 0) return {};
  return {st.st_mode & 07777, st.st_gid};
}

void Setzen(const QString& pfad, uid_t besitzer, mode_t modus) {
  ASSERT_EQ(::chown(QFile::encodeName(pfad).constData(), besitzer, kGruppe), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(pfad).constData(), modus), 0);
}

// Saves one line of user w<nummer>u0 into month 2603 on day 260310 as the account
// `benutzer` (its own primary group, member of the shared group) with umask 022.
int Speichern_als(uid_t benutzer, const QString& daten, int nummer, QString& ausgabe) {
  QProcess p;
  p.setProgram(Helfer());
  p.setArguments({daten, QStringLiteral("anhaengen"), QString::number(nummer), QStringLiteral("2"), QStringLiteral("1"),
                  QStringLiteral("260310")});
  p.setChildProcessModifier([benutzer] {
    const gid_t gruppen[] = {kGruppe};
    if (::setgroups(1, gruppen) != 0 || ::setgid(benutzer + 100) != 0 || ::setuid(benutzer) != 0) ::_exit(90);
    ::umask(022);
  });
  p.start();
  if (!p.waitForFinished(60000)) return -1;
  ausgabe = QString::fromLocal8Bit(p.readAllStandardError());
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

TEST(Dateirechte, NeueDateienImGeteiltenOrdnerBehaltenModusUndGruppe) {
  if (::geteuid() != 0)
    GTEST_SKIP() << "needs root: the second workstation runs as another user id, which only root can set";
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  ASSERT_EQ(::chmod(QFile::encodeName(tmp.path()).constData(), 0711), 0);
  const QString daten = tmp.path() + QStringLiteral("/Data/");
  ASSERT_TRUE(QDir().mkdir(daten));
  // The folder is shared through its group; it has no set-group-id bit, so the group of
  // a new file is the program's doing.
  Setzen(daten, 0, 0770);

  const QStringList monat{QStringLiteral("[2603]"), QStringLiteral("Kennung"), QStringLiteral("NoEx:NoEx"),
                          QStringLiteral("A:w1u1:") + tage(QStringLiteral("1"))};
  struct Fall {
    const char* was;
    QString vorhanden;  // the file written before, by the first account
    QStringList inhalt;
    QString neu;  // the file the first account's save creates
  } fälle[] = {
      {"neue Version des Monats", QStringLiteral("2603 260309 Data.dat"), monat,
       QStringLiteral("2603 260310 Data.dat")},
      {"neuer Monat neben einem anderen", QStringLiteral("2602 260201 Data.dat"),
       QStringList{QStringLiteral("[2602]"), QStringLiteral("Kennung"), QStringLiteral("NoEx:NoEx")},
       QStringLiteral("2603 260310 Data.dat")},
  };
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.was);
    for (const QString& n : QDir(daten).entryList(QDir::Files | QDir::Hidden)) QFile::remove(daten + n);
    schreiben(daten + f.vorhanden, kodierteDatei(f.inhalt));
    Setzen(daten + f.vorhanden, kErster, 0660);

    QString fehler;
    ASSERT_EQ(Speichern_als(kErster, daten, 0, fehler), 0) << qPrintable(fehler);
    const Recht r = Recht_von(daten + f.neu);
    EXPECT_EQ(r.modus, 0660u) << "umask 022 must not take the group's write right";
    EXPECT_EQ(r.gruppe, kGruppe);
    // The other account of the group saves into the file the first one created.
    ASSERT_EQ(Speichern_als(kZweiter, daten, 1, fehler), 0) << qPrintable(fehler);
    const QStringList zeilen = dekodierteZeilen(daten + f.neu);
    EXPECT_TRUE(zeilen.contains(QStringLiteral("A:w0u0:") + tage(QStringLiteral("1"))));
    EXPECT_TRUE(zeilen.contains(QStringLiteral("A:w1u0:") + tage(QStringLiteral("1"))));
    EXPECT_EQ(zeilen.value(0), QStringLiteral("[2603]"));
  }
}

// The month lock of one account of the group takes the folder's rights as well (the
// umask would cut the group's right to read it, and its group would be the account's
// own): the other account can read it, and its save is refused while the lock is held.
TEST(Dateirechte, MonatssperreNimmtDieRechteDesOrdnersUndHaeltDenAnderenAb) {
  if (::geteuid() != 0)
    GTEST_SKIP() << "needs root: the second workstation runs as another user id, which only root can set";
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  ASSERT_EQ(::chmod(QFile::encodeName(tmp.path()).constData(), 0711), 0);
  const QString daten = tmp.path() + QStringLiteral("/Data/");
  ASSERT_TRUE(QDir().mkdir(daten));
  Setzen(daten, 0, 0770);

  QProcess halter;
  halter.setProgram(Helfer());
  halter.setArguments({daten, QStringLiteral("halten"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("1"),
                       QStringLiteral("260310")});
  halter.setChildProcessModifier([] {
    const gid_t gruppen[] = {kGruppe};
    if (::setgroups(1, gruppen) != 0 || ::setgid(kErster + 100) != 0 || ::setuid(kErster) != 0) ::_exit(90);
    ::umask(022);
  });
  halter.start();
  ASSERT_TRUE(halter.waitForReadyRead(30000)) << qPrintable(QString::fromLocal8Bit(halter.readAllStandardError()));
  ASSERT_TRUE(halter.readAllStandardOutput().startsWith("bereit"));

  const QString sperre = daten + QStringLiteral("~2603.vklock");
  const Recht r = Recht_von(sperre);
  EXPECT_EQ(r.modus, 0660u);
  EXPECT_EQ(r.gruppe, kGruppe);
  QString fehler;
  EXPECT_NE(Speichern_als(kZweiter, daten, 1, fehler), 0) << "saved beside a held lock";
  EXPECT_TRUE(QDir(daten).entryList({QStringLiteral("*Data.dat")}, QDir::Files).isEmpty());

  halter.terminate();
  ASSERT_TRUE(halter.waitForFinished(30000));
  EXPECT_FALSE(QFile::exists(sperre));
  ASSERT_EQ(Speichern_als(kZweiter, daten, 1, fehler), 0) << qPrintable(fehler);
}

}  // namespace
