#include "base/file_identity.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

// The path from the working directory to `path`.
std::string relativeSpelling(const std::string& path) {
  return std::filesystem::relative(path, std::filesystem::current_path()).string();
}

TEST(FileIdentity, EverySpellingOfOneFileIsTheSameFileAndNoOtherIs) {
  const testing::ScopedTempDir dir;
  const std::string d = dir.path();
  const std::string file = d + "sheet.png";
  testing::writeFile(file, "png");
  testing::writeFile(d + "other.png", "png");
  mkdir((d + "sub").c_str(), 0755);
  ASSERT_EQ(symlink(file.c_str(), (d + "link.png").c_str()), 0);
  ASSERT_EQ(symlink("sub/../sheet.png", (d + "relative-link.png").c_str()), 0);
  ASSERT_EQ(symlink("sub/new.png", (d + "dangling.png").c_str()), 0);
  ASSERT_EQ(symlink("sub", (d + "sublink").c_str()), 0);

  const struct {
    std::string a, b;
    bool same;
  } cases[] = {
      {file, d + "link.png", true},
      {file, d + "relative-link.png", true},
      {file, relativeSpelling(file), true},
      {file, d + "sub/../sheet.png", true},
      {file, d + "other.png", false},
      {d + "link.png", d + "other.png", false},
      // Files yet to be written: where they would be made.
      {d + "new.png", d + "./sub/../new.png", true},
      {d + "sub/new.png", d + "sublink/new.png", true},
      {d + "sub/new.png", d + "dangling.png", true},
      {relativeSpelling(d + "missing/a.png"), d + "missing/x/../a.png", true},
      {d + "new.png", d + "sub/new.png", false},
      {d + "new.png", file, false},
      // Nothing, and a device any number may write to.
      {"", "", false},
      {"/dev/null", "/dev/null", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(namesSameFile(c.a, c.b), c.same) << c.a << " and " << c.b;
    EXPECT_EQ(namesSameFile(c.b, c.a), c.same) << c.b << " and " << c.a;
  }
}

}  // namespace
}  // namespace oz
