// The controls of QtToolkit: creation, text and state, tab panels, editors.
#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBrowser>

#include "qt/canvas_widget.h"
#include "qt/list_popup_keys.h"
#include "qt/qt_strings.h"
#include "qt/qt_toolkit.h"
#include "qt/script_text_edit.h"
#include "qt/tab_panel.h"
#include "qt/toolkit_window.h"

namespace oz {
namespace {

constexpr char kHtmlProperty[] = "oz-html";

std::optional<int> parseDecimal(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  return ok ? std::optional<int>(value) : std::nullopt;
}

// A line edit that hands Return, Shift+Return and Escape to `report`
// instead of acting on them.
class FindLineEdit final : public QLineEdit {
 public:
  FindLineEdit(QWidget* parent, std::function<void(FieldKey)> report)
      : QLineEdit(parent), report_(std::move(report)) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      report_(event->modifiers() & Qt::ShiftModifier ? FieldKey::ShiftReturn : FieldKey::Return);
    } else if (key == Qt::Key_Escape) {
      report_(FieldKey::Escape);
    } else {
      QLineEdit::keyPressEvent(event);
      return;
    }
    event->accept();
  }

 private:
  std::function<void(FieldKey)> report_;
};

// UTF-8 byte offsets of an editor's text and the document's positions, which
// count UTF-16 code units.
int positionOfByte(const QString& text, size_t byte) {
  return static_cast<int>(
      QString::fromUtf8(text.toUtf8().left(static_cast<qsizetype>(byte))).size());
}
size_t byteOfPosition(const QString& text, int position) {
  return static_cast<size_t>(text.left(position).toUtf8().size());
}

// A list box keeps "no selection" when it gets the keyboard focus; a plain
// item view would make its first row the current one, which only the user
// or the program may choose.
class ListBox : public QListWidget {
 public:
  using QListWidget::QListWidget;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QAbstractScrollArea::focusInEvent(event);  // NOLINT(bugprone-parent-virtual-call)
    viewport()->update();
  }
};

}  // namespace

// --- Controls.

void QtToolkit::adopt(int window, int control, ControlKind kind, QWidget* widget, Rect r) {
  widget->setObjectName(QString("control-%1").arg(control));
  widget->setGeometry(r.x, r.y, r.width, r.height);
  widget->show();
  controls_[control] = {widget, kind, window};
  lastCreated_[window] = control;
}

void QtToolkit::createLabel(int window, int control, Rect r, std::string_view text,
                            LabelAlign align) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* label = new QLabel(toQ(text), parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment((align == LabelAlign::Centred ? Qt::AlignHCenter : Qt::AlignLeft) |
                      Qt::AlignVCenter);
  adopt(window, control, ControlKind::Label, label, r);
}

void QtToolkit::createTextField(int window, int control, Rect r, std::string_view text) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  adopt(window, control, ControlKind::TextField, new QLineEdit(toQ(text), parent), r);
}

void QtToolkit::createFindField(int window, int control, Rect r) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* field = new FindLineEdit(parent, [this, window, control](FieldKey key) {
    Event event{EventKind::Control, control, window};
    event.fieldKey = key;
    queue(event);
  });
  adopt(window, control, ControlKind::TextField, field, r);
}

void QtToolkit::createButton(int window, int control, Rect r, std::string_view caption) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* button = new QPushButton(captionToQ(caption), parent);
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [this, window, control] {
    queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::Button, button, r);
}

void QtToolkit::createGroupFrame(int window, int control, Rect r, std::string_view title) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  adopt(window, control, ControlKind::GroupFrame, new QGroupBox(captionToQ(title), parent), r);
}

void QtToolkit::createOption(int window, int control, Rect r, std::string_view caption) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  // Radio buttons of one parent would all be one group; the program's groups
  // are runs of options created one after another.
  QButtonGroup* group = nullptr;
  auto last = lastCreated_.find(window);
  if (last != lastCreated_.end()) {
    const ControlEntry* previous = find(last->second);
    auto previousGroup = optionGroups_.find(last->second);
    if (previous && previous->kind == ControlKind::Option && previousGroup != optionGroups_.end()) {
      group = previousGroup->second;
    }
  }
  if (!group) group = new QButtonGroup(parent);
  auto* option = new QRadioButton(captionToQ(caption), parent);
  option->setAutoExclusive(false);
  group->addButton(option);
  optionGroups_[control] = group;
  QObject::connect(option, &QRadioButton::clicked, option, [this, window, control] {
    queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::Option, option, r);
}

