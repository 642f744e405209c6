// A second copy of the program for the same user on the same machine, end to end: two
// program processes with different temporary folders but one runtime folder (one
// login of one machine).
#include <QProcessEnvironment>

#include "common/Arbeitsplatzprozess.h"
#include "common/Testumgebung.h"

namespace {

class ZweiteKopieTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    basis = ordner();
    Arbeitsplatzordner_anlegen(basis);
  }
  // The machine's runtime folder, and a temporary folder of the start's own.
  QProcessEnvironment start(const QString& temp) const {
    QProcessEnvironment env;
    env.insert(QStringLiteral("TEMP"), basis + temp);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), basis + QStringLiteral("Laufzeit"));
    return env;
  }
  QString basis;
};

TEST_F(ZweiteKopieTest, DerselbeBenutzerMitAnderemTempWirdAbgewiesen) {
  struct Fall {
    const char* erster;
    const char* zweiter;
    bool abgewiesen;
  };
  // The user is the user name, letter case ignored, as the employee lookups see it; a
  // name with a character no file name holds is a user like any other.
  const Fall fälle[] = {{"anna", "anna", true}, {"anna", "ANNA", true}, {"anna", "berta", false}, {"x/y", "X/Y", true}};
  for (const Fall& f : fälle) {
    SCOPED_TRACE(std::string(f.erster) + " / " + f.zweiter);
    basis = unterordner(QString::fromUtf8(f.erster).replace(u'/', u'_') + u'-' +
                        QString::fromUtf8(f.zweiter).replace(u'/', u'_'));
    Arbeitsplatzordner_anlegen(basis);
    Arbeitsplatz erster(QString::fromUtf8(f.erster), basis, QStringLiteral("140426"), {},
                        start(QStringLiteral("Temp1")));
    ASSERT_EQ(erster.zeile(), u"ready 2604") << erster.fehlerausgabe();
    Arbeitsplatz zweiter(QString::fromUtf8(f.zweiter), basis, QStringLiteral("140426"), {},
                         start(QStringLiteral("Temp2")));
    if (f.abgewiesen) {
      EXPECT_EQ(zweiter.zeile(), u"error no main window: Programm ist bereits gestartet") << zweiter.fehlerausgabe();
      EXPECT_EQ(zweiter.endeAbwarten(), 1);
    } else {
      EXPECT_EQ(zweiter.zeile(), u"ready 2604") << zweiter.fehlerausgabe();
      EXPECT_EQ(zweiter.beenden(), 0);
    }
    // The first copy runs on unharmed.
    EXPECT_EQ(erster.ok(QStringLiteral("month 5")), u"2605");
    EXPECT_EQ(erster.beenden(), 0);
  }
}

TEST_F(ZweiteKopieTest, EineGetoeteteKopieSperrtDenNaechstenStartNicht) {
  {
    Arbeitsplatz erster(QStringLiteral("anna"), basis, QStringLiteral("140426"), {}, start(QStringLiteral("Temp1")));
    ASSERT_EQ(erster.zeile(), u"ready 2604") << erster.fehlerausgabe();
    // Leaving the scope kills the process (SIGKILL): nothing of its end runs.
  }
  Arbeitsplatz zweiter(QStringLiteral("anna"), basis, QStringLiteral("140426"), {}, start(QStringLiteral("Temp2")));
  EXPECT_EQ(zweiter.zeile(), u"ready 2604") << zweiter.fehlerausgabe();
  EXPECT_EQ(zweiter.beenden(), 0);
  // And an orderly end lets the next start in as well.
  Arbeitsplatz dritter(QStringLiteral("anna"), basis, QStringLiteral("140426"), {}, start(QStringLiteral("Temp1")));
  EXPECT_EQ(dritter.zeile(), u"ready 2604") << dritter.fehlerausgabe();
  EXPECT_EQ(dritter.beenden(), 0);
}

}  // namespace
