// SPDX-License-Identifier: GPL-3.0-or-later
// Where sites' data is kept (a damaged cookie file put aside, never replaced unseen; a file that
// cannot be written keeping nothing) and the dictionaries that text fields are checked with.
#include "core/site_data.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "core/spelling.h"

using namespace vel;
namespace fs = std::filesystem;

TEST(SiteData, ADamagedCookieFileIsPutAsideAndOneThatCannotBeOpenedKeepsNothing) {
  std::string name = (fs::temp_directory_path() / "vel-site-data-XXXXXX").string();
  const fs::path root = mkdtemp(name.data());
  const SiteDataFolders f = site_data_folders(root / "data", root / "cache", "org.example.Vel");
  const fs::path cookies = f.data / kCookieFile;
  const auto write = [](const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  };
  const auto read = [](const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  ASSERT_TRUE(prepare_site_data(f).keep);
  const std::string store = std::string("SQLite format 3") + '\0' + "and the cookies";
  write(cookies, store);
  EXPECT_EQ(prepare_site_data(f).problem, "");  // a store is left as it is
  EXPECT_EQ(read(cookies), store);

  write(cookies, "not a database");
  SiteDataCheck check = prepare_site_data(f);
  EXPECT_TRUE(check.keep);
  EXPECT_NE(check.detail.find(cookies.string() + ".damaged"), std::string::npos) << check.detail;
  EXPECT_EQ(read(cookies.string() + ".damaged"), "not a database");
  EXPECT_EQ(read(cookies), "");  // a new store is begun
  write(cookies, "SQLite");      // a second goes beside the first
  prepare_site_data(f);
  EXPECT_EQ(read(cookies.string() + ".damaged-2"), "SQLite");

  // (A folder that cannot be made: the window test.)
  fs::remove(cookies);
  fs::create_directories(cookies);
  check = prepare_site_data(f);
  EXPECT_FALSE(check.keep);
  EXPECT_NE(check.detail.find(cookies.string() + ": Is a directory"), std::string::npos);
  fs::remove_all(root);
}

TEST(Spelling, TheUsersInstalledLanguagesInOrderElseEnglish) {
  const auto installed = [](const std::string& code) {
    return code == "de_DE" || code == "en_GB" || code == "en_US" || code == "fr_FR";
  };
  EXPECT_EQ(
      spelling_languages({"de_AT.UTF-8", "de_AT", "de", "en_GB", "fr_FR@euro", "C"}, installed),
      (std::vector<std::string>{"de_DE", "en_GB", "fr_FR"}));
  EXPECT_EQ(spelling_languages({"C.UTF-8", "C"}, installed), (std::vector<std::string>{"en_US"}));
  EXPECT_TRUE(spelling_languages({"pt_BR"}, [](const std::string&) { return false; }).empty());
}
