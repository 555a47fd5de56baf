// The language the programs without Qt speak, as the environment asks for it, and the filling
// of a message's placeholders that every translated sentence goes through.
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/translation.h"

namespace {

using Languages = std::vector<std::string>;

constexpr const char* VARIABLES[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

// Each case sets the four variables it names and no others; they are put back afterwards.
class RequestedLanguages : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* name : VARIABLES) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (std::size_t i = 0; i < std::size(VARIABLES); ++i) {
      if (saved_[i])
        setenv(VARIABLES[i], saved_[i]->c_str(), 1);
      else
        unsetenv(VARIABLES[i]);
    }
  }
  static Languages With(const char* language, const char* all, const char* messages,
                        const char* lang) {
    const char* values[] = {language, all, messages, lang};
    for (std::size_t i = 0; i < std::size(VARIABLES); ++i) {
      if (values[i])
        setenv(VARIABLES[i], values[i], 1);
      else
        unsetenv(VARIABLES[i]);
    }
    return translation::requested_languages();
  }

private:
  std::vector<std::optional<std::string>> saved_;
};

TEST_F(RequestedLanguages, LanguageListWinsThenTheFirstLocaleVariableSetInItsOrder) {
  EXPECT_EQ(With("fr:de", "es_ES.UTF-8", "it_IT.UTF-8", "pt_PT.UTF-8"), (Languages{"fr", "de"}));
  EXPECT_EQ(With(nullptr, "es_ES.UTF-8", "it_IT.UTF-8", "pt_PT.UTF-8"), (Languages{"es_ES", "es"}));
  EXPECT_EQ(With(nullptr, nullptr, "it_IT.UTF-8", "pt_PT.UTF-8"), (Languages{"it_IT", "it"}));
  EXPECT_EQ(With(nullptr, nullptr, nullptr, "pt_PT.UTF-8"), (Languages{"pt_PT", "pt"}));
  EXPECT_EQ(With("", "", "", "de_DE.UTF-8"), (Languages{"de_DE", "de"}))
      << "an empty variable counts as not set";
  EXPECT_EQ(With(":fr::de:", nullptr, nullptr, nullptr), (Languages{"fr", "de"}))
      << "empty entries of the list are skipped";
}

TEST_F(RequestedLanguages, CAndPosixAndNothingSetAreEnglish) {
  EXPECT_EQ(With(nullptr, nullptr, nullptr, nullptr), Languages{});
  EXPECT_EQ(With(nullptr, "C", nullptr, "de_DE.UTF-8"), Languages{})
      << "LC_ALL=C is a choice of its own, not a gap";
  EXPECT_EQ(With(nullptr, "POSIX", nullptr, nullptr), Languages{});
  EXPECT_EQ(With(nullptr, "C.UTF-8", nullptr, nullptr), Languages{});
  EXPECT_EQ(With("C", "de_DE.UTF-8", nullptr, nullptr), (Languages{"de_DE", "de"}))
      << "a LANGUAGE of C alone asks for nothing, so the locale speaks";
}

TEST_F(RequestedLanguages, EnglishEndsTheList) {
  EXPECT_EQ(With("de:en:fr", nullptr, nullptr, nullptr), (Languages{"de"}));
  EXPECT_EQ(With("en_GB:fr", nullptr, nullptr, nullptr), Languages{});
  EXPECT_EQ(With(nullptr, nullptr, nullptr, "en_US.UTF-8"), Languages{});
}

TEST_F(RequestedLanguages, ALocaleGivesItsLanguageWithTheCountryThenWithout) {
  EXPECT_EQ(With(nullptr, nullptr, nullptr, "de_AT.UTF-8@euro"), (Languages{"de_AT", "de"}));
  EXPECT_EQ(With(nullptr, nullptr, nullptr, "ca_ES@valencia"), (Languages{"ca_ES", "ca"}));
  EXPECT_EQ(With("de_CH:de_AT:fr", nullptr, nullptr, nullptr),
            (Languages{"de_CH", "de", "de_AT", "fr"}))
      << "each language once, in the order first asked for";
}

TEST_F(RequestedLanguages, ALanguageWithASlashIsNotAName) {
  // gettext would read a catalogue from the path it spells.
  EXPECT_EQ(With("../../tmp/x:fr", nullptr, nullptr, nullptr), (Languages{"fr"}));
  EXPECT_EQ(With(nullptr, nullptr, nullptr, "/tmp/evil"), Languages{});
  EXPECT_EQ(With("/tmp/evil", "de_DE.UTF-8", nullptr, nullptr), (Languages{"de_DE", "de"}));
}

TEST(FilledMessage, PlaceholdersTakeTheirValuesInAnyOrderAndOnlyOnce) {
  using translation::filled;
  EXPECT_EQ(filled("%1 is down; bring it up first (ip link set %1 up)", {"eth0"}),
            "eth0 is down; bring it up first (ip link set eth0 up)");
  EXPECT_EQ(filled("%2 (%1)", {"first", "second"}), "second (first)");
  EXPECT_EQ(filled("%1", {"%2 stays"}), "%2 stays") << "a value is not filled in turn";
  EXPECT_EQ(filled("100%% of %1, %3 and 50%", {"a", "b"}), "100% of a, %3 and 50%")
      << "a placeholder without a value, and a lone %, are kept";
}

} // namespace
