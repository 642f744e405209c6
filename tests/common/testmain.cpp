// Test main: a QApplication on the offscreen platform (also when QT_QPA_PLATFORM is
// set but empty), fatal stops observable as exceptions.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstdio>

#include "platform/Programmende.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
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
