#!/usr/bin/env bash
# Makes the demo game's cube face textures with ImageMagick: every texture in
# game/cube_textures/ and its darker copy, for faces in full shadow, in
# game/cube_shadowed_textures/. The results are committed; run this again
# only to change them. Seeds are fixed, so the images come out the same.
set -euo pipefail
cd "$(dirname "$0")/../game"
mkdir -p cube_textures cube_shadowed_textures

size=64
# 8-bit RGB without time stamps or other metadata, so a rerun changes no bytes.
out=(-depth 8 -strip -define png:exclude-chunks=date,time,tIME)

# Grey noise on standard input mapped onto the gradient between two colours.
colour() {
  convert - -colorspace gray -auto-level \( -size 1x1 xc:"$1" xc:"$2" +append -filter point -resize 2x1! \) \
    -clut -colorspace sRGB "${out[@]}" png:-
}

# A cloudy texture between two colours (seed, colours, blur), as PNG on standard output.
noise() {
  convert -size "${5:-$size}x${5:-$size}" -seed "$1" plasma:grey50-grey50 -blur 0x"$4" png:- | colour "$2" "$3"
}

# Per-cube textures get a faint frame so that single cubes can be told apart.
frame() {
  convert - -fill none -stroke 'rgba(0,0,0,0.28)' -strokewidth 1 \
    -draw "rectangle 0,0 $((size - 1)),$((size - 1))" "${out[@]}" "$1"
}

cd cube_textures
noise 11 '#3f8f2c' '#6cbf45' 0.6 | frame grass.png
noise 12 '#6b4a2b' '#8f6a42' 0.5 | frame dirt.png
noise 13 '#77787a' '#a3a4a6' 0.8 | frame stone.png
noise 14 '#d9c58f' '#eadcab' 0.4 | frame sand.png
noise 15 '#2f6b24' '#4f9a3a' 0.3 | frame leaves.png
# The side of a grass cube: dirt with a ragged band of grass on top.
convert dirt.png \( grass.png -crop ${size}x14+0+0 +repage \) -geometry +0+0 -composite \
  \( -size ${size}x3 xc:'#3a7a27' \) -geometry +0+14 -composite "${out[@]}" png:- | frame grass_side.png
# Bark: streaks running up the trunk.
convert -size ${size}x${size} -seed 17 xc:grey50 +noise Random -channel G -separate +channel \
  -motion-blur 0x12+90 png:- | colour '#4a3019' '#93693d' | frame bark.png
# The cut end of a log: rings round the centre.
convert -size ${size}x${size} xc: -fx "0.5+0.5*sin(hypot(i-w/2,j-h/2)*0.9)" png:- |
  colour '#9c7446' '#d2ab72' | frame wood_top.png
# Boulders carry one large texture over the whole zone, without a frame.
noise 18 '#5d5a56' '#bdb8b0' 1.2 128 > rock.png

# The shadowed copies: darker and a little greyer.
for texture in *.png; do
  convert "$texture" -modulate 55,80 "${out[@]}" "../cube_shadowed_textures/$texture"
done
echo "Cube textures written to game/cube_textures/ and game/cube_shadowed_textures/."
