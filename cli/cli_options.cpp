#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "base/program_version.h"
#include "sheet/color_depth.h"
#include "sheet/sprite_options.h"

namespace oz {
namespace {

// An error message, or nothing when the value was taken.
using Handler = std::optional<std::string> (*)(std::string_view value, CliRequest& request);

struct CliOption {
  const char* name;      // without the leading "--"
  const char* argument;  // nullptr for a flag
  const char* help;
  Handler apply;
};

// Matches `value` against `names`; the position of the match, or -1.
int choose(std::string_view value, std::initializer_list<std::string_view> names) {
  int index = 0;
  for (std::string_view name : names) {
    if (value == name) return index;
    ++index;
  }
  return -1;
}

std::string badValue(std::string_view option, std::string_view value, std::string_view allowed) {
  return "--" + std::string(option) + " takes " + std::string(allowed) + ", not \"" +
         std::string(value) + "\"";
}

// The --depth values, "32|24|…" with `separator` and `last` between them.
std::string depthWords(std::string_view separator, std::string_view last) {
  std::string words;
  for (size_t k = 0; k < kDepths.size(); ++k) {
    if (k > 0) words += k + 1 == kDepths.size() ? last : separator;
    words += kDepths[k].cliWord;
  }
  return words;
}

// `value` as a whole number from 0 to `largest`: digits only, no sign, leading
// zeros allowed up to the digits of `largest`.
std::optional<int32_t> numberUpTo(std::string_view value, int32_t largest) {
  uint32_t number = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
      value.size() > std::to_string(largest).size() || number > static_cast<uint32_t>(largest)) {
    return std::nullopt;
  }
  return static_cast<int32_t>(number);
}

// A handler for an option without a value: it turns `field` on.
template <auto field>
std::optional<std::string> setFlag(std::string_view, CliRequest& r) {
  r.build.*field = true;
  return std::nullopt;
}

// A handler that sets a number of pixels from 0 to `largest`.
template <int32_t SpriteOptions::*field, int32_t largest>
std::optional<std::string> setPixels(std::string_view value, CliRequest& r, const char* option) {
  const std::optional<int32_t> number = numberUpTo(value, largest);
  if (!number)
    return badValue(option, value, "a number of pixels from 0 to " + std::to_string(largest));
  r.build.*field = *number;
  return std::nullopt;
}

// A handler that sets a number from 1 to `largest`; `range` says so in the
// error.
template <int32_t SpriteOptions::*field, int32_t largest>
std::optional<std::string> setFromOne(std::string_view value, CliRequest& r, const char* option,
                                      const std::string& range) {
  const std::optional<int32_t> number = numberUpTo(value, largest);
  if (!number || *number < 1) return badValue(option, value, range);
  r.build.*field = *number;
  return std::nullopt;
}

// The --depth values whose palette can keep transparency: "8 or 4".
std::string transparentDepthWords() {
  std::string words;
  for (const DepthInfo& depth : kDepths) {
    if (!depth.transparencyAllowed) continue;
    if (!words.empty()) words += " or ";
    words += depth.cliWord;
  }
  return words;
}

const std::string kDepthArgument = depthWords("|", "|");
const std::string kLargestSpriteNumber = std::to_string(kMaxSpriteNumber);
const std::string kSpriteNumberHelp =
    "the sheet's number for the exported script, 0.." + kLargestSpriteNumber + " (default 0)";

const std::string kSpacingHelp =
    "transparent pixels between neighbouring frames, across and down, 0.." +
    std::to_string(kMaxSpacing) + " (default 0)";
const std::string kBorderHelp =
    "transparent pixels around the whole sheet, 0.." + std::to_string(kMaxBorder) + " (default 0)";
const std::string kExtrudeHelp =
    "repeat each frame's outermost rows and columns N times outward, corners included, 0.." +
    std::to_string(kMaxExtrude) + " (default 0); the script keeps the frame's own rectangle";

const std::string kMaxSizeRange = "a number of pixels from 1 to " + std::to_string(kSheetSizeLimit);
const std::string kMaxSizeHelp =
    "packed: neither side of a sheet passes N pixels, padding included, "
    "1.." +
    std::to_string(kSheetSizeLimit) + " (default " + std::to_string(kSheetSizeLimit) + ")";
const std::string kTrimThresholdHelp =
    "with --trim: pixels of alpha N or less count as clear, 0.." +
    std::to_string(kMaxTrimThreshold) + " (default 0: only fully clear pixels are cut away)";

const std::string kFrameRateRange =
    "a number of frames a second from 1 to " + std::to_string(kMaxFrameRate);
const std::string kFrameRateHelp =
    "the frame rate the script gives the animations, 1.." + std::to_string(kMaxFrameRate) +
    " (default " + std::to_string(kAnimationsFrameRate) +
    " with --animations folders or prefixes, else " + std::to_string(kSheetAnimationFrameRate) +
    ", the rate the templates have always written)";

// The options that only the packed layout reads, with what --layout packed
// leaves them at: given with another layout, they are a usage error.
std::optional<std::string> packedOnlyOption(const BuildOptions& build) {
  const SpriteOptions defaults;
  if (build.maxSize != defaults.maxSize) return "--max-size";
  if (build.square) return "--square";
  if (build.trim) return "--trim";
  if (build.trimThreshold != defaults.trimThreshold) return "--trim-threshold";
  if (build.rotate) return "--rotate";
  if (build.multipack) return "--multipack";
  return std::nullopt;
}

const CliOption kOptions[] = {
    {"sheet", "PATH", "output PNG, used exactly as given (required)",
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       r.build.savePath = value;
       return std::nullopt;
     }},
    {"layout", "strip|sheet|packed",
     "one row, rows of --columns frames, or frames of any size packed tightly onto the smallest "
     "sheet (default sheet)",
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       const int layout = choose(value, {"strip", "sheet", "packed"});
       if (layout < 0) return badValue("layout", value, "strip, sheet or packed");
       r.build.strip = layout == 0;
       r.build.packed = layout == 2;
       return std::nullopt;
     }},
    {"max-size", "N", kMaxSizeHelp.c_str(),
     [](std::string_view value, CliRequest& r) {
       return setFromOne<&SpriteOptions::maxSize, kSheetSizeLimit>(value, r, "max-size",
                                                                   kMaxSizeRange);
     }},
    {"square", nullptr, "packed: make each sheet as wide as it is high",
     setFlag<&BuildOptions::square>},
    {"trim", nullptr,
     "packed: cut each frame to the box of its visible pixels; the script gives the box, its "
     "offset in the frame and the frame's size",
     setFlag<&BuildOptions::trim>},
    {"trim-threshold", "N", kTrimThresholdHelp.c_str(),
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       const std::optional<int32_t> alpha = numberUpTo(value, kMaxTrimThreshold);
       if (!alpha) {
         return badValue("trim-threshold", value,
                         "an alpha from 0 to " + std::to_string(kMaxTrimThreshold));
       }
       r.build.trimThreshold = *alpha;
       return std::nullopt;
     }},
    {"rotate", nullptr,
     "packed: a frame may be stored turned by 90 degrees where that packs tighter; the script "
     "says which are, the way its engine reads them",
     setFlag<&BuildOptions::rotate>},
    {"multipack", nullptr,
     "packed: when the frames do not fit one sheet of --max-size, write several, NAME-1.png, "
     "NAME-2.png and so on, each with its own script (--data numbered the same way)",
     setFlag<&BuildOptions::multipack>},
    {"columns", "N",
     "frames per row, read as the \"Number of Columns:\" field is: its leading integer, 0 if "
     "none (default 4)",
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       r.build.columns = value;
       return std::nullopt;
     }},
    {"depth", kDepthArgument.c_str(),
     "colour depth; alpha writes the alpha channel as grey (default 32)",
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       const auto row = std::find_if(kDepths.begin(), kDepths.end(),
                                     [&](const DepthInfo& d) { return d.cliWord == value; });
       if (row == kDepths.end()) return badValue("depth", value, depthWords(", ", " or "));
       r.build.colorDepth = static_cast<int32_t>(row - kDepths.begin());
       return std::nullopt;
     }},
    {"dither", nullptr, "error-diffusion dithering for the 8- and 4-bit palettes",
     setFlag<&BuildOptions::dithering>},
    {"quantiser", "network|kmeans",
     "what makes the 8- and 4-bit palettes: the neural network, or its palette refined by "
     "k-means, closer to the frames' colours (default network)",
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       const auto name = std::find(kQuantiserNames.begin(), kQuantiserNames.end(), value);
       if (name == kQuantiserNames.end()) return badValue("quantiser", value, "network or kmeans");
       r.build.quantiser = static_cast<PaletteQuantiser>(name - kQuantiserNames.begin());
       return std::nullopt;
     }},
    {"remove-alpha", nullptr,
     "24-bit: pixels of alpha 32 or less become the background, all others opaque",
     setFlag<&BuildOptions::removeAlpha>},
    {"background", "pink|black|transparent",
     "colour behind nearly transparent pixels in the palette depths and with --remove-alpha "
     "(default black); transparent, for --depth 8 and 4 only, keeps alpha in the palette "
     "instead",
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       const int colour = choose(value, {"pink", "black", "transparent"});
       if (colour < 0) return badValue("background", value, "pink, black or transparent");
       r.build.pink = colour == 0;
       r.build.transparent = colour == 2;
       return std::nullopt;
     }},
    {"premultiplied-alpha", nullptr,
     "store colour multiplied by alpha, for engines that load textures as premultiplied "
     "(default: straight alpha, as PNG defines it)",
     setFlag<&BuildOptions::premultipliedAlpha>},
    {"smallest", nullptr,
     "the smallest file: each row filtered and the image data compressed as hard as possible, "
     "for a sheet that ships; many times slower (default: rows unfiltered, compressed fast)",
     setFlag<&BuildOptions::smallest>},
    {"retina", nullptr, "halve every position and size in the exported script",
     setFlag<&BuildOptions::retina>},
    {"power-of-2", nullptr, "pad each side of the sheet up to a power of two",
     setFlag<&BuildOptions::powerOf2>},
    {"spacing", "N", kSpacingHelp.c_str(),
     [](std::string_view value, CliRequest& r) {
       return setPixels<&SpriteOptions::spacing, kMaxSpacing>(value, r, "spacing");
     }},
    {"border", "N", kBorderHelp.c_str(),
     [](std::string_view value, CliRequest& r) {
       return setPixels<&SpriteOptions::border, kMaxBorder>(value, r, "border");
     }},
    {"extrude", "N", kExtrudeHelp.c_str(),
     [](std::string_view value, CliRequest& r) {
       return setPixels<&SpriteOptions::extrude, kMaxExtrude>(value, r, "extrude");
     }},
    {"bleed", nullptr,
     "give every fully transparent pixel of a frame the colour of its nearest visible pixel, "
     "so that filtering at an edge does not pull in black; alpha stays 0. Straight alpha only",
     setFlag<&BuildOptions::bleed>},
    {"dedupe", nullptr,
     "a frame whose pixels equal an earlier frame's shares its place on the sheet; the script "
     "still lists every frame",
     setFlag<&BuildOptions::dedupe>},
    {"animations", "none|folders|prefixes",
     "what the script's animations are: one of every frame, named after the sheet; each "
     "subfolder of FOLDER, one level deep, named after it, its frames named SUBFOLDER/FRAME, and "
     "FOLDER's own frames named after FOLDER; or FOLDER's frames grouped by their names less a "
     "trailing number, so that walk_01.png, walk-2.png and walk3.png make walk (default none)",
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       const auto name =
           std::find(kAnimationSourceNames.begin(), kAnimationSourceNames.end(), value);
       if (name == kAnimationSourceNames.end()) {
         return badValue("animations", value, "none, folders or prefixes");
       }
       r.build.animations = static_cast<AnimationSource>(name - kAnimationSourceNames.begin());
       return std::nullopt;
     }},
    {"fps", "N", kFrameRateHelp.c_str(),
     [](std::string_view value, CliRequest& r) {
       return setFromOne<&SpriteOptions::frameRate, kMaxFrameRate>(value, r, "fps",
                                                                   kFrameRateRange);
     }},
    {"sprite-number", "N", kSpriteNumberHelp.c_str(),
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       const std::optional<int32_t> number = numberUpTo(value, kMaxSpriteNumber);
       if (!number) {
         return badValue("sprite-number", value, "a number from 0 to " + kLargestSpriteNumber);
       }
       r.build.spriteNumber = *number;
       return std::nullopt;
     }},
    {"script", "NAME|PATH",
     "after the sheet, expand this template: a path when it holds \"/\" or ends in \".txt\", "
     "else the name of a script in the support directory",
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       if (value.empty()) return badValue("script", value, "a script name or a template path");
       r.script = value;
       return std::nullopt;
     }},
    {"data", "PATH",
     "where the expanded script goes, used exactly as given; - is standard output. A clipboard "
     "template always goes to standard output, with CR LF line endings",
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       r.dataPath = value;
       return std::nullopt;
     }},
    {"watch", nullptr,
     "build, then build again whenever a frame, the folder or the template changes (changes "
     "within 200 ms make one build), printing a line for each, until Ctrl-C; a frame that does "
     "not decode yet waits for the next change",
     [](std::string_view, CliRequest& r) -> std::optional<std::string> {
       r.watch = true;
       return std::nullopt;
     }},
    {"list-scripts", nullptr, "print the names of the scripts in the support directory and exit",
     [](std::string_view, CliRequest& r) -> std::optional<std::string> {
       r.listScripts = true;
       return std::nullopt;
     }},
    {"gallery", nullptr,
     "print the templates of the gallery installed with the program, one a line as the name, a "
     "tab and a description, and exit",
     [](std::string_view, CliRequest& r) -> std::optional<std::string> {
       r.listGallery = true;
       return std::nullopt;
     }},
    {"install-script", "NAME",
     "copy the gallery's template NAME into the support directory as a script and exit; an "
     "existing script of that name is never replaced",
     [](std::string_view value, CliRequest& r) -> std::optional<std::string> {
       if (value.empty()) return badValue("install-script", value, "a name that --gallery lists");
       r.installScript = value;
       return std::nullopt;
     }},
    {"help", nullptr, "show this help and exit",
     [](std::string_view, CliRequest& r) -> std::optional<std::string> {
       r.help = true;
       return std::nullopt;
     }},
    {"version", nullptr, "print the program's name and version and exit",
     [](std::string_view, CliRequest& r) -> std::optional<std::string> {
       r.version = true;
       return std::nullopt;
     }},
};

