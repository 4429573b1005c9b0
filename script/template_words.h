// The words of the template language: the eleven tags a line's values replace,
// in the order they are replaced, the three markers, and the exact words added
// since, which follow rules of their own (the animation loop's markers among
// them).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "script/escape.h"

namespace oz {

// Every tag and marker starts with it; a line without it is copied as it is.
inline constexpr std::string_view kWordPrefix = "ov.";

// The order matters: a value inserted by one tag is searched by the tags after
// it, so a frame named "ov.ImageCount.png" yields the frame count.
inline constexpr std::array<std::string_view, 11> kTagNames = {
    "ov.ImageX",      "ov.ImageY",      "ov.ImageWidth",  "ov.ImageHeight",
    "ov.ImageName",   "ov.ImageNumber", "ov.ImageCount",  "ov.SheetWidth",
    "ov.SheetHeight", "ov.SheetName",   "ov.SheetNumber",
};

inline constexpr std::string_view kRepeatMarker = "ov.Repeat";
inline constexpr std::string_view kUntilMarker = "ov.Until";
inline constexpr std::string_view kExtensionMarker = "ov.Extension";

// What an exact word stands for.
enum class WordValue : uint8_t {
  ImageIndex,
  ImageName,
  ImageFile,
  ImageBase,
  ImageClass,
  ImageFullX,
  ImageFullY,
  ImageFullWidth,
  ImageFullHeight,
  ImageSourceWidth,
  ImageSourceHeight,
  ImageFullSourceWidth,
  ImageFullSourceHeight,
  ImageOffsetX,
  ImageOffsetY,
  ImageFullOffsetX,
  ImageFullOffsetY,
  ImageTrimmed,
  ImageRotated,
  ImageFullOffsetBottom,
  ImageFullCutWidth,
  ImageFullCutHeight,
  ImageFullCentreOffsetX,
  ImageFullCentreOffsetY,
  ImageFullFrameX,
  ImageFullFrameY,
  ImageFullRegionWidth,
  ImageFullRegionHeight,
  IfPacked,
  IfGrid,
  SheetName,
  SheetBase,
  SheetFullWidth,
  SheetFullHeight,
  SheetIndex,
  SheetCount,
  SheetScale,
  SheetFormat,
  SheetDepth,
  SheetPremultiplied,
  Columns,
  Rows,
  Spacing,
  Margin,
  Extrude,
  FullSpacing,
  FullMargin,
  FullExtrude,
  Comma,
  AnimationName,
  AnimationIndex,
  AnimationCount,
  AnimationFrameCount,
  AnimationFirstIndex,
  AnimationLastIndex,
  AnimationFirstNumber,
  AnimationLastNumber,
  FrameRate,
  FrameDuration,
  EachAnimation,  // the markers of the animation loop
  NextAnimation,
  Between,  // its line is written only before another pass or animation
};

// The words that shape the output rather than give a value.
constexpr bool isControlWord(WordValue value) {
  return value == WordValue::Comma || value == WordValue::Between ||
         value == WordValue::EachAnimation || value == WordValue::NextAnimation;
}

// An exact word: unlike the tags it is found only in the template's text as
// written, and its value is never searched again, by a tag, a marker or
// another word. A template without any of these names expands as before.
struct ExactWord {
  std::string_view name;
  WordValue value;
  Escape escape;  // the name-bearing words' JSON, XML and CSS forms
};

inline constexpr std::array<ExactWord, 82> kExactWords = {{
    {"ov.ImageIndex", WordValue::ImageIndex, Escape::None},
    {"ov.ImageFile", WordValue::ImageFile, Escape::None},
    {"ov.ImageBase", WordValue::ImageBase, Escape::None},
    {"ov.ImageClass", WordValue::ImageClass, Escape::None},
    {"ov.ImageFullX", WordValue::ImageFullX, Escape::None},
    {"ov.ImageFullY", WordValue::ImageFullY, Escape::None},
    {"ov.ImageFullWidth", WordValue::ImageFullWidth, Escape::None},
    {"ov.ImageFullHeight", WordValue::ImageFullHeight, Escape::None},
    {"ov.ImageSourceWidth", WordValue::ImageSourceWidth, Escape::None},
    {"ov.ImageSourceHeight", WordValue::ImageSourceHeight, Escape::None},
    {"ov.ImageFullSourceWidth", WordValue::ImageFullSourceWidth, Escape::None},
    {"ov.ImageFullSourceHeight", WordValue::ImageFullSourceHeight, Escape::None},
    {"ov.ImageOffsetX", WordValue::ImageOffsetX, Escape::None},
    {"ov.ImageOffsetY", WordValue::ImageOffsetY, Escape::None},
    {"ov.ImageFullOffsetX", WordValue::ImageFullOffsetX, Escape::None},
    {"ov.ImageFullOffsetY", WordValue::ImageFullOffsetY, Escape::None},
    {"ov.ImageTrimmed", WordValue::ImageTrimmed, Escape::None},
    // Both say whether the frame is stored turned. Which of the two a template
    // uses tells the build which way to turn it (templateTurn).
    {"ov.ImageRotated", WordValue::ImageRotated, Escape::None},
    {"ov.ImageRotatedAnticlockwise", WordValue::ImageRotated, Escape::None},
    // How the formats that read trimmed and turned frames want them told,
    // in the sheet's own pixels.
    {"ov.ImageFullOffsetBottom", WordValue::ImageFullOffsetBottom, Escape::None},
    {"ov.ImageFullCutWidth", WordValue::ImageFullCutWidth, Escape::None},
    {"ov.ImageFullCutHeight", WordValue::ImageFullCutHeight, Escape::None},
    {"ov.ImageFullCentreOffsetX", WordValue::ImageFullCentreOffsetX, Escape::None},
    {"ov.ImageFullCentreOffsetY", WordValue::ImageFullCentreOffsetY, Escape::None},
    {"ov.ImageFullFrameX", WordValue::ImageFullFrameX, Escape::None},
    {"ov.ImageFullFrameY", WordValue::ImageFullFrameY, Escape::None},
    {"ov.ImageFullRegionWidth", WordValue::ImageFullRegionWidth, Escape::None},
    {"ov.ImageFullRegionHeight", WordValue::ImageFullRegionHeight, Escape::None},
    // A line that names one is left out of the template for the other
    // layout (linesForLayout); the word itself writes nothing.
    {"ov.IfPacked", WordValue::IfPacked, Escape::None},
    {"ov.IfGrid", WordValue::IfGrid, Escape::None},
    {"ov.SheetBase", WordValue::SheetBase, Escape::None},
    {"ov.SheetFullWidth", WordValue::SheetFullWidth, Escape::None},
    {"ov.SheetFullHeight", WordValue::SheetFullHeight, Escape::None},
    {"ov.SheetIndex", WordValue::SheetIndex, Escape::None},
    {"ov.SheetCount", WordValue::SheetCount, Escape::None},
    {"ov.SheetScale", WordValue::SheetScale, Escape::None},
    {"ov.SheetFormat", WordValue::SheetFormat, Escape::None},
    {"ov.SheetDepth", WordValue::SheetDepth, Escape::None},
    {"ov.SheetPremultiplied", WordValue::SheetPremultiplied, Escape::None},
    {"ov.Columns", WordValue::Columns, Escape::None},
    {"ov.Rows", WordValue::Rows, Escape::None},
    {"ov.Spacing", WordValue::Spacing, Escape::None},
    {"ov.Margin", WordValue::Margin, Escape::None},
    {"ov.Extrude", WordValue::Extrude, Escape::None},
    {"ov.FullSpacing", WordValue::FullSpacing, Escape::None},
    {"ov.FullMargin", WordValue::FullMargin, Escape::None},
    {"ov.FullExtrude", WordValue::FullExtrude, Escape::None},
    {"ov.Comma", WordValue::Comma, Escape::None},
    // Where ov.Comma would write ",", its line is written (without the word);
    // elsewhere the line is not written at all.
    {"ov.Between", WordValue::Between, Escape::None},
    {"ov.ImageNameJSON", WordValue::ImageName, Escape::Json},
    {"ov.ImageNameXML", WordValue::ImageName, Escape::Xml},
    {"ov.ImageNameCSS", WordValue::ImageName, Escape::Css},
    {"ov.ImageFileJSON", WordValue::ImageFile, Escape::Json},
    {"ov.ImageFileXML", WordValue::ImageFile, Escape::Xml},
    {"ov.ImageFileCSS", WordValue::ImageFile, Escape::Css},
    {"ov.ImageBaseJSON", WordValue::ImageBase, Escape::Json},
    {"ov.ImageBaseXML", WordValue::ImageBase, Escape::Xml},
    {"ov.ImageBaseCSS", WordValue::ImageBase, Escape::Css},
    {"ov.ImageClassJSON", WordValue::ImageClass, Escape::Json},
    {"ov.ImageClassXML", WordValue::ImageClass, Escape::Xml},
    {"ov.ImageClassCSS", WordValue::ImageClass, Escape::Css},
    {"ov.SheetNameJSON", WordValue::SheetName, Escape::Json},
    {"ov.SheetNameXML", WordValue::SheetName, Escape::Xml},
    {"ov.SheetNameCSS", WordValue::SheetName, Escape::Css},
    {"ov.SheetBaseJSON", WordValue::SheetBase, Escape::Json},
    {"ov.SheetBaseXML", WordValue::SheetBase, Escape::Xml},
    {"ov.SheetBaseCSS", WordValue::SheetBase, Escape::Css},
    // A line holding one of these as written is a marker line of the
    // animation loop, which writes its lines once per animation.
    {"ov.EachAnimation", WordValue::EachAnimation, Escape::None},
    {"ov.NextAnimation", WordValue::NextAnimation, Escape::None},
    {"ov.AnimationName", WordValue::AnimationName, Escape::None},
    {"ov.AnimationNameJSON", WordValue::AnimationName, Escape::Json},
    {"ov.AnimationNameXML", WordValue::AnimationName, Escape::Xml},
    {"ov.AnimationNameCSS", WordValue::AnimationName, Escape::Css},
    {"ov.AnimationIndex", WordValue::AnimationIndex, Escape::None},
    {"ov.AnimationCount", WordValue::AnimationCount, Escape::None},
    {"ov.AnimationFrameCount", WordValue::AnimationFrameCount, Escape::None},
    {"ov.AnimationFirstIndex", WordValue::AnimationFirstIndex, Escape::None},
    {"ov.AnimationLastIndex", WordValue::AnimationLastIndex, Escape::None},
    {"ov.AnimationFirstNumber", WordValue::AnimationFirstNumber, Escape::None},
    {"ov.AnimationLastNumber", WordValue::AnimationLastNumber, Escape::None},
    {"ov.FrameRate", WordValue::FrameRate, Escape::None},
    {"ov.FrameDuration", WordValue::FrameDuration, Escape::None},
}};

}  // namespace oz
