#!/usr/bin/env bash
# Writes all 96 catalogue pictures, enlarged, with index and name, onto one
# PNG for review: tools/contact-sheet.sh <game folder> <out.png>
# The catalogue order is read from the game's own texture table. Magenta
# shows as the dark review background, as it would against space.
set -euo pipefail

game_dir=${1:?usage: contact-sheet.sh <game folder> <out.png>}
out=${2:?usage: contact-sheet.sh <game folder> <out.png>}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
table="$source_dir/src/gfx/texture.cpp"
tile_width=150
tile_height=104

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mapfile -t files < <(grep -o '"img/[^"]*\.bmp"' "$table" | tr -d '"')
if [ "${#files[@]}" -ne 96 ]; then
    echo "contact-sheet: expected 96 catalogue files in $table, found ${#files[@]}" >&2
    exit 1
fi

args=()
for index in "${!files[@]}"; do
    file=${files[$index]}
    picture="$game_dir/$file"
    tile="$work/$index.png"
    read -r width height < <(identify -format '%w %h\n' "$picture")
    # Whole-number enlargement keeps every pixel visible and sharp.
    factor=$(( tile_width / width < tile_height / height ? tile_width / width : tile_height / height ))
    [ "$factor" -lt 1 ] && factor=1
    convert "$picture" -transparent magenta -filter point -resize "$((width * factor))x$((height * factor))" \
        -resize "${tile_width}x${tile_height}>" "$tile"
    name=${file#img/}
    args+=(-label "$index ${name%.bmp} (${width}x${height})" "$tile")
done

# The game's own font: ImageMagick's default one may not be installed.
montage -font "$game_dir/font.ttf" -background '#1c1f2a' -fill '#e8e8f0' -pointsize 11 "${args[@]}" \
    -tile 8x -geometry "$((tile_width + 10))x$((tile_height))+4+6" "$out"
echo "$out"
