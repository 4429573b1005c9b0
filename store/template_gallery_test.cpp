#include "store/template_gallery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::readFile;
using testing::writeFile;

class TemplateGalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mkdir(gallery_.c_str(), 0700);
    mkdir(support_.path.c_str(), 0700);
  }

  testing::ScopedTempDir root_;
  std::string gallery_ = root_.path() + "gallery/";
  SupportDir support_{root_.path() + "support/"};
};

TEST_F(TemplateGalleryTest, ListsTemplatesInVersionOrder) {
  for (const char* name : {"libGDX Atlas.txt", "CSS Sprites.txt", "notes.md", "JSON Hash.txt"}) {
    writeFile(gallery_ + name, "ov.Extension = \".x\"\n");
  }
  // A description for each name that has one; notes and lines without a tab
  // describe nothing, and a name with no template lists nothing.
  writeFile(gallery_ + "descriptions.tsv",
            "# name, tab, description\r\nJSON Hash\tPhaser 3 and PixiJS, .json\r\n\n"
            "CSS Sprites without a tab\nGone\tno such template\nlibGDX Atlas\tlibGDX\tatlas");
  EXPECT_EQ(listGallery(gallery_),
            (std::vector<GalleryTemplate>{{"CSS Sprites", ""},
                                          {"JSON Hash", "Phaser 3 and PixiJS, .json"},
                                          {"libGDX Atlas", "libGDX\tatlas"}}));
  // The folder as a user might type it, without the final slash.
  EXPECT_EQ(listGallery(root_.path() + "gallery").size(), 3u);
  EXPECT_TRUE(listGallery(root_.path() + "missing/").empty());
}

TEST_F(TemplateGalleryTest, CopiesByteForByteAndNeverReplaces) {
  const std::string bytes = "ov.Extension = \".css\"\r\n.a {}\r\n\xEF\xBB\xBF no final ending";
  writeFile(gallery_ + "CSS Sprites.txt", bytes);
  EXPECT_EQ(installFromGallery(gallery_, support_, "CSS Sprites"), GalleryInstallResult::Installed);
  EXPECT_EQ(readFile(support_.file("CSS Sprites.txt")), bytes);

  // The user's copy stays, whatever it holds, and so does an empty file or a folder.
  writeFile(support_.file("CSS Sprites.txt"), "edited");
  writeFile(support_.file("Empty.txt"), "");
  writeFile(gallery_ + "Empty.txt", "from the gallery");
  mkdir(support_.file("Folder.txt").c_str(), 0700);
  writeFile(gallery_ + "Folder.txt", "from the gallery");
  for (const char* name : {"CSS Sprites", "Empty", "Folder"}) {
    EXPECT_EQ(installFromGallery(gallery_, support_, name), GalleryInstallResult::AlreadyExists)
        << name;
  }
  EXPECT_EQ(readFile(support_.file("CSS Sprites.txt")), "edited");
  EXPECT_EQ(readFile(support_.file("Empty.txt")), "");
}

TEST_F(TemplateGalleryTest, RefusesNamesOutsideTheGalleryAndReportsFailedCopies) {
  writeFile(root_.path() + "outside.txt", "secret");
  for (const char* name : {"Missing", "../outside", "", ".."}) {
    EXPECT_EQ(installFromGallery(gallery_, support_, name), GalleryInstallResult::NotInGallery)
        << name;
  }
  EXPECT_FALSE(testing::fileExists(support_.file("Missing.txt")));

  writeFile(gallery_ + "JSON Hash.txt", "{}");
  const SupportDir missing{root_.path() + "no such folder/"};
  EXPECT_EQ(installFromGallery(gallery_, missing, "JSON Hash"), GalleryInstallResult::Failed);
}

TEST_F(TemplateGalleryTest, FindsTheInstalledGalleryBeforeTheSourceTree) {
  const std::string prefix = root_.path() + "usr/";
  const std::string bin = prefix + "bin/";
  const std::string build = root_.path() + "build/bin/";
  for (const std::string& dir : {prefix, bin, root_.path() + "build/", build}) {
    mkdir(dir.c_str(), 0700);
  }
  const std::string installedExe = bin + "orvane-zozivi-cli";
  const std::string builtExe = build + "orvane-zozivi-cli";

  // Nothing installed: only an executable in the build folder falls back to the sources.
  EXPECT_EQ(galleryDirFor(builtExe, build, gallery_), gallery_);
  EXPECT_EQ(galleryDirFor(builtExe, root_.path() + "build/bin", root_.path() + "gallery"),
            gallery_);
  EXPECT_EQ(galleryDirFor(installedExe, build, gallery_), std::nullopt);
  EXPECT_EQ(galleryDirFor(builtExe, build, root_.path() + "missing/"), std::nullopt);
  EXPECT_EQ(galleryDirFor("orvane-zozivi-cli", build, gallery_), std::nullopt);

  // The build folder reached through a symbolic link is still the build folder.
  const std::string link = root_.path() + "link";
  ASSERT_EQ(symlink((root_.path() + "build").c_str(), link.c_str()), 0);
  EXPECT_EQ(galleryDirFor(link + "/bin/orvane-zozivi-cli", build, gallery_), gallery_);

  for (const char* dir : {"share/", "share/orvane-zozivi/", "share/orvane-zozivi/templates/"}) {
    mkdir((prefix + dir).c_str(), 0700);
  }
  EXPECT_EQ(galleryDirFor(installedExe, build, gallery_),
            bin + "../share/orvane-zozivi/templates/");
}

}  // namespace
}  // namespace oz
