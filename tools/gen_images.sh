#!/usr/bin/env bash
# Draws every picture of the interface into qml/image/ with ImageMagick and qrencode.
# The output is committed, so the build does not need either tool; run this again after
# changing a drawing here. Sizes and formats are fixed by the places that show the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

out=qml/image
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

accent='#00a199'
ink='#3c3c3c'
# -strip keeps timestamps out of the files, so an unchanged drawing gives unchanged bytes.
save=(-strip)

# The gimbal seen from the front: mount plate on top, yaw motor, yoke, camera hanging in it
# with its lens towards the viewer. Drawn white with a dark outline on a transparent 128 x 128.
front_gimbal() {
  convert -size 128x128 xc:none -stroke '#222222' -strokewidth 3 -fill white \
    -draw 'roundrectangle 30,8 98,18 4,4' \
    -draw 'rectangle 58,18 70,28' \
    -draw 'circle 64,34 64,43' \
    -draw 'roundrectangle 20,44 108,52 3,3' \
    -draw 'rectangle 20,48 30,78' -draw 'rectangle 98,48 108,78' \
    -draw 'circle 25,82 25,92' -draw 'circle 103,82 103,92' \
    -draw 'roundrectangle 38,62 90,104 8,8' \
    -draw 'line 30,82 38,82' -draw 'line 90,82 98,82' \
    -fill '#555555' -draw 'circle 64,83 64,99' \
    -fill '#1e1e1e' -draw 'circle 64,83 64,91' \
    -stroke none -fill white -draw 'circle 60,79 60,81' \
    "$1"
}

# The gimbal seen from its side: mount plate on top, yaw motor, an arm down to the pitch
# motor, the camera body with its lens barrel pointing to the right.
side_gimbal() {
  convert -size 128x128 xc:none -stroke '#222222' -strokewidth 3 -fill white \
    -draw 'roundrectangle 22,8 90,18 4,4' \
    -draw 'rectangle 50,18 62,28' \
    -draw 'circle 56,34 56,43' \
    -draw 'roundrectangle 26,44 62,52 3,3' \
    -draw 'rectangle 26,48 36,82' \
    -draw 'roundrectangle 38,64 88,104 8,8' \
    -draw 'circle 31,86 31,97' \
    -fill '#555555' -draw 'rectangle 88,70 104,98' \
    -fill '#1e1e1e' -draw 'roundrectangle 104,66 112,102 2,2' \
    -fill '#cccccc' -draw 'circle 31,86 31,90' \
    "$1"
}

front_gimbal "$work/front.png"
side_gimbal "$work/side.png"

# Pose name, then the ImageMagick transformation from the drawing to that pose.
poses=(
  "upward:$work/front.png"
  "downward:$work/front.png -flip"
  "leftward:$work/front.png -rotate -90"
  "rightward:$work/front.png -rotate 90"
  "forward:$work/side.png"
  "backward:$work/side.png -flop"
)
colours=("green:$accent" "yellow:#f2c230" "grey:#a0a0a0")

for pose in "${poses[@]}"; do
  name=${pose%%:*}
  read -r -a transform <<<"${pose#*:}"
  for colour in "${colours[@]}"; do
    convert -size 128x128 xc:none -fill "${colour#*:}" -stroke '#ffffff' -strokewidth 2 \
      -draw 'roundrectangle 3,3 124,124 22,22' \
      \( "${transform[@]}" -resize 104x104 \) -gravity center -composite \
      "${save[@]}" "PNG32:$out/$name${colour%%:*}.png"
  done
done

# Window icon: the front view on an accent-coloured rounded square, 256 and 32 pixels.
front_gimbal "$work/icon_glyph.png"
convert -size 256x256 xc:none -fill "$accent" -draw 'roundrectangle 8,8 247,247 44,44' \
  \( "$work/icon_glyph.png" -resize 224x224 \) -gravity center -composite \
  "${save[@]}" "PNG32:$work/icon256.png"
convert "$work/icon256.png" -resize 32x32 "${save[@]}" "PNG32:$work/icon32.png"
convert "$work/icon32.png" "$work/icon256.png" -define icon:format=bmp,png "$out/logo.ico"
# The same two images are the desktop icon in the hicolor theme.
mkdir -p packaging/icons
cp "$work/icon32.png" packaging/icons/32.png
cp "$work/icon256.png" packaging/icons/256.png

# Title-bar logo: the product name in the accent colour.
convert -size 52x20 xc:none -font DejaVu-Sans-Bold -pointsize 13 -fill "$accent" \
  -gravity center -annotate +0+0 'RAVIK' "${save[@]}" "PNG32:$out/logo.png"

# Title-bar glyphs: minimise bar and close cross, dark grey on transparent.
convert -size 256x256 xc:none -fill "$ink" -draw 'roundrectangle 40,118 216,138 8,8' \
  "${save[@]}" "PNG32:$out/mini.png"
convert -size 256x256 xc:none -stroke "$ink" -strokewidth 22 \
  -draw 'stroke-linecap round line 56,56 200,200 line 200,56 56,200' "${save[@]}" "PNG32:$out/close.png"

# Joystick bezels: a ring with four direction notches, black and light.
bezel() {
  convert -size 512x512 xc:none -fill none -stroke "$1" -strokewidth 30 \
    -draw 'circle 256,256 256,35' \
    -stroke "$2" -strokewidth 4 -draw 'circle 256,256 256,58' \
    -stroke "$2" -strokewidth 10 \
    -draw 'stroke-linecap round line 256,22 256,48 line 256,464 256,490' \
    -draw 'stroke-linecap round line 22,256 48,256 line 464,256 490,256' \
    "${save[@]}" "PNG32:$3"
}
bezel '#141414' '#5a5a5a' "$out/JoystickBezel.png"
bezel '#e4e4e4' '#ffffff' "$out/JoystickBezelLight.png"

# QR codes: real, scannable codes that carry the tool's name until the real addresses are known.
# Whole pixels per module, centred on white with at least the standard four-module quiet zone.
qr() {
  local text=$1 size=$2 file=$3 modules scale
  qrencode -l M -s 1 -m 0 -o "$work/qr1.png" "$text"
  modules=$(identify -format '%w' "$work/qr1.png")
  scale=$((size / (modules + 8)))
  qrencode -l M -s "$scale" -m 0 -o "$work/qr.png" "$text"
  convert "$work/qr.png" -background white -gravity center -extent "${size}x${size}" \
    "${save[@]}" "$file"
}
qr 'Ravik gimbal control panel: WeChat official account' 440 "PNG24:$out/wechart_qr_code.png"
qr 'Ravik gimbal control panel: bilibili channel' 440 "PNG24:$out/b_qr_code.png"
qr 'Ravik gimbal control panel: WeChat official account' 430 "$work/wechat430.png"
convert "$work/wechat430.png" -quality 92 "${save[@]}" "$out/wechart_qr_code.jpg"
