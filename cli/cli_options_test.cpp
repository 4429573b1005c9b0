#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace oz {
namespace {

ParsedArguments parse(std::vector<const char*> args) {
  args.insert(args.begin(), "orvane-zozivi-cli");
  return parseArguments(static_cast<int>(args.size()), args.data());
}

CliRequest accepted(std::vector<const char*> args) {
  ParsedArguments parsed = parse(std::move(args));
  if (auto* error = std::get_if<UsageError>(&parsed)) {
    ADD_FAILURE() << error->message;
    return {};
  }
  return std::get<CliRequest>(parsed);
}

std::string rejected(std::vector<const char*> args) {
  ParsedArguments parsed = parse(std::move(args));
  if (auto* error = std::get_if<UsageError>(&parsed)) return error->message;
  ADD_FAILURE() << "accepted";
  return {};
}

TEST(CliOptionsTest, DefaultsMatchAFreshMainWindow) {
  const CliRequest r = accepted({"--sheet", "out/walk.png", "frames"});
  EXPECT_EQ(r.build.savePath, "out/walk.png");
  EXPECT_EQ(r.build.imageFolder, "frames/");
  EXPECT_EQ(static_cast<const SpriteOptions&>(r.build), SpriteOptions());
  EXPECT_FALSE(r.build.smallest || r.help);
}

TEST(CliOptionsTest, EveryOptionReachesTheRequest) {
  const CliRequest r = accepted({"--layout=strip",
                                 "frames/",
                                 "--columns",
                                 " 7x",
                                 "--depth",
                                 "alpha",
                                 "--dither",
                                 "--remove-alpha",
                                 "--background",
                                 "pink",
                                 "--retina",
                                 "--power-of-2",
                                 "--sprite-number=9999",
                                 "--smallest",
                                 "--quantiser",
                                 "kmeans",
                                 "--sheet=a b.png",
                                 "--spacing",
                                 "64",
                                 "--border=7",
                                 "--extrude",
                                 "16",
                                 "--bleed",
                                 "--dedupe"});
  EXPECT_EQ(r.build.savePath, "a b.png");
  EXPECT_EQ(r.build.imageFolder, "frames/");
  EXPECT_TRUE(r.build.strip);
  EXPECT_EQ(r.build.columns, " 7x");
  EXPECT_EQ(r.build.colorDepth, kDepthAlpha);
  EXPECT_TRUE(r.build.dithering && r.build.removeAlpha && r.build.pink && r.build.powerOf2 &&
              r.build.smallest && r.build.retina);
  EXPECT_FALSE(r.build.transparent);
  EXPECT_EQ(r.build.spriteNumber, 9999);
  EXPECT_EQ(r.build.quantiser, PaletteQuantiser::KMeans);
  EXPECT_EQ(accepted({"--sheet", "s.png", "--quantiser=network", "f"}).build.quantiser,
            PaletteQuantiser::Network);
  EXPECT_EQ(r.build.spacing, 64);
  EXPECT_EQ(r.build.border, 7);
  EXPECT_EQ(r.build.extrude, 16);
  EXPECT_TRUE(r.build.bleed && r.build.dedupe);

  const char* depths[] = {"32", "24", "8", "4", "1", "alpha"};
  for (int32_t depth = kDepth32; depth <= kDepthAlpha; ++depth) {
    EXPECT_EQ(accepted({"--sheet", "s.png", "--depth", depths[depth], "f"}).build.colorDepth,
              depth);
  }
  for (const char* depth : {"8", "4"}) {
    const CliRequest t = accepted({"--sheet", "s.png", "--background", "pink",
                                   "--background=transparent", "--depth", depth, "f"});
    EXPECT_TRUE(t.build.transparent && !t.build.pink) << depth;
  }
  EXPECT_FALSE(accepted({"--sheet", "s.png", "--depth", "8", "--background", "transparent",
                         "--background", "pink", "f"})
                   .build.transparent);
  // A later option wins; after "--" a name that looks like an option is the folder.
  const CliRequest last =
      accepted({"--sheet", "a.png", "--layout", "strip", "--layout", "sheet", "--", "--odd"});
  EXPECT_FALSE(last.build.strip);
  EXPECT_EQ(last.build.imageFolder, "--odd/");
  // Empty paths are left for the build to refuse with its own message.
  EXPECT_EQ(accepted({"--sheet", "", ""}).build.imageFolder, "");
}

// The script, listing, gallery and help options are run by the command line's
// own tests and the manual page's; here their mistakes.
TEST(CliOptionsTest, MistakesAreUsageErrors) {
  EXPECT_EQ(rejected({"frames"}), "--sheet PATH is required");
  EXPECT_EQ(rejected({"--sheet", "s.png"}), "FOLDER is required");
  EXPECT_EQ(rejected({"--sheet", "s.png", "a", "b"}), "only one FOLDER, not also \"b\"");
  EXPECT_EQ(rejected({"--sheet", "s.png", "--colour", "f"}), "unknown option \"--colour\"");
  EXPECT_EQ(rejected({"--sheet", "s.png", "-h", "f"}), "unknown option \"-h\"");
  EXPECT_EQ(rejected({"f", "--sheet"}), "--sheet needs PATH");
  EXPECT_EQ(rejected({"--sheet", "s.png", "--dither=yes", "f"}), "--dither takes no value");
  EXPECT_EQ(rejected({"--sheet", "s.png", "--depth", "16", "f"}),
            "--depth takes 32, 24, 8, 4, 1 or alpha, not \"16\"");
  EXPECT_EQ(rejected({"--install-script"}), "--install-script needs NAME");
  EXPECT_NE(rejected({"--install-script", ""}).find("--gallery"), std::string::npos);
  EXPECT_EQ(rejected({"--sheet", "s.png", "--data", "out.txt", "f"}), "--data needs --script");
  EXPECT_FALSE(rejected({"--sheet", "s.png", "--layout", "grid", "f"}).empty());
  EXPECT_FALSE(rejected({"--sheet", "s.png", "--background", "white", "f"}).empty());
  const std::pair<const char*, const char*> pixelLimits[] = {
      {"spacing", "65"}, {"border", "65"}, {"extrude", "17"}, {"extrude", "016"}};
  for (const auto& [option, value] : pixelLimits) {
    const std::string name = std::string("--") + option;
    EXPECT_EQ(rejected({"--sheet", "s.png", name.c_str(), value, "f"}),
              name + " takes a number of pixels from 0 to " + (option[0] == 'e' ? "16" : "64") +
                  ", not \"" + value + "\"");
  }
  for (const char* number : {"-1", "", "1x", "+5"}) {
    EXPECT_FALSE(rejected({"--sheet", "s.png", "--border", number, "f"}).empty()) << number;
  }
  EXPECT_TRUE(
      accepted({"--sheet", "s.png", "--premultiplied-alpha", "f"}).build.premultipliedAlpha);
  EXPECT_EQ(rejected({"--sheet", "s.png", "--bleed", "--premultiplied-alpha", "f"}),
            "--bleed needs straight alpha, not --premultiplied-alpha");
  // Two colours leave no room for transparency, and the other depths have alpha or none.
  for (const char* depth : {"1", "32", "24", "alpha"}) {
    EXPECT_EQ(rejected({"--sheet", "s.png", "--depth", depth, "--background", "transparent", "f"}),
              "--background transparent needs --depth 8 or 4")
        << depth;
  }
  EXPECT_EQ(rejected({"--sheet", "s.png", "--quantiser", "median", "f"}),
            "--quantiser takes network or kmeans, not \"median\"");
  for (const char* number : {"10000", "-1", "", "1x", "+5"}) {
    EXPECT_NE(rejected({"--sheet", "s.png", "--sprite-number", number, "f"}).find("0 to 9999"),
              std::string::npos)
        << number;
  }
}

TEST(CliOptionsTest, AnimationsAndTheirFrameRate) {
  const char* sources[] = {"none", "folders", "prefixes"};
  for (int source = 0; source < 3; ++source) {
    EXPECT_EQ(accepted({"--sheet", "s.png", "--animations", sources[source], "f"}).build.animations,
              static_cast<AnimationSource>(source));
  }
  EXPECT_EQ(accepted({"--sheet", "s.png", "--fps=60", "f"}).build.frameRate, 60);
  EXPECT_EQ(accepted({"--sheet", "s.png", "--fps", "1", "f"}).build.frameRate, 1);
  EXPECT_EQ(rejected({"--sheet", "s.png", "--animations", "subfolders", "f"}),
            "--animations takes none, folders or prefixes, not \"subfolders\"");
  for (const char* rate : {"0", "61", "-1", "", "12.5", "0012"}) {
    EXPECT_EQ(
        rejected({"--sheet", "s.png", "--fps", rate, "f"}),
        std::string("--fps takes a number of frames a second from 1 to 60, not \"") + rate + "\"")
        << rate;
  }
}

TEST(CliOptionsTest, PackedLayoutAndItsOptions) {
  const CliRequest r =
      accepted({"--sheet", "s.png", "--layout", "packed", "--max-size", "2048", "--square",
                "--trim", "--trim-threshold=254", "--rotate", "--multipack", "f"});
  EXPECT_TRUE(r.build.packed && r.build.square && r.build.trim && r.build.rotate &&
              r.build.multipack);
  EXPECT_FALSE(r.build.strip);
  EXPECT_EQ(r.build.maxSize, 2048);
  EXPECT_EQ(r.build.trimThreshold, 254);
  EXPECT_FALSE(
      accepted({"--sheet", "s.png", "--layout=packed", "--layout", "strip", "f"}).build.packed);
  for (const char* size : {"0", "8193", "-1", "1k"}) {
    EXPECT_EQ(
        rejected({"--sheet", "s.png", "--layout", "packed", "--max-size", size, "f"}),
        std::string("--max-size takes a number of pixels from 1 to 8192, not \"") + size + "\"");
  }
  EXPECT_EQ(rejected({"--sheet", "s.png", "--layout", "packed", "--trim", "--trim-threshold", "255",
                      "f"}),
            "--trim-threshold takes an alpha from 0 to 254, not \"255\"");
  // What only packing reads is a mistake with the grid or the strip.
  const std::vector<std::vector<const char*>> packedOnly = {
      {"--max-size", "1024"}, {"--square"}, {"--trim"}, {"--rotate"}, {"--multipack"}};
  for (const auto& option : packedOnly) {
    std::vector<const char*> args = {"--sheet", "s.png", "--layout", "strip"};
    args.insert(args.end(), option.begin(), option.end());
    args.push_back("f");
    EXPECT_EQ(rejected(args), std::string(option[0]) + " needs --layout packed");
  }
  EXPECT_EQ(rejected({"--sheet", "s.png", "--layout", "packed", "--trim-threshold", "9", "f"}),
            "--trim-threshold needs --trim");
  EXPECT_EQ(rejected({"--sheet", "s.png", "--layout", "packed", "--multipack", "--script", "x",
                      "--data", "-", "f"}),
            "--multipack writes a script for each sheet: give --data a file path, not -");
}

}  // namespace
}  // namespace oz
