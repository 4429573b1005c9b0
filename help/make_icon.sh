#!/usr/bin/env bash
# Draws the application icon, app_icon.png: a sprite sheet of nine frames of a
# bouncing ball on a teal tile, 256 pixels square, and beside it the smaller
# sizes the desktop's icon theme wants (app_icon_48.png, app_icon_128.png).
# The PNGs are committed; the large one is embedded at build time and all three
# are installed, so ImageMagick is needed only to change the picture. The
# output carries no time stamps, so running this again gives the same bytes.
#
#   bash help/make_icon.sh help/app_icon.png
set -euo pipefail
out=${1:-app_icon.png}

# How far the ball has fallen in each frame: a parabola from the top of its
# bounce (frames 0 and 8) to the floor (frame 4), where it is squashed.
drops=(0 2 7 16 28 16 7 2 0)
draw=""
for i in 0 1 2 3 4 5 6 7 8; do
  x=$((26 + i % 3 * 72))
  y=$((26 + i / 3 * 72))
  d=${drops[i]}
  draw+=" fill #00000040 roundrectangle $((x + 2)),$((y + 4)) $((x + 61)),$((y + 63)) 9,9"
  draw+=" fill #fff4dc roundrectangle $x,$y $((x + 59)),$((y + 59)) 9,9"
  # The shadow widens as the ball comes down.
  draw+=" fill #5a3a1a38 ellipse $((x + 30)),$((y + 51)) $((6 + d / 3)),3 0,360"
  if [ "$d" -eq 28 ]; then
    draw+=" fill #ff7a1a ellipse $((x + 30)),$((y + 43)) 13,7 0,360"
    draw+=" fill #ffd08a ellipse $((x + 26)),$((y + 40)) 4,2 0,360"
  else
    by=$((y + 14 + d))
    draw+=" fill #ff7a1a circle $((x + 30)),$by $((x + 30)),$((by + 10))"
    draw+=" fill #ffd08a circle $((x + 27)),$((by - 3)) $((x + 27)),$by"
  fi
done

convert -size 256x256 xc:none \
  \( -size 240x240 gradient:'#2bb3a3-#10506b' \) -geometry +8+8 -compose over -composite \
  \( -size 256x256 xc:none -fill white -draw "roundrectangle 8,8 247,247 44,44" \) \
  -compose dst-in -composite \
  -compose over -draw "$draw" \
  -strip -define png:exclude-chunks=date,time "$out"

# Scaled down from the drawing, so every size shows the same picture.
for size in 48 128; do
  convert "$out" -filter Lanczos -resize "${size}x${size}" -depth 8 \
    -strip -define png:exclude-chunks=date,time "${out%.png}_${size}.png"
done
