// The template gallery: ready-made templates installed with the program, for
// today's engines. They are never seeded on a first run; the user copies one
// at a time into the support directory, where it becomes an ordinary script.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/support_dir.h"

namespace oz {

// The gallery's folder below an installation prefix, from the folder that
// holds the executables ("bin/").
inline constexpr std::string_view kGalleryBelowBin = "../share/orvane-zozivi/templates/";

// The example frames' folder below an installation prefix, from "bin/".
inline constexpr std::string_view kExampleFramesBelowBin =
    "../share/orvane-zozivi/examples/frames/";

// A folder installed with the program, for an executable at
// `executablePath`: `belowBin` from the executable's folder when that folder
// exists; else, when the executable runs from the build folder
// `buildBinDir`, the source tree's `sourceDir`. nullopt when neither
// applies. The result ends in "/".
std::optional<std::string> dataDirFor(std::string_view executablePath, std::string_view belowBin,
                                      std::string_view buildBinDir, std::string_view sourceDir);

// The gallery folder for an executable at `executablePath`: the installed
// gallery beside it (`kGalleryBelowBin` from the executable's folder) when
// that folder exists; else, when the executable runs from the build folder
// `buildBinDir`, the source tree's `sourceGalleryDir`. nullopt when neither
// applies. The result ends in "/".
std::optional<std::string> galleryDirFor(std::string_view executablePath,
                                         std::string_view buildBinDir,
                                         std::string_view sourceGalleryDir);

// The gallery's file of one-line descriptions: lines of a template's name, a
// tab and its description; empty lines and lines starting with "#" are notes.
inline constexpr std::string_view kGalleryDescriptions = "descriptions.tsv";

struct GalleryTemplate {
  std::string name;         // the file name less ".txt"
  std::string description;  // empty when the descriptions name none
  bool operator==(const GalleryTemplate&) const = default;
};

// The gallery's templates in version order, each with its description.
std::vector<GalleryTemplate> listGallery(const std::string& galleryDir);

enum class GalleryInstallResult {
  Installed,
  NotInGallery,   // no readable template of that name in the gallery
  AlreadyExists,  // the support directory has something of that name: left untouched
  Failed,         // the new script file could not be written
};

// Copies the gallery template `name` byte for byte into `dir` as the script
// `name`. Never replaces anything: the file is created only if nothing of that
// name exists.
GalleryInstallResult installFromGallery(const std::string& galleryDir, const SupportDir& dir,
                                        std::string_view name);

}  // namespace oz