void QtToolkit::createCheckBox(int window, int control, Rect r, std::string_view caption) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* box = new QCheckBox(captionToQ(caption), parent);
  QObject::connect(box, &QCheckBox::clicked, box, [this, window, control] {
    queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::CheckBox, box, r);
}

void QtToolkit::createList(int window, int control, Rect r) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* list = new QComboBox(parent);
  list->setEditable(false);
  new ListPopupKeys(list);
  // `activated` comes from the user's choice only, never from setCurrentIndex.
  QObject::connect(list, &QComboBox::activated, list, [this, window, control] {
    queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::List, list, r);
}

void QtToolkit::createListBox(int window, int control, Rect r) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* list = new ListBox(parent);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  QObject::connect(list, &QListWidget::currentRowChanged, list, [this, window, control] {
    if (!quiet_) queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::ListBox, list, r);
}

void QtToolkit::createSpinField(int window, int control, Rect r, int minimum, int maximum) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* spin = new QSpinBox(parent);
  spin->setRange(minimum, maximum);
  spin->setValue(minimum);
  QObject::connect(spin, &QSpinBox::valueChanged, spin, [this, window, control] {
    if (!quiet_) queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::SpinField, spin, r);
}

void QtToolkit::setMinimumText(int spinField, std::string_view text) {
  if (auto* spin = widgetAs<QSpinBox>(spinField)) spin->setSpecialValueText(toQ(text));
}

bool QtToolkit::createImageView(int window, int control, Rect r,
                                std::span<const std::uint8_t> png) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return false;
  QPixmap pixmap;
  const bool loaded =
      pixmap.loadFromData(png.data(), static_cast<uint>(png.size()), "PNG") && !pixmap.isNull();
  auto* view = new QLabel(parent);
  view->setScaledContents(true);
  if (loaded) view->setPixmap(pixmap);
  adopt(window, control, ControlKind::ImageView, view, r);
  return loaded;
}

void QtToolkit::createCanvas(int window, int control, Rect r) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  CanvasWidget::Callbacks callbacks{
      [this, window, control](int x, int y) {
        queueUnlessRepeated({EventKind::PointerMoved, control, window, x, y});
      },
      [this, window, control](int steps) {
        queue({EventKind::Wheel, control, window, 0, 0, steps});
      },
  };
  adopt(window, control, ControlKind::Canvas, new CanvasWidget(parent, std::move(callbacks)), r);
}

void QtToolkit::paintCanvas(int canvas, const CanvasPicture& picture) {
  if (auto* widget = widgetAs<CanvasWidget>(canvas)) widget->setPicture(picture);
}

void QtToolkit::createScrollBar(int window, int control, Rect r, Orientation orientation) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* bar = new QScrollBar(orientation == Orientation::Horizontal ? Qt::Horizontal : Qt::Vertical,
                             parent);
  bar->setRange(0, 0);
  QObject::connect(bar, &QScrollBar::valueChanged, bar, [this, window, control] {
    if (!quiet_) queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::ScrollBar, bar, r);
}

void QtToolkit::setScrollRange(int scrollBar, int length, int page) {
  auto* bar = widgetAs<QScrollBar>(scrollBar);
  if (!bar) return;
  quietly([&] {
    bar->setRange(0, std::max(0, length - page));
    bar->setPageStep(std::max(1, page));
    // The arrows move a tenth of what shows, as the editors' bars roughly do.
    bar->setSingleStep(std::max(1, page / 10));
  });
}

void QtToolkit::createRichText(int window, int control, Rect r, std::string_view html) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* area = new QTextBrowser(parent);
  area->setOpenExternalLinks(true);
  area->setLineWrapMode(QTextEdit::WidgetWidth);
  area->setProperty(kHtmlProperty, toQ(html));
  area->setHtml(toQ(html));
  adopt(window, control, ControlKind::RichText, area, r);
}

