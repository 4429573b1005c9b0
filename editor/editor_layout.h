// Where the Script Editor's controls go for a given client size. The window
// opens at 720 × 540 and cannot be made smaller.
#pragma once

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

}  // namespace oz
