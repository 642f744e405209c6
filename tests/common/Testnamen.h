#pragma once
// Names for the cases of parameterised suites. A case keeps its name from run to run
// and across builds, so a failure named in a log can be rerun with --gtest_filter or
// ctest -R: letters and digits of a text stay (umlauts and ß spelled out), every other
// run of characters becomes one underscore.
#include <gtest/gtest.h>

#include <QString>
#include <string>

std::string testname(const QString& text);
inline std::string testname(const char* text) { return testname(QString::fromUtf8(text)); }
inline std::string testname(const char16_t* text) { return testname(QString::fromUtf16(text)); }
inline std::string testname(const std::string& text) { return testname(QString::fromStdString(text)); }

// The generator for suites whose cases carry their name in the member `name`.
struct NachName {
  template <class Fall>
  std::string operator()(const ::testing::TestParamInfo<Fall>& info) const {
    return testname(info.param.name);
  }
};
