// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/download_names.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <tuple>

namespace fs = std::filesystem;

TEST(DownloadNames, ASuggestedNameCannotLeaveTheFolderHideOrBeEmpty) {
  const std::tuple<const char*, std::string, const char*> rows[] = {
      {"a plain name is kept", "report.pdf", "report.pdf"},
      {"inner spaces, dots and UTF-8 are kept", "März v2.tar.gz", "März v2.tar.gz"},
      {"a path keeps its last part", "../../etc/passwd", "passwd"},
      {"backslashes are separators too", "..\\..\\boot.ini", "boot.ini"},
      {"dot-dot alone", "..", "download"},
      {"a folder", "dir/", "download"},
      {"a hidden name is shown: leading dots and spaces go", " . .x", "x"},
      {"control characters go", "a\nb\x1b\t.txt", "ab.txt"},
      {"a control character cannot shield a dot", "\x01.profile", "profile"},
      {"only control characters", "\x01\x1f", "download"},
  };
  for (const auto& [name, suggested, saved] : rows)
    EXPECT_EQ(vel::safe_file_name(suggested), saved) << name;
}

TEST(DownloadNames, ATakenNameGetsTheNextFreeNumber) {
  // What is there already: "name/" is a folder, "@name" a link to nothing, others are files.
  const std::tuple<const char*, std::vector<std::string>, const char*, const char*> rows[] = {
      {"a taken name gets (1)", {"a.txt"}, "a.txt", "a (1).txt"},
      {"numbers count past taken ones", {"a.txt", "a (1).txt"}, "a.txt", "a (2).txt"},
      {"only the variant is taken", {"a (1).txt"}, "a.txt", "a.txt"},
      {"no extension", {"download"}, "download", "download (1)"},
      {"the number goes before the last extension", {"x.tar.gz"}, "x.tar.gz", "x.tar (1).gz"},
      {"a folder is taken", {"d/"}, "d", "d (1)"},
      {"a link to nothing is taken", {"@l.txt"}, "l.txt", "l (1).txt"},
  };
  const fs::path root = fs::temp_directory_path() / ("vel-names-" + std::to_string(getpid()));
  for (const auto& [row, taken, wanted, given] : rows) {
    const fs::path dir = root / row;
    fs::create_directories(dir);
    for (const std::string& name : taken) {
      if (name.back() == '/')
        fs::create_directory(dir / name);
      else if (name[0] == '@')
        fs::create_symlink(dir / "nowhere", dir / name.substr(1));
      else
        std::ofstream(dir / name) << "older";
    }
    EXPECT_EQ(vel::unused_path(dir, wanted), dir / given) << row;
  }
  fs::remove_all(root);
}

TEST(DownloadNames, AnOverLongNameIsShortenedKeepingItsExtensionAndWholeCharacters) {
  const std::string longest(vel::kLongestDownloadName, 'n');
  EXPECT_EQ(vel::safe_file_name(longest), longest);
  EXPECT_EQ(vel::safe_file_name(std::string(300, 'n') + ".pdf"),
            std::string(vel::kLongestDownloadName - 4, 'n') + ".pdf");
  // "é" is two bytes: cut between them, it would not be UTF-8.
  std::string accents;
  for (int i = 0; i < 150; ++i) accents += "é";
  const std::string cut = vel::safe_file_name(accents + ".txt");
  EXPECT_EQ(cut, accents.substr(0, 196) + ".txt");
  // An "extension" longer than an extension is not kept whole.
  EXPECT_EQ(vel::safe_file_name("a." + std::string(300, 'x')).size(), vel::kLongestDownloadName);
}

TEST(DownloadNames, AWholeDownloadTakesItsNameWithoutOverwritingOne) {
  const fs::path dir = fs::temp_directory_path() / ("vel-place-" + std::to_string(getpid()));
  fs::create_directories(dir);
  // The name is free, but not its partial file's: both must be free for a new download.
  std::ofstream(dir / "a.txt.part") << "another download's";
  EXPECT_EQ(vel::unused_path(dir, "a.txt"), dir / "a (1).txt");

  std::ofstream(dir / "b.txt.part") << "new";
  std::error_code ec;
  EXPECT_EQ(vel::move_into_place(dir / "b.txt.part", dir / "b.txt", ec), dir / "b.txt");
  // Taken meanwhile (another program saved a file of that name): the next free one.
  std::ofstream(dir / "c.txt") << "someone's";
  std::ofstream(dir / "c.txt.part") << "new";
  EXPECT_EQ(vel::move_into_place(dir / "c.txt.part", dir / "c.txt", ec), dir / "c (1).txt");
  std::string kept;
  std::getline(std::ifstream(dir / "c.txt"), kept);
  EXPECT_EQ(kept, "someone's");
  EXPECT_FALSE(fs::exists(dir / "c.txt.part"));
  // A partial file that is not there: an error, and no file made.
  EXPECT_EQ(vel::move_into_place(dir / "gone.part", dir / "gone", ec), fs::path());
  EXPECT_TRUE(ec);
  EXPECT_FALSE(fs::exists(dir / "gone"));
  fs::remove_all(dir);
}
