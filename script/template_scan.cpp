#include "script/template_scan.h"

#include <array>

#include "script/template_words.h"
#include "script/text_replace.h"

namespace oz {
namespace {

constexpr std::array<std::string_view, 2> kMarkerNames = {kRepeatMarker, kUntilMarker};

bool endsWithPartOf(std::string_view text, std::string_view name) {
  for (size_t length = 1; length < name.size(); ++length) {
    if (text.ends_with(name.substr(0, length))) return true;
  }
  return false;
}

// True when `before` ends in the first part (not the whole) of a tag or
// marker name, which an inserted value could complete.
bool endsWithPartOfAName(std::string_view before) {
  for (std::string_view name : kTagNames) {
    if (endsWithPartOf(before, name)) return true;
  }
  for (std::string_view name : kMarkerNames) {
    if (endsWithPartOf(before, name)) return true;
  }
  return false;
}

// The tag whose name starts at `text`, or -1. No tag name is the start of
// another, so at most one matches.
int tagAt(std::string_view text) {
  for (size_t tag = 0; tag < kTagNames.size(); ++tag) {
    if (text.starts_with(kTagNames[tag])) return static_cast<int>(tag);
  }
  return -1;
}

}  // namespace

TemplateScan::TemplateScan(std::span<const std::string> lines,
                           std::optional<std::string_view> ending) {
  lines_.reserve(lines.size());
  for (const std::string& text : lines) {
    ScannedLine line;
    line.text = text;
    line.mayHoldTags = contains(text, kWordPrefix);
    line.firstUse = uses_.size();
    line.tail = text;
    if (line.mayHoldTags) {
      line.extension = contains(text, kExtensionMarker);
      line.repeat = contains(text, kMarkerNames[0]);
      line.until = contains(text, kMarkerNames[1]);
      // Tag names cannot overlap one another (none ends in "o" or "ov"), so
      // a left-to-right scan finds each tag's occurrences as its own search would.
      size_t from = 0;
      for (size_t at = text.find(kWordPrefix); at != std::string::npos;) {
        const int tag = tagAt(std::string_view(text).substr(at));
        if (tag < 0) {
          at = text.find(kWordPrefix, at + 1);
          continue;
        }
        uses_.push_back({std::string_view(text).substr(from, at - from), tag});
        from = at + kTagNames[tag].size();
        if (isTextTag(tag) && endsWithPartOfAName(std::string_view(text).substr(0, at))) {
          line.inertJoins = false;
        }
        at = text.find(kWordPrefix, from);
      }
      line.tail = std::string_view(text).substr(from);
      const ExactWords exact = findExactWords(text);
      line.firstExact = exactUses_.size();
      line.exactCount = exact.uses.size();
      line.exactTail = exact.tail;
      for (const ExactUse& use : exact.uses) {
        line.comma = line.comma || use.word->value == WordValue::Comma;
        line.between = line.between || use.word->value == WordValue::Between;
        line.eachAnimation = line.eachAnimation || use.word->value == WordValue::EachAnimation;
        line.nextAnimation = line.nextAnimation || use.word->value == WordValue::NextAnimation;
        exactUses_.push_back(use);
      }
    }
    line.useCount = uses_.size() - line.firstUse;
    lines_.push_back(line);
  }
  pairAnimationMarkers();
  if (ending) prepareRuns(*ending);
}

// Animation loops do not nest: the first ov.EachAnimation line opens one, the
// next ov.NextAnimation line closes it, and markers in between or outside do
// nothing. Lines are taken as the expansion reads them, an extension line
// with the line read in its place.
void TemplateScan::pairAnimationMarkers() {
  std::optional<size_t> open;
  for (size_t index = 0; index < lines_.size(); ++index) {
    if (lines_[index].extension && ++index == lines_.size()) break;
    const ScannedLine& line = lines_[index];
    if (!open) {
      if (line.eachAnimation) open = index;
    } else if (line.nextAnimation) {
      lines_[*open].opensAnimations = true;
      lines_[*open].animationsEnd = index;
      open.reset();
    }
  }
  if (open) {
    lines_[*open].opensAnimations = true;
    lines_[*open].animationsEnd = lines_.size();
  }
}

void TemplateScan::prepareRuns(std::string_view ending) {
  runAt_.assign(lines_.size(), -1);
  // Exact words go into a run only between text that the tags leave as it
  // is; ov.Comma and ov.Between must look ahead, so their lines decide.
  const auto plainAroundWords = [this](const ScannedLine& line) {
    if (line.comma || line.between || contains(line.exactTail, kWordPrefix)) return false;
    for (const ExactUse& use : exactUses(line)) {
      if (contains(use.before, kWordPrefix)) return false;
    }
    return true;
  };
  const auto needsNoDecision = [&plainAroundWords](const ScannedLine& line) {
    return !line.extension && !line.repeat && !line.until && !line.animationMarker() &&
           line.inertJoins && (line.exactCount == 0 || plainAroundWords(line));
  };
  for (size_t first = 0; first < lines_.size(); ++first) {
    if (!needsNoDecision(lines_[first])) continue;
    LineRun run;
    run.texts.emplace_back();
    size_t index = first;
    for (; index < lines_.size() && needsNoDecision(lines_[index]); ++index) {
      const ScannedLine& line = lines_[index];
      if (line.exactCount > 0) {
        for (const ExactUse& use : exactUses(line)) {
          run.texts.back().append(use.before);
          run.values.push_back({.word = use.word});
          run.texts.emplace_back();
        }
        run.texts.back().append(line.exactTail).append(ending);
        continue;
      }
      for (const TagUse& use : uses(line)) {
        run.texts.back().append(use.before);
        run.values.push_back({.tag = use.tag});
        run.texts.emplace_back();
      }
      run.texts.back().append(line.tail).append(ending);
    }
    run.end = index;
    runAt_[first] = static_cast<int>(runs_.size());
    runs_.push_back(std::move(run));
    first = index;  // a line that needs a decision, or the end
  }
}

void piecesWithValues(const LineRun& run, const TagReplacer& tags, const ExactWordValues& words,
                      const FrameEntry* frame, RunWordTexts* wordTexts,
                      std::vector<std::string_view>* pieces) {
  // Every word's text first, so that the views taken after stay valid.
  wordTexts->text.clear();
  wordTexts->ends.clear();
  for (const RunValue& value : run.values) {
    if (value.word == nullptr) continue;
    words.append(*value.word, frame, tags, false, &wordTexts->text);
    wordTexts->ends.push_back(wordTexts->text.size());
  }
  pieces->resize(run.texts.size() + run.values.size());
  std::string_view* piece = pieces->data();
  size_t word = 0;
  size_t start = 0;
  for (size_t i = 0; i < run.values.size(); ++i) {
    *piece++ = run.texts[i];
    if (run.values[i].word == nullptr) {
      *piece++ = tags.value(run.values[i].tag);
      continue;
    }
    const size_t end = wordTexts->ends[word++];
    *piece++ = std::string_view(wordTexts->text).substr(start, end - start);
    start = end;
  }
  *piece = run.texts.back();
}

void piecesWithValues(const TemplateScan& scan, const ScannedLine& line, const TagReplacer& tags,
                      std::vector<std::string_view>* pieces) {
  const std::span<const TagUse> uses = scan.uses(line);
  pieces->resize(2 * uses.size() + 1);
  std::string_view* piece = pieces->data();
  for (const TagUse& use : uses) {
    *piece++ = use.before;
    *piece++ = tags.value(use.tag);
  }
  *piece = line.tail;
}

}  // namespace oz