void QtToolkit::createTabPanel(int window, int control, Rect r) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* panel = new TabPanel(parent);
  // Every change of the selected tab is reported, the program's too; the
  // handler reads the selection when it runs.
  QObject::connect(panel, &QTabWidget::currentChanged, panel, [this, window, control] {
    queueUnlessRepeated({EventKind::TabChanged, control, window});
  });
  adopt(window, control, ControlKind::TabPanel, panel, r);
}

void QtToolkit::createEditor(int panel, int tab, int control, Rect r) {
  auto* tabs = widgetAs<TabPanel>(panel);
  if (!tabs || tab < 0 || tab >= tabs->count() || control == panel) return;
  removeControl(control);
  const int window = find(panel)->window;
  auto* editor = new ScriptTextEdit(tabs->widget(tab));
  QObject::connect(editor, &QPlainTextEdit::textChanged, editor, [this, window, control] {
    if (!quiet_) queueUnlessRepeated({EventKind::TextChanged, control, window});
  });
  adopt(window, control, ControlKind::Editor, editor, r);
}

void QtToolkit::removeControl(int control) {
  auto it = controls_.find(control);
  if (it == controls_.end()) return;
  delete it->second.widget.data();
  controls_.erase(it);
  optionGroups_.erase(control);
}

std::string QtToolkit::text(int control) const {
  const ControlEntry* entry = find(control);
  if (!entry) return {};
  QWidget* w = entry->widget;
  switch (entry->kind) {
    case ControlKind::Label:
      return fromQ(static_cast<QLabel*>(w)->text());
    case ControlKind::TextField:
      return fromQ(static_cast<QLineEdit*>(w)->text());
    case ControlKind::Button:
    case ControlKind::Option:
    case ControlKind::CheckBox:
      return captionFromQ(static_cast<QAbstractButton*>(w)->text());
    case ControlKind::GroupFrame:
      return captionFromQ(static_cast<QGroupBox*>(w)->title());
    case ControlKind::List:
      return fromQ(static_cast<QComboBox*>(w)->currentText());
    case ControlKind::ListBox: {
      const QListWidgetItem* item = static_cast<QListWidget*>(w)->currentItem();
      return item ? fromQ(item->text()) : std::string();
    }
    case ControlKind::SpinField:
      return std::to_string(static_cast<QSpinBox*>(w)->value());
    case ControlKind::RichText:
      return fromQ(w->property(kHtmlProperty).toString());
    case ControlKind::TabPanel: {
      auto* tabs = static_cast<TabPanel*>(w);
      return tabs->currentIndex() < 0 ? std::string()
                                      : captionFromQ(tabs->tabText(tabs->currentIndex()));
    }
    case ControlKind::Editor:
      return fromQ(static_cast<ScriptTextEdit*>(w)->text());
    case ControlKind::ImageView:
    case ControlKind::Canvas:
    case ControlKind::ScrollBar:
      return {};
  }
  return {};
}

void QtToolkit::setText(int control, std::string_view text) {
  const ControlEntry* entry = find(control);
  if (!entry) return;
  QWidget* w = entry->widget;
  switch (entry->kind) {
    case ControlKind::Label:
      static_cast<QLabel*>(w)->setText(toQ(text));
      break;
    case ControlKind::TextField:
      static_cast<QLineEdit*>(w)->setText(toQ(text));
      break;
    case ControlKind::Button:
    case ControlKind::Option:
    case ControlKind::CheckBox:
      static_cast<QAbstractButton*>(w)->setText(captionToQ(text));
      break;
    case ControlKind::GroupFrame:
      static_cast<QGroupBox*>(w)->setTitle(captionToQ(text));
      break;
    case ControlKind::SpinField:
      // The text sets the value, as typing would; no number, no change.
      if (std::optional<int> value = parseDecimal(toQ(text))) {
        quietly([&] { static_cast<QSpinBox*>(w)->setValue(*value); });
      }
      break;
    case ControlKind::RichText:
      w->setProperty(kHtmlProperty, toQ(text));
      static_cast<QTextBrowser*>(w)->setHtml(toQ(text));
      break;
    case ControlKind::Editor:
      quietly([&] { static_cast<ScriptTextEdit*>(w)->setPlainText(toQ(text)); });
      break;
    case ControlKind::List:
    case ControlKind::ListBox:
    case ControlKind::TabPanel:
    case ControlKind::ImageView:
    case ControlKind::Canvas:
    case ControlKind::ScrollBar:
      break;
  }
}

