#include "qt/modal_requests.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "qt/key_sequences.h"
#include "qt/qt_strings.h"

namespace oz {
namespace {

// An empty or missing folder leaves the choice to the dialog.
QString startDirectory(std::string_view folder) {
  const QString path = toQ(folder);
  return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

}  // namespace

int showMessageBox(QWidget* parent, std::string_view title, std::string_view text,
                   MessageButtons buttons) {
  QMessageBox box(parent);
  box.setObjectName("message-box");
  box.setWindowTitle(toQ(title));
  // One rich-text label: the title as the bold heading, the text under it,
  // both escaped so that no character of theirs is read as markup.
  QString body = toQ(text).toHtmlEscaped();
  body.replace("\r\n", "<br>").replace('\r', "<br>").replace('\n', "<br>");
  box.setTextFormat(Qt::RichText);
  box.setText("<p><b>" + toQ(title).toHtmlEscaped() + "</b></p><p>" + body + "</p>");
  if (buttons == MessageButtons::YesNo) {
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
  }
  if (buttons == MessageButtons::YesNoCancel) {
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    // Escape and the box's close button both give the escape button.
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
      case QMessageBox::Yes:
        return MessageResult::Yes;
      case QMessageBox::No:
        return MessageResult::No;
      default:
        return MessageResult::Cancel;
    }
  }
  box.setIcon(QMessageBox::Information);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MessageResult::Ok;
}

std::string requestFolder(QWidget* parent, std::string_view title, std::string_view startFolder) {
  QFileDialog dialog(parent, toQ(title), startDirectory(startFolder));
  dialog.setObjectName("folder-requester");
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  std::string folder = fromQ(dialog.selectedFiles().first());
  if (folder.empty()) return {};
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string requestSaveFile(QWidget* parent, std::string_view title, std::string_view proposedName,
                            std::string_view filter, std::string_view startFolder) {
  QFileDialog dialog(parent, toQ(title), startDirectory(startFolder));
  dialog.setObjectName("save-requester");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(toNameFilter(filter));
  dialog.selectFile(toQ(proposedName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return fromQ(dialog.selectedFiles().first());
}

}  // namespace oz
