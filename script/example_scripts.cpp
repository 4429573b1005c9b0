#include "script/example_scripts.h"

#include <array>

#include "base/atomic_file.h"

namespace oz {
namespace {

constexpr std::string_view kPlist = R"ozs(ov.Extension = ".plist"
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple Computer//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
    <dict>
        <key>sprites</key>
        <dict>
ov.Repeat
            <key>ov.ImageName</key>
            <dict>
                <key>xPosition</key>
                <string>ov.ImageX</string>
                <key>yPosition</key>
                <string>ov.ImageY</string>
                <key>width</key>
                <string>ov.ImageWidth</string>
                <key>height</key>
                <string>ov.ImageHeight</string>
            </dict>
ov.Until = ov.ImageCount
        </dict>
        <key>spriteSheet</key>
        <dict>
            <key>sheetName</key>
            <string>ov.SheetName</string>
            <key>sheetWidth</key>
            <string>ov.SheetWidth</string>
            <key>sheetHeight</key>
            <string>ov.SheetHeight</string>
        </dict>
    </dict>
</plist>
)ozs";

constexpr std::string_view kPureData = R"ozs(ov.Extension = ".pbi"
DataSection
 SpriteSheetov.SheetNumber:
   IncludeBinary "ov.SheetName"
  ov.ImageName:
   Data.u ov.ImageCount
 ov.Repeat
    Image_ov.ImageNumber: ;ov.ImageName
     Data.u ov.ImageX,ov.ImageY,ov.ImageWidth,ov.ImageHeight
 ov.Until = ov.ImageCount
EndDataSection
)ozs";

constexpr std::string_view kMultiLoops = R"ozs(ov.Extension = ".txt"
This is loop 1.

ov.Repeat
ov.ImageName
ov.Until = ov.ImageCount

This is loop 2.

ov.Repeat
ov.ImageNumber
ov.Until = 5

This is loop 3.

ov.Repeat
ov.ImageX, ov.ImageY, ov.ImageWidth, ov.ImageHeight
ov.Until = ov.ImageCount

The exported sprite sheet name...
"ov.SheetName"
)ozs";

constexpr std::string_view kClipboard = R"ozs(ov.Extension = "Clipboard"
This is how you copy the exported script directly to the clipboard.
Just use "Clipboard" as the extension.

Let's get the image names...

ov.Repeat
 ov.ImageName
ov.Until = ov.ImageCount

Now you can paste the script where ever you want!
)ozs";

constexpr std::string_view kHtml5 = R"ozs(ov.Extension = ".html"
<?xml version = "1.0" encoding = "UTF-8"?>
<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">

<html>
 <head>
  <title>HTML5 Animation Loop</title>
  <meta http-equiv = "Content-Type" content = "text/html; charset = UTF-8"/>
 </head>
<body>

 <script type = 'text/javascript'> //loops through a sprite sheet where all the sprites are the same size

        var canvas = document.createElement('canvas');
        var c = canvas.getContext('2d');

        canvas.width = ov.ImageWidth;
        canvas.height = ov.ImageHeight;

        var xpos = 0,
            ypos = 0,
            index = 0,
            frameSize = 0;

        document.body.appendChild(canvas);

        image = new Image();
        image.src = "ov.SheetName";

        image.onload = function() {

        setInterval(loop, 1000 / (ov.ImageCount * 2));
        }

        function loop() {
            c.clearRect(0, 0, ov.ImageWidth, ov.ImageHeight);

            c.drawImage(image, xpos, ypos, ov.ImageWidth, ov.ImageHeight, 0, 0, ov.ImageWidth, ov.ImageHeight);

            xpos += ov.ImageWidth;
            index += 1;

            if (index >= ov.ImageCount) {
                xpos = 0;
                ypos = 0;
                index = 0;

            } else if (xpos + ov.ImageWidth > ov.SheetWidth) {
                xpos = 0;
                ypos += ov.ImageHeight;
            }

        }

 </script>

</body>
</html>
)ozs";

constexpr std::array<ExampleScript, 5> kExamples = {{
    {"plist.txt", kPlist},
    {"Pure Data.txt", kPureData},
    {"Multi Loops.txt", kMultiLoops},
    {"Clipboard.txt", kClipboard},
    {"HTML5.txt", kHtml5},
}};

}  // namespace

std::span<const ExampleScript> exampleScripts() { return kExamples; }

bool installExampleScripts(const std::string& dir) {
  bool allWritten = true;
  for (const ExampleScript& script : kExamples) {
    if (!writeFileAtomically(dir + std::string(script.fileName), script.text)) allWritten = false;
  }
  return allWritten;
}

}  // namespace oz
