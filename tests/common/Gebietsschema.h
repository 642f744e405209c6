#pragma once
// Tests that run once under the C library's plain locale and once under the users'
// German one (decimal comma): the program's number and date texts must not follow
// the process locale. A locale that is not installed fails the test loudly instead
// of falling back to C without a word.
#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <ostream>
#include <string>

struct Gebietsschemafall {
  const char* name;          // for setlocale
  const char* dezimalpunkt;  // what localeconv must then give
  const char* kurzname;      // in the test name
};

inline void PrintTo(const Gebietsschemafall& f, std::ostream* os) { *os << f.name; }

inline const Gebietsschemafall kGebietsschemata[] = {{"C", ".", "C"}, {"de_DE.UTF-8", ",", "deDE"}};

// Sets the locale for its lifetime and restores the one before.
class Gebietsschemawechsel {
 public:
  explicit Gebietsschemawechsel(const Gebietsschemafall& f) : mAlt(std::setlocale(LC_ALL, nullptr)) {
    mGesetzt =
        std::setlocale(LC_ALL, f.name) != nullptr && std::string(std::localeconv()->decimal_point) == f.dezimalpunkt;
  }
  ~Gebietsschemawechsel() { std::setlocale(LC_ALL, mAlt.c_str()); }
  Gebietsschemawechsel(const Gebietsschemawechsel&) = delete;
  Gebietsschemawechsel& operator=(const Gebietsschemawechsel&) = delete;
  bool gesetzt() const { return mGesetzt; }

 private:
  std::string mAlt;
  bool mGesetzt = false;
};

// A fixture Basis whose tests run under each locale of kGebietsschemata.
template <class Basis>
class UnterGebietsschema : public Basis, public ::testing::WithParamInterface<Gebietsschemafall> {
 protected:
  void SetUp() override {
    Basis::SetUp();
    mWechsel.emplace(GetParam());
    ASSERT_TRUE(mWechsel->gesetzt()) << "Das Gebietsschema " << GetParam().name
                                     << " fehlt oder hat nicht das Dezimalzeichen '" << GetParam().dezimalpunkt
                                     << "' (Debian: Paket locales, locale-gen)";
  }
  void TearDown() override {
    mWechsel.reset();
    Basis::TearDown();
  }

 private:
  std::optional<Gebietsschemawechsel> mWechsel;
};

inline std::string Gebietsschemaname(const ::testing::TestParamInfo<Gebietsschemafall>& info) {
  return info.param.kurzname;
}

#define INSTANTIATE_GEBIETSSCHEMATA(Fixture) \
  INSTANTIATE_TEST_SUITE_P(Gebietsschemata, Fixture, ::testing::ValuesIn(kGebietsschemata), Gebietsschemaname)
