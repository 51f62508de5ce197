#!/usr/bin/env bash
# Draws the demo game's 2D pictures with ImageMagick and DejaVu Sans (both
# installed by tools/setup.sh). The pictures are committed in game/; run this
# after changing it, then commit what it wrote. An argument names another
# output folder (default: game).
#
# Every picture has power-of-two sides, so the engine never stretches it.
# The menus are drawn to the click regions the game manager uses (window
# pixels, the menu drawn at the top-left corner).
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-game}
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
for f in "$font" "$bold"; do
  [ -r "$f" ] || { echo "missing $f: run tools/setup.sh" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "missing ImageMagick: run tools/setup.sh" >&2; exit 1; }
mkdir -p "$out/menus"
# No page offsets, no metadata and no timestamps: the same script gives the same files.
save=(+repage -strip -define png:exclude-chunks=date,time)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ---------------------------------------------------------------------------
# default_font.png: the 94 characters "!" to "~" in one row of a 2048 x 32
# picture, white with antialiased alpha. The font finds each glyph as a run of
# columns holding some alpha, so:
#  - glyphs are separated by 4 fully transparent columns (the glyph rectangle
#    reaches from one column before the ink to three after it) and the first
#    starts at column 4;
#  - the bottom row of every glyph gets alpha 1 of 255 across its width, which
#    no one can see but which closes the gaps inside glyphs such as '"' and
#    '%', so that each glyph is exactly one run.
glyph_height=32
baseline=24
gap=4
font_width=2048
pieces=()
spacer="$work/spacer.png"
convert -size "${gap}x${glyph_height}" xc:none "PNG32:$spacer"
pieces+=("$spacer")
for code in $(seq 33 126); do
  char=$(printf "\\$(printf '%03o' "$code")")
  case "$char" in
    '%') text='%%' ;;   # ImageMagick's escapes
    '\') text='\\' ;;
    '@') text='\@' ;;
    *) text=$char ;;
  esac
  raw="$work/raw$code.png"
  convert -size "48x$glyph_height" xc:none -font "$font" -pointsize 22 -fill white \
    -annotate "+8+$baseline" "$text" "PNG32:$raw"
  box=$(convert "$raw" -format '%@' info:)          # WxH+X+Y of the ink
  width=${box%%x*}
  left=${box#*+}; left=${left%%+*}
  convert "$raw" -crop "${width}x${glyph_height}+${left}+0" +repage \
    +antialias -fill 'rgba(255,255,255,0.004)' -draw "line 0,$((glyph_height - 1)) $((width - 1)),$((glyph_height - 1))" \
    "PNG32:$work/glyph$code.png"
  pieces+=("$work/glyph$code.png" "$spacer")
done
convert -background none "${pieces[@]}" +append "$work/row.png"
row_width=$(identify -format '%w' "$work/row.png")
if [ "$row_width" -gt "$font_width" ]; then
  echo "the glyphs need $row_width columns, more than $font_width" >&2
  exit 1
fi
convert "$work/row.png" -background none -gravity West -extent "${font_width}x${glyph_height}" \
  "${save[@]}" "PNG32:$out/default_font.png"

# ---------------------------------------------------------------------------
# Plain pictures.
convert -size 8x8 xc:white "${save[@]}" "PNG24:$out/whiteTexture.png"
convert -size 16x16 xc:'rgba(0,0,0,0.50196)' "${save[@]}" "PNG32:$out/black_semi_transparent.png"

# The pointer: an arrow whose tip is the top-left pixel (the sprite's anchor).
convert -size 32x32 xc:none -fill white -stroke black -strokewidth 1.5 \
  -draw "polygon 0.5,0.5 0.5,22 6,17 10,27 14,25 10,16 17,16" "${save[@]}" "PNG32:$out/menus/menu_mouse.png"

# The loading picture, drawn centred on a black screen.
convert -size 512x128 xc:none -fill 'rgba(24,36,56,1)' -stroke 'rgba(150,180,230,1)' -strokewidth 3 \
  -draw "roundrectangle 8,8 503,119 18,18" -stroke none -fill white -font "$bold" -pointsize 40 \
  -gravity center -annotate +0+0 "Loading ..." "${save[@]}" "PNG32:$out/loading.png"

# ---------------------------------------------------------------------------
# Menus: transparent where the game shows through its darkening.
# button X0 Y0 X1 Y1 LABEL [POINTSIZE]: a button filling the click region
# X0 < x < X1, Y0 < y < Y1, its label centred.
menu_args=()
button() {
  local x0=$1 y0=$2 x1=$3 y1=$4 label=$5 size=${6:-14}
  menu_args+=(-fill 'rgba(40,64,104,0.92)' -stroke 'rgba(170,200,250,1)' -strokewidth 2
              -draw "roundrectangle $((x0 + 3)),$((y0 + 3)) $((x1 - 3)),$((y1 - 3)) 8,8"
              '(' -size "$((x1 - x0 - 10))x$((y1 - y0 - 8))" -background none -fill white -stroke none
              -font "$font" -pointsize "$size" -gravity center "label:$label" ')'
              -gravity NorthWest -geometry "+$((x0 + 5))+$((y0 + 4))" -composite)
}
# text X Y LABEL [POINTSIZE]: a caption with its top-left corner at X, Y.
text() {
  menu_args+=(-stroke none -fill white -font "$bold" -pointsize "${4:-16}" -gravity NorthWest
              -annotate "+$1+$2" "$3")
}
panel() {
  menu_args+=(-fill 'rgba(10,16,28,0.75)' -stroke 'rgba(120,150,200,1)' -strokewidth 2
              -draw "roundrectangle $1,$2 $3,$4 14,14")
}
# draw_menu FILE WIDTHxHEIGHT
draw_menu() {
  convert -size "$2" xc:none "${menu_args[@]}" "${save[@]}" "PNG32:$1"
  menu_args=()
}

# Main menu: back to the game, options, quit. The engine writes its banner
# and the frame rate at (155, 100) and below, hence the wide panel.
panel 30 20 770 440
text 50 40 "Menu" 30
button 50 150 150 215 'Back to\ngame' 15
button 50 250 150 315 "Options" 16
button 50 350 150 415 "Quit" 16
draw_menu "$out/menus/main_menu.png" 1024x512

# Options menu: display modes in two rows of four, then four settings with a
# pair of buttons each.
panel 30 5 490 470
text 50 18 "Options" 24
button 200 10 270 50 "Back" 15
text 50 78 "Display mode" 16
button 50 100 150 150 'Window\n800x600' 13
button 150 100 250 150 'Full screen\ndesktop' 13
button 250 100 350 150 'Full screen\n640x480' 13
button 350 100 450 150 'Full screen\n800x600' 13
button 50 150 150 200 'Full screen\n1024x768' 13
button 150 150 250 200 'Full screen\n1280x1024' 13
button 250 150 350 200 'Full screen\n1280x800' 13
button 350 150 450 200 'Full screen\n1920x1200' 13
row=0
for setting in "View distance:Smaller:Larger" "Shadows:Off:On" "Reversed mouse:Off:On" "Progressive loading:Off:On"; do
  IFS=: read -r name first second <<<"$setting"
  y=$((250 + 50 * row))
  text 50 $((y + 15)) "$name" 16
  button 250 "$y" 350 $((y + 50)) "$first"
  button 350 "$y" 450 $((y + 50)) "$second"
  row=$((row + 1))
done
draw_menu "$out/menus/options_menu.png" 512x512

# title.png: the demo script's title picture, a cube drawn in three shades
# with the engine's name beside it.
convert -size 512x128 xc:none \
  -fill '#3f6fb5' -draw "polygon 16,40 56,20 96,40 56,60" \
  -fill '#2a4f86' -draw "polygon 16,40 56,60 56,108 16,88" \
  -fill '#1c3760' -draw "polygon 56,60 96,40 96,88 56,108" \
  -font "$bold" -pointsize 56 -fill white -stroke '#1c3760' -strokewidth 2 -annotate +112+84 "Cubewright" \
  "${save[@]}" "PNG32:$out/title.png"

echo "Demo pictures written to $out/"
