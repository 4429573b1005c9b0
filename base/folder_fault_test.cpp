#include "base/folder_fault.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

// No permission and a full disk need another user or a file system of their
// own; the messages' table has their texts.
TEST(FolderFault, TheFolderOfAFileThatCouldNotBeMadeSaysWhy) {
  const testing::ScopedTempDir dir;
  testing::writeFile(dir.path() + "file", "");
  EXPECT_EQ(folderOfPath(dir.path() + "a.png"), dir.path());
  EXPECT_EQ(folderOfPath("a.png"), "./");
  EXPECT_EQ(folderFaultFor(dir.path() + "a.png"), FolderFault::None);
  EXPECT_EQ(folderFaultFor("a.png"), FolderFault::None);
  EXPECT_EQ(folderFaultFor(dir.path() + "missing/a.png"), FolderFault::Missing);
  EXPECT_EQ(folderFaultFor(dir.path() + "file/a.png"), FolderFault::NotAFolder);
}

}  // namespace
}  // namespace oz
