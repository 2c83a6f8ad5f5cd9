#!/usr/bin/env bash
# Renders Veilport's artwork from the SVG sources beside this script into data/:
#   data/res/flag_short/<CODE>.PNG   48 x 48 flags of every code in iso3166-1.txt, plus UN.PNG
#   data/res/icon.ico                16, 20, 24, 32, 40, 48, 64 and 256 px (256 PNG-compressed)
#   data/res/images/*.png            about and update banners, splash, status panel pictures
# The outputs are committed; building Veilport needs none of these tools. Run it again after
# changing a source: the same sources give the same bytes.
#
# Needs: rsvg-convert (Debian librsvg2-bin), convert (imagemagick), npm (npm) and the npm
# registry, from which the flag set's package is installed into a temporary folder.
set -euo pipefail

flag_package=flag-icons@7.5.0

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
res="$root/data/res"

missing=()
command -v rsvg-convert >/dev/null || missing+=(librsvg2-bin)
command -v convert >/dev/null || missing+=(imagemagick)
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
    echo "render.sh: please install the Debian packages ${missing[*]}" >&2
    exit 1
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# rsvg-convert follows references only into the folder of the file it renders and below, so
# every picture is rendered from a copy in the work folder, beside the sources it uses.
cp "$here"/*.svg "$work/"

# A PNG without time stamps or colour chunks, at best compression; ImageMagick writes a
# palette by itself where the picture has few enough colours, so this loses nothing.
optimise() {
    convert "$1" -strip -define png:compression-level=9 -define png:compression-filter=5 \
        -define png:compression-strategy=1 "$2"
}

render() { # <source.svg> <output.png> [rsvg-convert options]
    local source=$1 output=$2
    shift 2
    (cd "$work" && rsvg-convert "$@" "$source" -o "$work/out.png")
    optimise "$work/out.png" "$output"
}

echo "render.sh: installing $flag_package into a temporary folder"
npm install --prefix "$work/npm" --no-save --no-package-lock --no-audit --no-fund \
    --ignore-scripts --loglevel=error "$flag_package" >/dev/null
flag_set="$work/npm/node_modules/flag-icons"

# Flags: each 4:3 flag through the same frame.
flags="$res/flag_short"
rm -rf "$flags"
mkdir -p "$flags" "$work/flags"
cp "$flag_set/flags/4x3/"*.svg "$work/flags/"
cp "$here/flag-un.svg" "$work/flags/un.svg"
count=0
while read -r code _; do
    case "$code" in '' | '#'*) continue ;; esac
    lower=$(tr 'A-Z' 'a-z' <<<"$code")
    if [ ! -f "$work/flags/$lower.svg" ]; then
        echo "render.sh: the flag set has no flag for $code" >&2
        exit 1
    fi
    sed "s|FLAG_FILE|flags/$lower.svg|" "$here/flag-frame.svg" >"$work/frame.svg"
    render frame.svg "$flags/$code.PNG"
    count=$((count + 1))
done < <(cat "$here/iso3166-1.txt"; echo "UN")
cp "$flag_set/LICENSE" "$flags/LICENSE-flag-icons.txt"
cat >"$flags/NOTICE.txt" <<EOF
Flag pictures, 48 x 48, one for each ISO 3166-1 alpha-2 country code, named by the code.
Rendered by tools/artwork/render.sh from the 4:3 SVG flags of the npm package
$flag_package (MIT licence, see LICENSE-flag-icons.txt) in the frame of
tools/artwork/flag-frame.svg.
UN.PNG ("any country") is Veilport's own drawing, tools/artwork/flag-un.svg, and ships
under the program's own terms.
EOF
echo "render.sh: $count flag pictures"

# The icon: the small sizes from the simplified drawing.
mkdir -p "$work/icon"
ico_parts=()
for size in 16 20 24 32 40 48 64 256; do
    source=icon.svg
    [ "$size" -le 24 ] && source=icon-small.svg
    (cd "$work" && rsvg-convert -w "$size" -h "$size" "$source" -o "$work/icon/$size.png")
    ico_parts+=("$work/icon/$size.png")
done
# ImageMagick stores the 256 image PNG-compressed and the others as 32-bit bitmaps.
convert "${ico_parts[@]}" -strip "$res/icon.ico"
cat >"$res/NOTICE.txt" <<EOF
icon.ico is Veilport's own icon, rendered by tools/artwork/render.sh from
tools/artwork/icon.svg (32 px and larger) and tools/artwork/icon-small.svg (16 to 24 px).
It ships under the program's own terms.
EOF

# Banners, splash and the status panel's pictures.
images="$res/images"
mkdir -p "$images"
render about.svg "$images/about.png"
render update.svg "$images/update.png"
render splash.svg "$images/splash.png"
render panel_bg.svg "$images/panel_bg.png"
render panel_logo.svg "$images/panel_logo.png"
cat >"$images/NOTICE.txt" <<EOF
Veilport's own pictures, rendered by tools/artwork/render.sh from the SVG files of the
same names in tools/artwork (lettering from wordmark.svg, the banners' ground from banner.svg):
about.png and update.png (banners of the about box and the update window), splash.png
(the start-up picture, shaped by its transparency), panel_bg.png and panel_logo.png
(the status panel's background and logo). They ship under the program's own terms.
EOF

outputs=("$flags"/* "$res/icon.ico" "$res/NOTICE.txt" "$images"/{about,update,splash,panel_bg,panel_logo}.png "$images/NOTICE.txt")
total=$(cat "${outputs[@]}" | wc -c)
echo "render.sh: done, $total bytes in data/res/flag_short, data/res/icon.ico and data/res/images"
