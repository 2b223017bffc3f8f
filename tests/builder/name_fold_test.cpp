#include "builder/name_fold.h"

#include <gtest/gtest.h>

#include <string>

#include "builder/settings_index.h"

namespace {

TEST(NameFold, AsciiNamesFoldExactlyAsBefore) {
  for (const char* name : {"OPENER", "Mixed Case 12!@[\\]^_`{~", "\t\x01Zz \x7F", "", " Opener "}) {
    EXPECT_EQ(FoldName(name), FoldAscii(name)) << name;
  }
}

TEST(NameFold, NamesPeopleWriteAlikeFoldAlike) {
  const struct {
    const char* a;
    const char* b;
    const char* shown;  // the folded form both give
  } cases[] = {
      {"Ünder Pressure", "ünder PRESSURE", "ünder pressure"},
      {"Cafe\u0301 del Mar", "CAFÉ DEL MAR", "café del mar"},  // decomposed, composed
      {"STRASSE", "Straße", "strasse"},
      {"ΣΊΣΥΦΟΣ", "σίσυφος", "σίσυφοσ"},  // final sigma too
      {"ЁЛКА", "ёлка", "ёлка"},
      {"Ｍｅｅｔ", "ｍＥＥＴ", "ｍｅｅｔ"},
      // Several non-ASCII runs: marks that join the letter before them, runs that shrink or grow
      // when folded, and runs that keep their length after one that did not.
      {"ÉTÉ À Paris", "e\u0301te\u0301 a\u0300 paris", "été à paris"},
      {"Straße ÄRGER", "STRASSE ärger", "strasse ärger"},
      {"\u212AELVIN\u0301", "kelvi\u0144", "kelvi\u0144"},  // Kelvin sign
      {"\u212A\u0301", "\u1E30", "\u1E31"},                // a mark joins the folded letter
  };
  // Twice: the second time the pieces come from the folds remembered the first time.
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& c : cases) {
      EXPECT_EQ(FoldName(c.a), c.shown) << c.a;
      EXPECT_EQ(FoldName(c.b), c.shown) << c.b;
    }
  }
}

TEST(NameFold, DifferentNamesStayDifferent) {
  const struct {
    const char* a;
    const char* b;
  } cases[] = {
      {"Café", "Cafe"},
      {"Ünder ", "ünder"},          // blanks are significant
      {"a\u00A0b", "a b"},          // a no-break space is not a blank
      {"Ｍｅｅｔ", "meet"},         // width is not case
      {"ЁЛКА", "ЕЛКА"},
  };
  for (const auto& c : cases) EXPECT_NE(FoldName(c.a), FoldName(c.b)) << c.a << " / " << c.b;
}

TEST(NameFold, TextThatIsNotUtf8FoldsItsAsciiLettersOnly) {
  EXPECT_EQ(FoldName("CAF\xE9 \xC3"), "caf\xE9 \xC3");
  EXPECT_EQ(FoldName("\xFF" "A\xC3\x89"), "\xFF" "a\xC3\xA9");  // the damaged run alone is kept
  std::string in_place = "\xCE\xA3X";
  FoldNameInPlace(in_place);
  EXPECT_EQ(in_place, "σx");
}

}  // namespace
