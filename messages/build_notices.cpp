#include "messages/build_notices.h"

#include <string_view>

namespace oz {
namespace {

// The most folders or animations the details name; the rest are counted.
constexpr size_t kNamedFolders = 10;

struct NoteWords {
  std::string_view one;  // before the folder's name
  std::string_view oneAfter;
  std::string_view several;  // after their number
};

constexpr NoteWords wordsFor(BuildNoteKind kind) {
  switch (kind) {
    case BuildNoteKind::EmptySubfolders:
      return {"The subfolder \"", "\" holds no PNG frames, so no animation comes of it.",
              " subfolders hold no PNG frames, so no animation comes of them."};
    case BuildNoteKind::UnreadableSubfolders:
      return {"The subfolder \"", "\" could not be read, so no animation comes of it.",
              " subfolders could not be read, so no animation comes of them."};
    case BuildNoteKind::DeeperFolders:
      return {"The folder \"",
              "\" holds PNG frames, but only one level of subfolders is read: they are not on "
              "the sheet.",
              " folders below the subfolders hold PNG frames, but only one level of subfolders "
              "is read: theirs are not on the sheet."};
    case BuildNoteKind::SplitAnimations:
      return {"The animation \"",
              "\" lies on more than one sheet: an engine plays only the part on the sheet it "
              "takes it from. A larger largest sheet size keeps it on one.",
              " animations lie on more than one sheet: an engine plays only the part on the "
              "sheet it takes one from. A larger largest sheet size keeps them on one."};
  }
  return {};
}

std::string namedOnes(const std::vector<std::string>& names) {
  std::string details;
  for (size_t i = 0; i < names.size() && i < kNamedFolders; ++i) {
    if (i > 0) details += ", ";
    details += "\"" + names[i] + "\"";
  }
  if (names.size() > kNamedFolders) {
    details += " and " + std::to_string(names.size() - kNamedFolders) + " more";
  }
  return details + ".";
}

}  // namespace

std::vector<ProblemText> buildNotices(const std::vector<BuildNote>& notes) {
  std::vector<ProblemText> notices;
  for (const BuildNote& note : notes) {
    const NoteWords words = wordsFor(note.kind);
    ProblemText notice{"Animations", {}, {}};
    if (note.names.size() == 1) {
      notice.text.append(words.one).append(note.names.front()).append(words.oneAfter);
    } else {
      notice.text = std::to_string(note.names.size()) + std::string(words.several);
      notice.details = namedOnes(note.names);
    }
    notices.push_back(std::move(notice));
  }
  return notices;
}

}  // namespace oz
