// The modal dialogs of the toolkit. Each has an object name tests can find
// through QApplication::activeModalWidget(): "message-box",
// "folder-requester", "save-requester".
#pragma once

#include <string>
#include <string_view>

#include "toolkit/toolkit.h"

class QWidget;

namespace oz {

// Returns a MessageResult; closing a Yes/No box without choosing is No,
// closing a Yes/No/Cancel box is Cancel.
int showMessageBox(QWidget* parent, std::string_view title, std::string_view text,
                   MessageButtons buttons);
// The requesters open in `startFolder` when it names a folder.
std::string requestFolder(QWidget* parent, std::string_view title, std::string_view startFolder);
std::string requestSaveFile(QWidget* parent, std::string_view title, std::string_view proposedName,
                            std::string_view filter, std::string_view startFolder);

}  // namespace oz