const CliOption* findOption(std::string_view name) {
  for (const CliOption& option : kOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

}  // namespace

ParsedArguments parseArguments(int argc, const char* const* argv) {
  CliRequest request;
  std::optional<std::string> folder;
  bool hasSheet = false;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      if (folder) return UsageError{"only one FOLDER, not also \"" + std::string(arg) + "\""};
      folder = arg;
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (!arg.starts_with("--")) return UsageError{"unknown option \"" + std::string(arg) + "\""};
    const size_t equals = arg.find('=');
    const std::string_view name =
        arg.substr(2, equals == std::string_view::npos ? arg.npos : equals - 2);
    const CliOption* option = findOption(name);
    if (option == nullptr) return UsageError{"unknown option \"" + std::string(arg) + "\""};
    std::string_view value;
    if (option->argument == nullptr) {
      if (equals != std::string_view::npos)
        return UsageError{"--" + std::string(name) + " takes no value"};
    } else if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      return UsageError{"--" + std::string(name) + " needs " + option->argument};
    }
    if (auto error = option->apply(value, request)) return UsageError{*error};
    hasSheet = hasSheet || name == "sheet";
  }
  if (request.help || request.version || request.listScripts || request.listGallery ||
      request.installScript) {
    return request;
  }
  if (request.dataPath && !request.script) return UsageError{"--data needs --script"};
  if (request.build.transparent && !depthInfo(request.build.colorDepth).transparencyAllowed) {
    return UsageError{"--background transparent needs --depth " + transparentDepthWords()};
  }
  // Premultiplied, a pixel of alpha 0 holds no colour, so there is none to give it.
  if (request.build.bleed && request.build.premultipliedAlpha) {
    return UsageError{"--bleed needs straight alpha, not --premultiplied-alpha"};
  }
  if (!request.build.packed) {
    if (const std::optional<std::string> option = packedOnlyOption(request.build)) {
      return UsageError{*option + " needs --layout packed"};
    }
  }
  if (request.build.trimThreshold != 0 && !request.build.trim) {
    return UsageError{"--trim-threshold needs --trim"};
  }
  // Several sheets write several scripts, which one stream cannot tell apart.
  if (request.build.multipack && request.dataPath == "-") {
    return UsageError{"--multipack writes a script for each sheet: give --data a file path, not -"};
  }
  if (!hasSheet) return UsageError{"--sheet PATH is required"};
  if (!folder) return UsageError{"FOLDER is required"};
  // As the folder requester gives it; an empty FOLDER stays empty so that the
  // build can say that none was chosen.
  request.build.imageFolder = *folder;
  if (!folder->empty() && !folder->ends_with('/')) request.build.imageFolder += '/';
  return request;
}

