// Feeds arbitrary bytes to the settings reader and arbitrary edits to the
// document, checking that nothing crashes and that a written file always
// reads back the same way.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/settings_document.h"

namespace {

void requireStableRewrite(const oz::SettingsDocument& doc) {
  const auto once = oz::parseSettingsText(oz::formatSettingsText(doc.entries()));
  if (oz::parseSettingsText(oz::formatSettingsText(once)) != once) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string file = input.ConsumeRandomLengthString();
  const auto entries = oz::parseSettingsText(file);
  // Whatever was read is written back and read again without loss.
  if (oz::parseSettingsText(oz::formatSettingsText(entries)) != entries) std::abort();

  oz::SettingsDocument doc(entries);
  while (input.remaining_bytes() > 0) {
    const std::string name = input.ConsumeRandomLengthString(16);
    switch (input.ConsumeIntegralInRange(0, 6)) {
      case 0:
        doc.selectGroup(name);
        break;
      case 1:
        doc.readInteger(name, input.ConsumeIntegral<std::int64_t>());
        break;
      case 2:
        doc.readText(name, "");
        break;
      case 3:
        doc.writeText(name, input.ConsumeRandomLengthString(16));
        break;
      case 4: {
        const auto value = input.ConsumeIntegral<std::int64_t>();
        // A refused key is one no stored key can equal, so nothing is found.
        const bool written = doc.writeInteger(name, value);
        if (doc.readInteger(name, ~value) != (written ? value : ~value)) std::abort();
        break;
      }
      case 5:
        doc.removeKey(name);
        break;
      case 6:
        doc.listKeys();
        break;
    }
  }
  requireStableRewrite(doc);
  return 0;
}
