#include "help/help_document.h"

#include "help/web_addresses.h"

namespace oz {
namespace {

// Helvetica first where it exists; every desktop has some sans-serif.
constexpr const char* kHead = R"(<html><head><style>
body { font-family: Helvetica, Arial, sans-serif; font-size: 14pt; }
h1 { font-size: 18pt; font-weight: bold; margin-top: 18px; margin-bottom: 6px; }
p { margin-top: 0px; margin-bottom: 10px; }
ul { margin-top: 0px; margin-bottom: 10px; margin-left: 0px; -qt-list-indent: 1; }
li { margin-bottom: 4px; }
</style></head><body>
)";

constexpr const char* kSpriteOptions = R"(<h1>Sprite Options</h1>
<ul style="list-style-type: disc;">
<li>Open and load a folder of PNG images. All the images must share the same width and height.</li>
<li>Choose the color depth to export: 32, 24, 8, 4 or 1 bit, plus an &ldquo;Alpha&rdquo; option
for special effects, where your game engine or code supports it.</li>
<li>Further options: remove the alpha channel of 32-bit images when exporting to 24 bit, and
dither the 8, 4 and 1-bit exports.</li>
<li>When 32-bit images are converted to a lower depth, choose a black or a pink background.
Both are common transparent colors in older and retro-style games.</li>
<li>&ldquo;Retina&rdquo; divides all sprite coordinates by 2. &ldquo;Power of 2&rdquo; pads the
sheet or strip to the next power of 2.</li>
<li>Set a sheet identification number with &ldquo;Sprite #&rdquo;; it is written wherever your
script uses the <b>ov.SheetNumber</b> tag.</li>
</ul>
)";

constexpr const char* kScriptEditor = R"(<h1>Script Editor</h1>
<p>The Script Editor creates your own sprite coordinate scripts. Write a script just as your
game engine expects it, and put the script tags where the coordinates and the image
information belong. Line one always defines the extension of the exported script with the
<b>ov.Extension</b> tag. Every saved script can then be chosen under &ldquo;Export Script&rdquo;
when you export a sheet. The editor reopens the script you edited last, and the example
scripts show how it all works:</p>
<ul style="list-style-type: disc;">
<li><b>Clipboard</b> copies the exported script to the clipboard instead of a file: its
<b>ov.Extension</b> tag equals &ldquo;Clipboard&rdquo;.</li>
<li><b>HTML5</b> loops a sprite sheet in a web browser.</li>
<li><b>Multi Loops</b> runs several loops over the sheet information in one script.</li>
<li><b>plist</b> creates a property-list file.</li>
<li><b>Pure Data</b> writes the sprite coordinates as a data section of a program's source
file.</li>
</ul>
<p>All example scripts can be edited, saved or deleted.</p>
)";

constexpr const char* kXcodeTip = R"(<h1>Xcode Tip</h1>
<p>The exported PNG files are already optimized. Compressing them again in Xcode undoes that
work, so turn off Xcode&rsquo;s &ldquo;Compress PNG Files&rdquo; setting.</p>
)";

std::string link(const char* address, const char* text) {
  return std::string("<a href=\"") + address + "\">" + text + "</a>";
}

}  // namespace

std::string helpDocument() {
  std::string html = kHead;
  html +=
      "<p>Orvane Zozivi is the little sibling of Orvane v2: it is the 1.x line of Orvane, "
      "with the script editor of Orvane v2 added. It creates basic sprite sheets and strips "
      "(a &ldquo;texture atlas&rdquo;) in which all imported PNG images share the same "
      "width and height. For images of various sizes, and many more features, take a look "
      "at " +
      link(kFullEditionStorePage, "Orvane v2") + ".</p>\n";
  html += kSpriteOptions;
  html += kScriptEditor;
  html += kXcodeTip;
  html += "<h1>Support</h1>\n<p>For support, visit the Halvick support forum:<br>" +
          link(kSupportForum, kSupportForum) + "</p>\n";
  html += "</body></html>\n";
  return html;
}

}  // namespace oz
