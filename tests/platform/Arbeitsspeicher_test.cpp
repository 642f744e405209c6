#include "platform/Arbeitsspeicher.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace {

long Seitenfehler() {
  struct rusage r {};
  getrusage(RUSAGE_SELF, &r);
  return r.ru_minflt;
}

// What a save builds and drops: a month's worth of short strings and one buffer of
// the month's size.
void Einen_Monat_bauen_und_freigeben() {
  QStringList zeilen;
  zeilen.reserve(1100);
  for (int i = 0; i < 1100; ++i) zeilen << QString(90, QChar(u'a' + i % 26));
  QByteArray puffer(100 * 1024, 'x');
  ASSERT_EQ(puffer.size(), 100 * 1024);
  ASSERT_EQ(zeilen.size(), 1100);
}

}  // namespace

// Memory freed by one save is there for the next: the second and later rounds do not
// fault its pages in again (without the setting the heap's top is handed back after
// every round, about 60 faults a round).
TEST(Arbeitsspeicher, FreigegebenerSpeicherDientDerNaechstenArbeit) {
  Arbeitsspeicher_einrichten();
  Einen_Monat_bauen_und_freigeben();
  const long vorher = Seitenfehler();
  for (int runde = 0; runde < 50; ++runde) Einen_Monat_bauen_und_freigeben();
  EXPECT_LT(Seitenfehler() - vorher, 50);
}
