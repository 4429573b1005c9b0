// The numbers by which the program addresses its windows, controls and menu
// items, and the answers of a message box. Every number has a name here so
// that code reads Control::Create, never 28.
//
// Each group is an unscoped enum inside a struct: the names are qualified
// (Window::Help and MenuItem::Help differ) yet convert to the plain int that
// the toolkit takes, because editors created at run time have numbers of
// their own (Control::FirstFree and up).
#pragma once

namespace oz {

struct Window {
  enum : int {
    None = -1,  // no window, e.g. no active window
    Main = 0,
    About = 1,
    ScriptEditor = 2,
    Help = 3,
    SheetOptions = 4,
    SheetPreview = 5,
    InstallFromGallery = 6,
  };
};

// Control numbers are unique across all windows.
struct Control {
  enum : int {
    // Main window, in the order of its control table.
    ImageFolderLabel = 0,
    ImageFolderField = 1,
    ImageFolderButton = 2,
    SheetPathLabel = 3,
    SheetPathField = 4,
    SheetPathButton = 5,
    SpriteFormatFrame = 6,
    Strip = 7,
    Sheet = 8,
    ColumnsLabel = 9,
    ColumnsField = 10,
    ColorDepthFrame = 11,
    DepthList = 12,
    Dithering = 13,
    RemoveAlpha = 14,
    BackgroundFrame = 15,
    Pink = 16,
    Black = 17,
    ExportOptionsFrame = 18,
    Retina = 19,
    PowerOf2 = 20,
    SpriteNumberLabel = 21,
    SpriteNumber = 22,
    ExportScriptFrame = 23,
    ScriptList = 24,
    ScriptPathLabel = 25,
    ScriptPathField = 26,
    ScriptPathButton = 27,
    Create = 28,

    // About window.
    AboutIcon = 29,
    AboutName = 30,
    AboutVersion = 31,
    AboutCredit = 32,
    AboutWebsite = 33,
    AboutNotice = 34,

    // Script Editor window.
    ScriptNameLabel = 35,
    ScriptNameField = 36,
    NewScript = 37,
    TabPanel = 38,
    FirstEditor = 39,
    TagFrame = 40,
    TagImageX = 41,
    TagImageY = 42,
    TagImageWidth = 43,
    TagImageHeight = 44,
    TagImageName = 45,
    TagImageNumber = 46,
    TagImageCount = 47,
    TagSheetWidth = 48,
    TagSheetHeight = 49,
    TagSheetName = 50,
    TagSheetNumber = 51,
    TagRepeat = 52,
    TagUntil = 53,
    TagExtension = 54,
    TagMoreList = 55,  // the words without a button of their own
    DeleteScript = 56,
    SaveScript = 57,

    // Help window.
    HelpText = 58,

    // "Sheet Options..." window.
    PremultipliedAlpha = 59,
    PremultipliedAlphaNote = 60,
    Transparent = 61,
    TransparentNote = 62,
    AlphaBleeding = 63,
    AlphaBleedingNote = 64,
    IdenticalFramesOnce = 65,
    IdenticalFramesOnceNote = 66,
    Spacing = 67,
    SpacingLabel = 68,
    Border = 69,
    BorderLabel = 70,
    Extrude = 71,
    ExtrudeLabel = 72,

    // Editors created after the Script Editor is built take numbers from here up.
    FirstFree = 73,

    // Sheet Preview window. Far above the editors' numbers, which count up
    // from FirstFree one a tab.
    PreviewSheet = 1'000'000,
    PreviewFit = 1'000'001,
    PreviewActualSize = 1'000'002,
    PreviewDoubleSize = 1'000'003,
    PreviewZoomLabel = 1'000'004,
    PreviewStrip = 1'000'005,
    PreviewPlay = 1'000'006,
    PreviewRateLabel = 1'000'007,
    PreviewRate = 1'000'008,
    PreviewFrameLabel = 1'000'009,
    PreviewHorizontalScroll = 1'000'010,
    PreviewVerticalScroll = 1'000'011,
    PreviewSheetChoiceLabel = 1'000'012,
    PreviewSheetChoice = 1'000'013,  // which of several sheets is shown
    PreviewAnimationLabel = 1'000'014,
    PreviewAnimation = 1'000'015,  // which animation the strip plays

    // The Script Editor's live preview pane.
    ScriptPreviewInfo = 1'000'100,
    ScriptPreviewText = 1'000'101,

    // The Script Editor's find bar.
    FindLabel = 1'000'200,
    FindField = 1'000'201,
    FindStatus = 1'000'202,

    // "Sheet Options..." window: the palette quantiser's row.
    QuantiserLabel = 1'000'300,
    Quantiser = 1'000'301,
    QuantiserNote = 1'000'302,
    // ... and the layout's rows.
    LayoutLabel = 1'000'310,
    Layout = 1'000'311,
    LayoutNote = 1'000'312,
    TrimTransparentEdges = 1'000'313,
    TrimTransparentEdgesNote = 1'000'314,
    TrimThresholdLabel = 1'000'315,
    TrimThreshold = 1'000'316,
    AllowRotation = 1'000'317,
    AllowRotationNote = 1'000'318,
    SeveralSheets = 1'000'319,
    SeveralSheetsNote = 1'000'320,
    SquareSheets = 1'000'321,
    SquareSheetsNote = 1'000'322,
    LargestSheetSizeLabel = 1'000'323,
    LargestSheetSize = 1'000'324,
    LargestSheetSizeNote = 1'000'325,
    // ... and the animations' rows.
    AnimationsLabel = 1'000'326,
    Animations = 1'000'327,
    AnimationsNote = 1'000'328,
    FrameRateLabel = 1'000'329,
    FrameRate = 1'000'330,

    // "Install from Gallery..." window.
    GalleryPrompt = 1'000'400,
    GalleryList = 1'000'401,
    GalleryInstall = 1'000'402,
    GalleryClose = 1'000'403,

    // Main window: the last rebuild on change, under "Create".
    RebuildStatus = 1'000'500,
  };
};

struct MenuItem {
  enum : int {
    About = -3,
    Quit = -1,
    New = 0,
    OpenImageFolder = 1,
    SaveSpriteAs = 2,
    SaveScriptAs = 3,
    CreateSprite = 4,
    ScriptEditor = 5,
    SaveScript = 6,
    DeleteScript = 7,
    Help = 8,
    Website = 9,
    SupportForum = 10,
    Purchase = 11,
    SheetOptions = 12,
    // "Open Recent": one item per recent folder, most recent first.
    FirstRecentFolder = 13,
    LastRecentFolder = 20,
    ClearRecentFolders = 21,
    SheetPreview = 100,
    ScriptPreview = 101,
    Find = 110,
    FindNext = 111,
    FindPrevious = 112,
    InstallFromGallery = 113,
    RebuildOnChange = 114,
  };
};

// Timers, whose events carry these numbers.
struct Timer {
  enum : int {
    PreviewPlay = 0,    // the Sheet Preview's next animation frame
    ScriptPreview = 1,  // the pause after typing that refreshes the script preview
    Rebuild = 2,        // the changes to the watched files have settled
  };
};

// Descriptors watched for news (watchDescriptor), whose events carry these numbers.
struct Watch {
  enum : int {
    Rebuild = 0,  // the image folder and the template of "Rebuild on Change"
  };
};

// What a message box returns: which button closed it.
struct MessageResult {
  enum : int {
    Ok = 1,
    Cancel = 2,
    Yes = 6,
    No = 7,
  };
};

}  // namespace oz
