// Test main: a QApplication on the offscreen platform (also when QT_QPA_PLATFORM is
// set but empty), fatal stops observable as exceptions, and a runtime folder of the
// test program's own: it is a machine of its own, whose starts (and the programs it
// starts) keep their single-instance guards apart from every other test program's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>

#include "platform/Programmende.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QTemporaryDir laufzeit;
  if (!laufzeit.isValid()) {
    std::fprintf(stderr, "no temporary folder for the runtime folder\n");
    return 1;
  }
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(laufzeit.path()));
  QApplication app(argc, argv);
  // A locale asked for but not installed would leave the C one in place silently.
  if (const QByteArray verlangt = qgetenv("LC_ALL"); !verlangt.isEmpty() && !std::setlocale(LC_ALL, "")) {
    std::fprintf(stderr, "LC_ALL=%s: this locale is not installed (Debian: package locales, locale-gen)\n",
                 verlangt.constData());
    return 1;
  }
  programmende::setzeTestmodus(true);
  return RUN_ALL_TESTS();
}
