#include "store/Einrichtung.h"

#include <QDir>

#include "common/Testumgebung.h"
#include "platform/Uhr.h"
#include "startup/Start.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {

class EinrichtungTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gKennzeile = QStringLiteral("Kennung A");
    gPlanungsjahr = 2025;
  }
};

// Two workstations set up one empty folder at the same moment: the default file the
// other one wrote while this one was writing its own stays; this one's is dropped.
TEST_F(EinrichtungTest, VomAnderenArbeitsplatzInzwischenGeschriebeneStandarddateiBleibt) {
  const QString pfad = gDatenordner + QStringLiteral("Mitarbeiterdaten.dat");
  const QByteArray anderer = kodiert({QStringLiteral("[Mitarbeiterdaten]"), QStringLiteral("Kennung B"),
                                      QStringLiteral("2025"), QStringLiteral("NoNames")});
  bool geschrieben = false;
  uhr::Quellen q;
  q.monoton = [&] {
    // The moment this one's file is closed.
    if (!geschrieben) schreiben(pfad, anderer);
    geschrieben = true;
    return 0.0;
  };
  uhr::setze(q);
  Inst_Mitarbeiterdaten_schreiben();
  EXPECT_TRUE(geschrieben);
  EXPECT_EQ(lesen(pfad), anderer);
  EXPECT_EQ(QDir(gDatenordner).entryList(QDir::Files), QStringList{QStringLiteral("Mitarbeiterdaten.dat")});
}

TEST_F(EinrichtungTest, StandarddateiWirdGanzGeschrieben) {
  const QString pfad = gDatenordner + QStringLiteral("Mitarbeiterdaten.dat");
  Inst_Mitarbeiterdaten_schreiben();
  EXPECT_EQ(dekodierteZeilen(pfad), (QStringList{QStringLiteral("[Mitarbeiterdaten]"), QStringLiteral("Kennung A"),
                                                 QStringLiteral("2025"), QStringLiteral("NoNames")}));
  EXPECT_EQ(QDir(gDatenordner).entryList(QDir::Files), QStringList{QStringLiteral("Mitarbeiterdaten.dat")});
}

}  // namespace
