#include "app/export_choice.h"

#include <optional>
#include <string_view>

#include "script/script_export.h"
#include "script/template_header.h"
#include "script/text_replace.h"
#include "store/script_store.h"

namespace oz {
namespace {

// What the disabled script save path field shows while a clipboard template is selected.
constexpr std::string_view kClipboardFieldText = "ov.Extension = \"Clipboard\"";
constexpr std::string_view kScriptRequesterTitle = "Save sprite script as...";

// The script save requester proposes the extension itself as the file name
// and offers the one filter "(*EXT)|*EXT".
std::string scriptSaveFilter(std::string_view extension) {
  std::string filter = "(*";
  filter.append(extension).append(")|*").append(extension);
  return filter;
}

// A chosen path that does not already contain the extension anywhere
// (case-sensitive) gets it appended.
std::string withScriptExtension(std::string_view chosenPath, std::string_view extension) {
  std::string path(chosenPath);
  if (!contains(path, extension)) path.append(extension);
  return path;
}

void enableScriptDestination(Toolkit& toolkit, bool enabled) {
  toolkit.setEnabled(Control::ScriptPathLabel, enabled);
  toolkit.setEnabled(Control::ScriptPathField, enabled);
  toolkit.setEnabled(Control::ScriptPathButton, enabled);
  toolkit.setMenuItemEnabled(MenuItem::SaveScriptAs, enabled);
}

}  // namespace

void clearScriptDestination(Toolkit& toolkit, ExportChoice& choice) {
  toolkit.setText(Control::ScriptPathField, "");
  enableScriptDestination(toolkit, false);
  choice.clipboardMode = false;
}

void scriptSelectionChanged(Toolkit& toolkit, const SupportDir& supportDir, ExportChoice& choice) {
  if (toolkit.state(Control::ScriptList) < 1) {
    clearScriptDestination(toolkit, choice);
    return;
  }
  // A template that cannot be read counts as one without an extension line;
  // the export itself then reports it.
  std::string firstLine;
  if (const std::optional<std::string> path =
          scriptPath(supportDir, toolkit.text(Control::ScriptList))) {
    readTemplateFirstLine(*path, &firstLine);
  }
  choice.clipboardMode = isClipboardTemplate(firstLine);
  if (choice.clipboardMode) {
    toolkit.setText(Control::ScriptPathField, kClipboardFieldText);
    enableScriptDestination(toolkit, false);
    return;
  }
  toolkit.setText(Control::ScriptPathField, "");
  enableScriptDestination(toolkit, true);
  choice.extension = templateExtension(firstLine);
}

void chooseScriptDestination(Toolkit& toolkit, const ExportChoice& choice,
                             std::string_view startFolder) {
  const std::string path = toolkit.chooseSaveFile(kScriptRequesterTitle, choice.extension,
                                                  scriptSaveFilter(choice.extension), startFolder);
  if (path.empty()) return;
  toolkit.setText(Control::ScriptPathField, withScriptExtension(path, choice.extension));
}

}  // namespace oz
