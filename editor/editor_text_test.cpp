#include "editor/editor_text.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

using Lines = std::vector<std::string>;

TEST(EditorTextTest, ReadingAnEditorAsLines) {
  EXPECT_EQ(editorTextToLines(""), Lines{});
  EXPECT_EQ(editorTextToLines("a"), Lines{"a"});
  EXPECT_EQ(editorTextToLines("a\n"), (Lines{"a", ""}));
  EXPECT_EQ(editorTextToLines("\n"), (Lines{"", ""}));
  // CR LF is two endings: the CR becomes an LF first.
  EXPECT_EQ(editorTextToLines("a\r\nb\rc"), (Lines{"a", "", "b", "c"}));
}

TEST(EditorTextTest, LoadingDropsLeadingEmptyLinesOnly) {
  EXPECT_EQ(editorTextFromLines({""}), "");
  EXPECT_EQ(editorTextFromLines({"", "", "a", "", "b"}), "a\n\nb");
  EXPECT_EQ(editorTextFromLines({"a", ""}), "a\n");
  EXPECT_EQ(editorTextFromLines({}), "");
}

TEST(EditorTextTest, LoadedTextSavesBackToTheSameLines) {
  const Lines lines = {"ov.Extension = \".txt\"", "", "ov.Repeat", "\tov.ImageName", "ov.Until"};
  EXPECT_EQ(editorTextToLines(editorTextFromLines(lines)), lines);
}

}  // namespace
}  // namespace oz
