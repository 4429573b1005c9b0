// Where the Script Editor's controls go for a given client size. The window
// opens at 720 × 540 and cannot be made smaller.
#pragma once

#include "toolkit/toolkit.h"

namespace oz {

inline constexpr int kEditorWindowWidth = 720;
inline constexpr int kEditorWindowHeight = 540;

struct EditorLayout {
  int panelWidth;
  int panelHeight;
  int deleteX;  // "Delete Script"
  int saveX;    // "Save Script"
  int buttonsY;
  int tagFrameX;
  int tagFrameHeight;
  int tagButtonX;
};

// The bottom buttons centre on the panel by integer division, which rounds
// toward zero; at the opening size they stand 3 points left of where the
// window first puts them.
constexpr EditorLayout editorLayoutFor(int width, int height) {
  const int panelWidth = width - 165;
  return {
      .panelWidth = panelWidth,
      .panelHeight = height - 75,
      .deleteX = panelWidth / 2 - 145,
      .saveX = panelWidth / 2 + 5,
      .buttonsY = height - 35,
      .tagFrameX = width - 155,
      .tagFrameHeight = height - 20,
      .tagButtonX = width - 150,
  };
}

// Where the window builds its controls, at the opening size. The panel, the
// tag column and the bottom row stand where the layout of that size puts
// them, except that the bottom buttons first stand 3 points right of where a
// resize moves them.
struct EditorPlaces {
  Rect nameLabel;  // "Script Name:"
  Rect nameField;
  Rect newScript;  // "+"
  Rect panel;
  Rect tagFrame;
  Rect firstTagButton;  // the others follow one under the other
  int tagButtonPitch;
  Rect deleteButton;
  Rect saveButton;
};

constexpr EditorPlaces editorPlacesWhenBuilt() {
  constexpr EditorLayout opening = editorLayoutFor(kEditorWindowWidth, kEditorWindowHeight);
  constexpr int builtButtonShift = 3;
  return {
      .nameLabel = {10, 15, 80, 20},
      .nameField = {90, 15, 150, 20},
      .newScript = {245, 15, 40, 20},
      .panel = {5, 40, opening.panelWidth, opening.panelHeight},
      .tagFrame = {opening.tagFrameX, 10, 145, opening.tagFrameHeight},
      .firstTagButton = {opening.tagButtonX, 35, 135, 25},
      .tagButtonPitch = 30,
      .deleteButton = {opening.deleteX + builtButtonShift, opening.buttonsY, 150, 25},
      .saveButton = {opening.saveX + builtButtonShift, opening.buttonsY, 150, 25},
  };
}

}  // namespace oz
