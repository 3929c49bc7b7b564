#!/usr/bin/env bash
# Draws the toolbar buttons and the program icon. The PNGs are committed; run
# this again (ImageMagick and the Noto CJK fonts) only to change them.
set -euo pipefail
cd "$(dirname "$0")"
font=/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc

# tile NAME FILL STROKE GLYPH GLYPH_COLOUR POINTSIZE
tile() {
    convert -size 16x16 xc:none -fill "$2" -stroke "$3" -strokewidth 1 \
        -draw "roundrectangle 0.5,0.5 15.5,15.5 3,3" \
        -font "$font" -pointsize "$6" -fill "$5" -stroke none -gravity center \
        -annotate +0+0 "$4" "$1"
}
disc() {
    convert -size 16x16 xc:none -fill "$2" -stroke "$3" -strokewidth 1 \
        -draw "circle 7.5,7.5 7.5,0.5" \
        -font "$font" -pointsize "$6" -fill "$5" -stroke none -gravity center \
        -annotate +0+0 "$4" "$1"
}

tile button1.png '#d23b2f' '#8a1f17' '×' white 14
tile button2.png white '#d23b2f' '〒' '#d23b2f' 13
tile button3.png '#2f62b5' '#1b3d75' '住' white 11
tile button4.png '#2e8b57' '#1d5a38' 'ｶ' white 12
tile button5.png '#e08a1e' '#9a5c0f' '入' white 11
tile button6.png '#6b6f76' '#3f4247' '設' white 11
disc button7.png '#2f62b5' '#1b3d75' 'i' white 12
disc button8.png '#f2c230' '#a8841a' '?' '#333333' 12

for size in 32 48 64 128 256; do
    stroke=$(( size / 16 ))
    convert -size ${size}x${size} xc:none -fill white -stroke '#d23b2f' -strokewidth $stroke \
        -draw "roundrectangle $stroke,$stroke $((size - stroke - 1)),$((size - stroke - 1)) $((size / 6)),$((size / 6))" \
        -font "$font" -pointsize $(( size * 3 / 4 )) -fill '#d23b2f' -stroke none -gravity center \
        -annotate +0+$(( size / 32 )) '〒' torumin-${size}.png
done
cp torumin-32.png torumin.png
