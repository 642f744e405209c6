#include "config/Codeabbildung.h"

#include <gtest/gtest.h>

namespace {

struct Fall {
  const char* name;
  int alt;
  QList<int> gelöscht;
  int neu;
  const char* vorher;
  const char* nachher;
};

// Six buttons with the non-working-day mark "8"; blanks are no entry.
TEST(CodeabbildungTest, SpeichernDesEditorsTraegtJedenCodeAufSeineNeueNummer) {
  const Fall fälle[] = {
      {"button 2 deleted", 6, {2}, 5, "1234568 ", "1 23457 "},
      {"a seventh added", 6, {}, 7, "1234568 ", "1234569 "},
      {"2 deleted, one added in row 9", 6, {2}, 6, "1234568 ", "1 23458 "},
      {"2 and 4 deleted", 6, {2, 4}, 4, "1234568 ", "1 2 346 "},
      {"nothing changed", 6, {}, 6, "1234568 ", "1234568 "},
  };
  for (const Fall& f : fälle) {
    const Codeabbildung a = Codeabbildung_Schaltflächen(f.alt, f.gelöscht, f.neu);
    EXPECT_EQ(Tageszeile_umschlüsseln(QStringLiteral("A:anna:") + QString::fromUtf8(f.vorher), a),
              QStringLiteral("A:anna:") + QString::fromUtf8(f.nachher))
        << f.name;
  }
}

TEST(CodeabbildungTest, NurDieCodesHinterDemSchluesselDerEintragszeilenAendernSich) {
  const Codeabbildung a = Codeabbildung_Schaltflächen(6, {2}, 5);
  // A user name holding code characters keeps them; comments and other lines stay.
  EXPECT_EQ(Tageszeile_umschlüsseln(QStringLiteral("A:u2:2283"), a), QStringLiteral("A:u2:  72"));
  EXPECT_EQ(Tageszeile_umschlüsseln(QStringLiteral("K:anna:02-04:Urlaub 2"), a),
            QStringLiteral("K:anna:02-04:Urlaub 2"));
  EXPECT_EQ(Tageszeile_umschlüsseln(QStringLiteral("NoEx:NoEx"), a), QStringLiteral("NoEx:NoEx"));
  EXPECT_EQ(Tageszeile_umschlüsseln(QStringLiteral("A:"), a), QStringLiteral("A:"));
}

TEST(CodeabbildungTest, VerschiebenEinerSchaltflaecheRueckteDieDazwischenAuf) {
  struct V {
    int von, nach;
    const char* vorher;
    const char* nachher;
  };
  const V fälle[] = {{2, 5, "123456 8", "152346 8"}, {5, 2, "123456 8", "134526 8"}, {10, 12, "9ABCD", "9CABD"}};
  for (const V& v : fälle)
    EXPECT_EQ(Tageszeile_umschlüsseln(QStringLiteral("A:x:") + QString::fromUtf8(v.vorher),
                                      Codeabbildung_Verschieben(v.von, v.nach)),
              QStringLiteral("A:x:") + QString::fromUtf8(v.nachher))
        << v.von << " -> " << v.nach;
}

}  // namespace