int QtToolkit::state(int control) const {
  const ControlEntry* entry = find(control);
  if (!entry) return 0;
  QWidget* w = entry->widget;
  switch (entry->kind) {
    case ControlKind::Option:
    case ControlKind::CheckBox:
      return static_cast<QAbstractButton*>(w)->isChecked() ? 1 : 0;
    case ControlKind::List:
      return static_cast<QComboBox*>(w)->currentIndex();
    case ControlKind::ListBox:
      return static_cast<QListWidget*>(w)->currentRow();
    case ControlKind::SpinField:
      return static_cast<QSpinBox*>(w)->value();
    case ControlKind::ScrollBar:
      return static_cast<QScrollBar*>(w)->value();
    case ControlKind::TabPanel:
      return static_cast<TabPanel*>(w)->currentIndex();
    default:
      return 0;
  }
}

void QtToolkit::setState(int control, int state) {
  const ControlEntry* entry = find(control);
  if (!entry) return;
  QWidget* w = entry->widget;
  switch (entry->kind) {
    case ControlKind::Option: {
      auto* option = static_cast<QRadioButton*>(w);
      QButtonGroup* group = option->group();
      // An exclusive group refuses to clear its chosen button; the program may.
      if (!state && group) group->setExclusive(false);
      option->setChecked(state != 0);
      if (!state && group) group->setExclusive(true);
      break;
    }
    case ControlKind::CheckBox:
      static_cast<QCheckBox*>(w)->setChecked(state != 0);
      break;
    case ControlKind::List: {
      auto* list = static_cast<QComboBox*>(w);
      list->setCurrentIndex(state >= 0 && state < list->count() ? state : -1);
      break;
    }
    case ControlKind::ListBox: {
      auto* list = static_cast<QListWidget*>(w);
      quietly([&] { list->setCurrentRow(state >= 0 && state < list->count() ? state : -1); });
      break;
    }
    case ControlKind::SpinField:
      quietly([&] { static_cast<QSpinBox*>(w)->setValue(state); });
      break;
    case ControlKind::ScrollBar:
      quietly([&] { static_cast<QScrollBar*>(w)->setValue(state); });
      break;
    case ControlKind::TabPanel: {
      auto* tabs = static_cast<TabPanel*>(w);
      if (state >= 0 && state < tabs->count()) tabs->setCurrentIndex(state);
      break;
    }
    default:
      break;
  }
}

void QtToolkit::addListEntry(int list, std::string_view entry) {
  if (auto* combo = widgetAs<QComboBox>(list)) {
    const int selected = combo->currentIndex();
    combo->addItem(toQ(entry));
    // A list keeps "no selection" until the program or the user chooses.
    if (selected < 0) combo->setCurrentIndex(-1);
  } else if (auto* box = widgetAs<QListWidget>(list)) {
    // Adding the first row may select it; only the program or the user selects.
    quietly([&] {
      const int selected = box->currentRow();
      box->addItem(toQ(entry));
      box->setCurrentRow(selected);
    });
  }
}

void QtToolkit::clearList(int list) {
  if (auto* combo = widgetAs<QComboBox>(list)) combo->clear();
  if (auto* box = widgetAs<QListWidget>(list)) quietly([&] { box->clear(); });
}

void QtToolkit::setEnabled(int control, bool enabled) {
  if (QWidget* w = controlWidget(control)) w->setEnabled(enabled);
}

bool QtToolkit::isEnabled(int control) const {
  QWidget* w = controlWidget(control);
  return w && w->isEnabled();
}

void QtToolkit::setVisible(int control, bool visible) {
  if (QWidget* w = controlWidget(control)) w->setVisible(visible);
}

bool QtToolkit::isVisible(int control) const {
  QWidget* w = controlWidget(control);
  return w && !w->isHidden();
}

void QtToolkit::setGeometry(int control, Rect r) {
  if (QWidget* w = controlWidget(control)) w->setGeometry(r.x, r.y, r.width, r.height);
}

Rect QtToolkit::geometry(int control) const {
  QWidget* w = controlWidget(control);
  if (!w) return {};
  const QRect g = w->geometry();
  return {g.x(), g.y(), g.width(), g.height()};
}

