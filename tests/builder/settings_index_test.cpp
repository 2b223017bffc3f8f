// The name index the build joins through: every registered name found again under its own id
// as the table grows, names that differ only slightly kept apart, rows kept in order.
#include "builder/settings_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SettingsIndex, FindsEveryNameUnderItsIdAcrossGrowth) {
  SettingsIndex index;
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) names.push_back("song " + std::to_string(i));
  names.push_back("");  // an empty name is a name like any other
  for (size_t i = 0; i < names.size(); ++i) ASSERT_EQ(index.AddEntry(names[i]), static_cast<int32_t>(i));
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(index.Find(names[i]), static_cast<int32_t>(i)) << names[i];
    EXPECT_EQ(index.AddEntry(names[i]), static_cast<int32_t>(i)) << "registered twice: " << names[i];
    EXPECT_EQ(index.Name(static_cast<int32_t>(i)), names[i]);
  }
  for (const char* absent : {"song 5000", "song 01", "song", "song 1 ", "Song 1"}) EXPECT_EQ(index.Find(absent), -1) << absent;
}

TEST(SettingsIndex, EmptyIndexFindsNothingAndRowsKeepTheirOrder) {
  SettingsIndex index;
  EXPECT_EQ(index.Find("anything"), -1);
  const int32_t a = index.AddEntry("a"), b = index.AddEntry("b");
  for (int32_t row : {1, 4, 9}) index.AddRow(a, row);
  index.AddRow(b, 5);
  std::vector<int32_t> seen;
  EXPECT_EQ(index.ForEachRow(a, [&](int32_t row) { seen.push_back(row); }), 3u);
  EXPECT_EQ(seen, (std::vector<int32_t>{1, 4, 9}));
  EXPECT_EQ(index.ForEachRow(index.AddEntry("c"), [](int32_t) {}), 0u);
}

}  // namespace
