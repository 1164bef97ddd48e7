#!/usr/bin/env bash
# Draws the pictures of the demo game (examples/demo) with ImageMagick. The pictures are kept in
# the repository; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")/../examples/demo"
font=/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf

# frame NAME SKY GROUND TITLE DRAWING...
frame() {
    local name=$1 sky=$2 ground=$3 title=$4
    shift 4
    convert -size 640x480 "gradient:$sky-$ground" \
        -fill "rgba(0,0,0,0.25)" -draw "rectangle 0,360 640,480" \
        "$@" \
        -font "$font" -pointsize 28 -fill white -stroke black -strokewidth 1 \
        -gravity north -annotate +0+18 "$title" \
        -quality 85 "Frames/$name.jpg"
}

frame hall "#3b2a4a" "#8a6a4a" "The Hall" \
    -fill "#5a3a20" -stroke "#2a1a10" -strokewidth 3 -draw "rectangle 60,150 180,400" \
    -fill "#d4af37" -draw "circle 160,280 166,286" \
    -fill "#6a4a2a" -draw "rectangle 420,170 580,400" \
    -fill "#c8e0ff" -draw "rectangle 440,190 560,300" \
    -fill "#7a4a1a" -stroke "#2a1a10" -strokewidth 3 -draw "rectangle 200,350 280,400" \
    -fill "#8a5a2a" -draw "roundrectangle 200,340 280,362 8,8" \
    -fill "#d4af37" -stroke black -strokewidth 1 -draw "rectangle 234,362 246,376"

frame library "#2a3a2a" "#6a5a3a" "The Library" \
    -fill "#7a2a2a" -stroke black -strokewidth 2 -draw "rectangle 40,120 240,420" \
    -fill "#2a4a7a" -draw "rectangle 400,120 600,420" \
    -stroke "#d0c0a0" -strokewidth 4 -draw "line 40,220 240,220" -draw "line 40,320 240,320" \
    -draw "line 400,220 600,220" -draw "line 400,320 600,320"

frame garden "#6ab0ff" "#3a8a3a" "The Garden" \
    -fill "#ffe060" -stroke none -draw "circle 540,90 580,90" \
    -fill "#2a6a2a" -draw "circle 150,260 230,260" \
    -fill "#6a4a2a" -draw "rectangle 140,300 160,420" \
    -fill "#b05a30" -stroke "#5a2a10" -strokewidth 2 -draw "polygon 405,340 455,340 447,390 413,390" \
    -fill "#3a8a3a" -stroke none -draw "circle 430,330 442,330"

convert -size 48x48 xc:none -fill "#d4af37" -stroke black -draw "circle 16,24 28,24" \
    -draw "rectangle 28,21 46,27" -draw "rectangle 40,27 44,34" Areas/key.gif

# Inventory items, 32 x 32.
convert -size 32x32 xc:none -fill "#f0e8c8" -stroke "#806040" -draw "rectangle 12,8 20,30" \
    -stroke black -draw "line 16,8 16,4" Areas/candle.gif
convert -size 32x32 xc:none -fill "#c04020" -stroke black -draw "rectangle 4,10 28,24" \
    -fill "#f0d080" -draw "rectangle 8,14 24,20" Areas/matches.gif
convert -size 32x32 xc:none -fill "#f0e8c8" -stroke "#806040" -draw "rectangle 12,12 20,30" \
    -fill "#ffb020" -stroke "#ff6000" -draw "ellipse 16,6 4,6 0,360" Areas/litcandle.gif

# The garden's butterfly, a hotspot picture of 32 x 32 that the garden's script moves.
convert -size 32x32 xc:none -fill "#ff8c1a" -stroke "#402000" -strokewidth 1 \
    -draw "ellipse 10,11 8,7 0,360" -draw "ellipse 22,11 8,7 0,360" \
    -fill "#ffb84d" -draw "ellipse 11,22 6,5 0,360" -draw "ellipse 21,22 6,5 0,360" \
    -fill "#301800" -draw "rectangle 15,6 17,27" Areas/butterfly.gif
