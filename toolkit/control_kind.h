// The kinds of control a Toolkit creates.
#pragma once

namespace oz {

enum class ControlKind {
  Label,
  TextField,
  Button,
  GroupFrame,
  Option,
  CheckBox,
  List,
  ListBox,
  SpinField,
  ImageView,
  RichText,
  TabPanel,
  Editor,
  Canvas,
  ScrollBar,
};

}  // namespace oz
