// What sheet tests ask of a build: the sheets it wrote or the refusal it
// gave, failing the test when it ended the other way.
#pragma once

#include <gtest/gtest.h>

#include <utility>

#include "sheet/build_sheet.h"

namespace oz::testing {

inline BuiltSheets builtSheets(const BuildOptions& options) {
  BuildOutcome outcome = buildSheet(options);
  if (auto* sheets = std::get_if<BuiltSheets>(&outcome)) return std::move(*sheets);
  ADD_FAILURE() << "not built: problem "
                << (std::holds_alternative<BuildRefusal>(outcome)
                        ? static_cast<int>(std::get<BuildRefusal>(outcome).problem)
                        : -1);
  return {};
}

inline BuildRefusal buildRefusal(const BuildOptions& options) {
  const BuildOutcome outcome = buildSheet(options);
  if (const auto* refusal = std::get_if<BuildRefusal>(&outcome)) return *refusal;
  ADD_FAILURE() << "the build was not refused";
  return {};
}

}  // namespace oz::testing