std::string helpText() {
  std::string text =
      "Usage: orvane-zozivi-cli [options] FOLDER\n"
      "Builds the PNG frames of FOLDER (every \"*.png\" in it, in version order: walk2.png\n"
      "before walk10.png) into one sprite sheet or strip.\n\nOptions:\n";
  // Option names in one column, help beside them, wrapped to fit a terminal.
  constexpr size_t kLineWidth = 96;
  const auto leftOf = [](const CliOption& option) {
    std::string left = "  --" + std::string(option.name);
    if (option.argument != nullptr) left += " " + std::string(option.argument);
    return left + "  ";
  };
  size_t column = 0;
  for (const CliOption& option : kOptions) column = std::max(column, leftOf(option).size());
  for (const CliOption& option : kOptions) {
    std::string line = leftOf(option);
    line.resize(column, ' ');
    std::string_view words = option.help;
    while (!words.empty()) {
      const size_t space = words.find(' ');
      const std::string_view word = words.substr(0, space);
      if (line.size() > column && line.size() + 1 + word.size() > kLineWidth) {
        text += line + "\n";
        line.assign(column, ' ');
      }
      if (line.size() > column) line += ' ';
      line += word;
      words = space == std::string_view::npos ? std::string_view() : words.substr(space + 1);
    }
    text += line + "\n";
  }
  text +=
      "\nThe support directory is ~/Library/Application Support/Orvane Zozivi/; the first use of\n"
      "--script NAME, --list-scripts or --install-script creates it with the example scripts.\n"
      "The gallery is share/orvane-zozivi/templates/ of the installation.\n"
      "\nExit status: 0 the sheet (and the script) was written, or the listing or copy was\n"
      "made; 1 the build was refused, the gallery is not installed, or --install-script found\n"
      "no such template or an existing script (the reason on standard error); 2 a usage\n"
      "error, or one file named twice as the sheet, the script, the template or a frame\n"
      "(nothing is written); 3 the sheet, the script or the copied template could not be\n"
      "written, or the template could not be read. --watch ends with 130 after Ctrl-C (128\n"
      "and the signal's number), and with 1 when a watched folder is removed or renamed.\n";
  return text;
}

std::string versionLine() { return "orvane-zozivi-cli " + std::string(kProgramVersion) + "\n"; }

}  // namespace oz
