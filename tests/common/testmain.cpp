// Test main: a QApplication on the offscreen platform (also when QT_QPA_PLATFORM is
// set but empty), fatal stops observable as exceptions.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/Programmende.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  programmende::setzeTestmodus(true);
  return RUN_ALL_TESTS();
}
