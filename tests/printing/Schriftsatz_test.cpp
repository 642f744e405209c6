// The font set a run of the printing tests is registered for is the one in force: a set
// whose face is missing would quietly fall back to another one, and its run would only
// repeat the run of that other set.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QRegularExpression>

namespace {

// The family without the foundry Qt adds when two foundries have a face of that name.
QString Familie(const QFont& f) {
  static const QRegularExpression gießerei(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
  return QFontInfo(f).family().remove(gießerei);
}

TEST(Schriftsatz, ArialWirdVonDerSchriftDesSatzesVertreten) {
  const QString erwartet = qEnvironmentVariable("VELKORA_ARIAL_ERSATZ");
  if (erwartet.isEmpty()) GTEST_SKIP() << "started without a font set (tests/printing/CMakeLists.txt)";
  // Every style the layouts print in.
  for (const bool fett : {false, true})
    for (const bool kursiv : {false, true}) {
      SCOPED_TRACE(QStringLiteral("fett %1, kursiv %2").arg(fett).arg(kursiv).toStdString());
      QFont f(QStringLiteral("Arial"));
      f.setPointSizeF(10);
      f.setBold(fett);
      f.setItalic(kursiv);
      EXPECT_EQ(Familie(f).toStdString(), erwartet.toStdString())
          << "the set's fonts are installed by tools/setup.sh test";
    }
}

}  // namespace