void QtToolkit::focus(int control) {
  if (QWidget* w = controlWidget(control)) w->setFocus(Qt::OtherFocusReason);
}

// Given as rich text that says the text as it is: Qt would take plain text
// that looks like markup ("<" in a path) for rich text. Runs of spaces stay,
// as the label shows them.
void QtToolkit::setToolTip(int control, std::string_view text) {
  QWidget* w = controlWidget(control);
  if (!w) return;
  w->setToolTip(text.empty() ? QString() : Qt::convertFromPlainText(toQ(text), Qt::WhiteSpacePre));
}

// --- Tab panels.

void QtToolkit::addTab(int panel, std::string_view title) {
  if (auto* tabs = widgetAs<TabPanel>(panel)) tabs->addTab(new QWidget, captionToQ(title));
}

void QtToolkit::removeTab(int panel, int index) {
  auto* tabs = widgetAs<TabPanel>(panel);
  if (!tabs || index < 0 || index >= tabs->count()) return;
  QWidget* page = tabs->widget(index);
  tabs->removeTab(index);
  delete page;  // and the editors in it
  std::erase_if(controls_, [](const auto& entry) { return !entry.second.widget; });
}

int QtToolkit::tabCount(int panel) const {
  auto* tabs = widgetAs<TabPanel>(panel);
  return tabs ? tabs->count() : 0;
}

std::string QtToolkit::tabTitle(int panel, int index) const {
  auto* tabs = widgetAs<TabPanel>(panel);
  if (!tabs || index < 0 || index >= tabs->count()) return {};
  return captionFromQ(tabs->tabText(index));
}

void QtToolkit::setTabTitle(int panel, int index, std::string_view title) {
  auto* tabs = widgetAs<TabPanel>(panel);
  if (tabs && index >= 0 && index < tabs->count()) tabs->setTabText(index, captionToQ(title));
}

int QtToolkit::itemWidth(int panel) const {
  auto* tabs = widgetAs<TabPanel>(panel);
  return tabs ? tabs->itemSize().width() : 0;
}

int QtToolkit::itemHeight(int panel) const {
  auto* tabs = widgetAs<TabPanel>(panel);
  return tabs ? tabs->itemSize().height() : 0;
}

// --- Editors.

void QtToolkit::insertText(int editor, std::string_view text) {
  if (auto* edit = widgetAs<ScriptTextEdit>(editor)) edit->insertPlainText(toQ(text));
}

void QtToolkit::setEditorFont(int editor, std::string_view family, double points) {
  auto* edit = widgetAs<ScriptTextEdit>(editor);
  if (!edit) return;
  const QString name = toQ(family);
  QFont font = QFontDatabase::families().contains(name, Qt::CaseInsensitive)
                   ? QFont(name)
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(points);
  edit->setFont(font);
}

void QtToolkit::setCaretColour(int editor, Colour colour) {
  if (auto* edit = widgetAs<ScriptTextEdit>(editor)) edit->setCaretColour(toQColor(colour));
}

void QtToolkit::setBackgroundColour(int editor, Colour colour) {
  if (auto* edit = widgetAs<ScriptTextEdit>(editor)) edit->setBackgroundColour(toQColor(colour));
}

void QtToolkit::applyColouring(int editor, const EditorColouring& colouring) {
  if (auto* edit = widgetAs<ScriptTextEdit>(editor)) edit->applyColouring(colouring);
}

TextRange QtToolkit::selection(int editor) const {
  const auto* edit = widgetAs<ScriptTextEdit>(editor);
  if (!edit) return {};
  const QString text = edit->text();
  const QTextCursor cursor = edit->textCursor();
  const size_t start = byteOfPosition(text, cursor.selectionStart());
  return {start, byteOfPosition(text, cursor.selectionEnd()) - start};
}

void QtToolkit::selectText(int editor, TextRange range) {
  auto* edit = widgetAs<ScriptTextEdit>(editor);
  if (!edit) return;
  const QString text = edit->text();
  QTextCursor cursor = edit->textCursor();
  cursor.setPosition(positionOfByte(text, range.start));
  cursor.setPosition(positionOfByte(text, range.start + range.length), QTextCursor::KeepAnchor);
  edit->setTextCursor(cursor);
  edit->ensureCursorVisible();
}

}  // namespace oz
