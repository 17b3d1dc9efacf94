#include "browser/address_history.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

using vel::AddressHistory;

TEST(AddressHistory, KeepsEveryEntryInOrderAsTyped) {
  AddressHistory history;
  EXPECT_TRUE(history.empty());
  const std::string with_nul("a\0b", 3);
  const std::vector<std::string> typed = {"example.com", "", "example.com", with_nul, " x "};
  for (const auto& text : typed) history.append(text);
  EXPECT_EQ(history.entries(), typed);  // duplicates, empty text, NULs and spaces all kept
  EXPECT_EQ(history.size(), typed.size());
  EXPECT_EQ(history.at(3), with_nul);
}

TEST(AddressHistory, IndicesPastTheEndGiveNothing) {
  AddressHistory history;
  EXPECT_FALSE(history.at(0));
  history.append("a");
  EXPECT_EQ(history.at(0), "a");
  EXPECT_FALSE(history.at(1));
  EXPECT_FALSE(history.at(std::numeric_limits<std::size_t>::max()));
  EXPECT_EQ(history.size(), 1u);  // a bad read changes nothing
}

TEST(AddressHistory, LongEntriesAreKeptWhole) {
  AddressHistory history;
  const std::string long_text(1 << 20, 'x');
  history.append(long_text);
  history.append("after");
  EXPECT_EQ(history.at(0)->size(), long_text.size());
  EXPECT_EQ(history.at(1), "after");
}
