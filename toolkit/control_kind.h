// The kinds of control a Toolkit creates.
#ifndef OZ_TOOLKIT_CONTROL_KIND_H_
#define OZ_TOOLKIT_CONTROL_KIND_H_

namespace oz {

enum class ControlKind {
  Label,
  TextField,
  Button,
  GroupFrame,
  Option,
  CheckBox,
  List,
  SpinField,
  ImageView,
  RichText,
  TabPanel,
  Editor,
};

}  // namespace oz

#endif  // OZ_TOOLKIT_CONTROL_KIND_H_
