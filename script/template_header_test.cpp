#include "script/template_header.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

TEST(TemplateExtension, TakesWhatRemainsOfTheLineUnchangedOrIsTxt) {
  EXPECT_EQ(templateExtension("ov.Extension = \".plist\""), ".plist");
  EXPECT_EQ(templateExtension("ov.Extension=.html"), ".html");
  EXPECT_EQ(templateExtension("ov.Extension = \"xml\""), "xml");
  // Other text on the line stays in the extension; tabs are not blanks.
  EXPECT_EQ(templateExtension("// ov.Extension = \".lua\""), "//.lua");
  EXPECT_EQ(templateExtension("ov.Extension =\t\".js\""), "\t.js");
  // Without an extension line it is ".txt".
  EXPECT_EQ(templateExtension("sheet ov.SheetName"), ".txt");
  EXPECT_EQ(templateExtension(""), ".txt");
  EXPECT_EQ(templateExtension("ov.extension = \".plist\""), ".txt");
}

TEST(IsClipboardTemplate, LooksForTheCapitalisedWordAnywhere) {
  EXPECT_TRUE(isClipboardTemplate("ov.Extension = \"Clipboard\""));
  EXPECT_TRUE(isClipboardTemplate("send to Clipboards please"));
  EXPECT_FALSE(isClipboardTemplate("ov.Extension = \"clipboard\""));
  EXPECT_FALSE(isClipboardTemplate("ov.Extension = \".txt\""));
}

}  // namespace
}  // namespace oz
