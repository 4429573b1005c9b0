#include "messages/build_notices.h"

#include <string_view>

namespace oz {
namespace {

// The most folders the details name; the rest are counted.
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
  }
  return {};
}

std::string namedFolders(const std::vector<std::string>& folders) {
  std::string details;
  for (size_t i = 0; i < folders.size() && i < kNamedFolders; ++i) {
    if (i > 0) details += ", ";
    details += "\"" + folders[i] + "\"";
  }
  if (folders.size() > kNamedFolders) {
    details += " and " + std::to_string(folders.size() - kNamedFolders) + " more";
  }
  return details + ".";
}

}  // namespace

std::vector<ProblemText> buildNotices(const std::vector<BuildNote>& notes) {
  std::vector<ProblemText> notices;
  for (const BuildNote& note : notes) {
    const NoteWords words = wordsFor(note.kind);
    ProblemText notice{"Animations", {}, {}};
    if (note.folders.size() == 1) {
      notice.text.append(words.one).append(note.folders.front()).append(words.oneAfter);
    } else {
      notice.text = std::to_string(note.folders.size()) + std::string(words.several);
      notice.details = namedFolders(note.folders);
    }
    notices.push_back(std::move(notice));
  }
  return notices;
}

}  // namespace oz
