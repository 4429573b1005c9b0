#include "messages/build_notices.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

TEST(BuildNotices, NameOneFolderInTheTextAndSeveralInTheDetails) {
  std::vector<std::string> many;
  for (int i = 1; i <= 12; ++i) many.push_back("f" + std::to_string(i));
  const std::vector<ProblemText> notices = buildNotices({
      {BuildNoteKind::EmptySubfolders, {"idle"}},
      {BuildNoteKind::DeeperFolders, {"walk/left", "walk/right"}},
      {BuildNoteKind::UnreadableSubfolders, many},
  });
  ASSERT_EQ(notices.size(), 3U);
  EXPECT_EQ(notices[0], (ProblemText{"Animations",
                                     "The subfolder \"idle\" holds no PNG frames, so no animation "
                                     "comes of it.",
                                     ""}));
  EXPECT_EQ(notices[1].text,
            "2 folders below the subfolders hold PNG frames, but only one level of subfolders is "
            "read: theirs are not on the sheet.");
  EXPECT_EQ(notices[1].details, "\"walk/left\", \"walk/right\".");
  EXPECT_EQ(notices[2].text, "12 subfolders could not be read, so no animation comes of them.");
  EXPECT_EQ(notices[2].details,
            "\"f1\", \"f2\", \"f3\", \"f4\", \"f5\", \"f6\", \"f7\", \"f8\", \"f9\", \"f10\" and 2 "
            "more.");
  EXPECT_EQ(buildNotices({{BuildNoteKind::SplitAnimations, {"walk"}}})[0].text,
            "The animation \"walk\" lies on more than one sheet: an engine plays only the part "
            "on the sheet it takes it from. A larger largest sheet size keeps it on one.");
  EXPECT_TRUE(buildNotices({}).empty());
}

}  // namespace
}  // namespace oz
