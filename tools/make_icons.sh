#!/bin/sh
# Word splitting of $missing, $pngs, $tiles and $rows is deliberate: they are
# lists of names without spaces (package names, files in a mktemp directory).
# shellcheck disable=SC2086
#
# Regenerates resources/icons/*.ico from the SVG sources in resources/icons/src,
# and the configuration window's pictures resources/bitmaps/*.bmp from
# resources/bitmaps/src.
#
#   tools/make_icons.sh                 rebuild every .ico and .bmp
#   tools/make_icons.sh --sheet FILE    also write a contact sheet PNG of the icons
#
# The .ico and .bmp files are committed, so the product build never needs
# these tools. A source <name>-<size>.svg, when present, replaces <name>.svg
# at that size: some pictures need simplifying to stay legible at 16 px.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/resources/icons/src"
out="$root/resources/icons"

sheet=""
while [ $# -gt 0 ]; do
    case "$1" in
        --sheet) [ $# -ge 2 ] || { echo "make_icons: --sheet needs a file name" >&2; exit 2; }
                 sheet=$2; shift 2 ;;
        -h|--help) sed -n '6,15p' "$0"; exit 0 ;;
        *) echo "make_icons: unknown argument: $1" >&2; exit 2 ;;
    esac
done

# name:sizes. Cell icons are drawn at the default icon size (32) and appear at
# 16 as the panel's small class icon; 40, 48 and 64 are that size at 125, 150
# and 200 % scale, so the cells stay sharp there. The toggles are shown large.
ICONS="
A:16,32,48
KIRO:16,32,48
CON:16,32,48
STOP:16,32,40,48,64
START:16,32,40,48,64
ESQUERRA:16,32,40,48,64
DRETA:16,32,40,48,64
AMUNT:16,32,40,48,64
AVALL:16,32,40,48,64
CLIC_ESQUERRA:16,32,40,48,64
DOBLE_CLIC:16,32,40,48,64
CLIC_DRETA:16,32,40,48,64
MIDDEL_CLIC:16,32,40,48,64
ARRASTRA:16,32,40,48,64
RODA_AMUNT:16,32,40,48,64
RODA_AVALL:16,32,40,48,64
RODA_ESQUERRA:16,32,40,48,64
RODA_DRETA:16,32,40,48,64
MENU:16,32,40,48,64
PUNT:16,32,40,48,64
TECLAT:16,32,40,48,64
ICO_OK:20,32,48
ICO_FALSE:20,32,48
"

# name:widthxheight. The pictures of the configuration window, each at the
# one size its control shows it; on white, as the window's background. A
# picture with words has a <name>_EN twin, shown with `language = en`.
BITMAPS="
MOVCUR:45x37
MOV_SEQ:100x58
CURSOR:50x50
AYUDA:70x53
SO:50x47
RATON:50x42
TECLADO:50x49
TELVA:137x57
SOLAX:89x57
ZEB:100x65
TEXT:405x19
TIRVA:201x54
SOLAX_EN:89x57
ZEB_EN:100x65
TEXT_EN:405x19
TIRVA_EN:201x54
"

need_tools() {
    missing=""
    command -v rsvg-convert >/dev/null 2>&1 || missing="$missing librsvg2-bin"
    command -v icotool >/dev/null 2>&1 || missing="$missing icoutils"
    [ -z "$missing" ] && return 0

    echo "make_icons: installing$missing" >&2
    if [ "$(id -u)" -eq 0 ]; then sudo=""
    elif command -v sudo >/dev/null 2>&1; then sudo="sudo"
    else sudo="none"
    fi
    if [ "$sudo" = none ] || ! command -v apt-get >/dev/null 2>&1 ||
       ! { $sudo apt-get install -y $missing || { $sudo apt-get update && $sudo apt-get install -y $missing; }; }; then
        echo "make_icons: cannot install$missing; install rsvg-convert (librsvg2-bin) and icotool (icoutils) by hand" >&2
        exit 1
    fi
    if ! command -v rsvg-convert >/dev/null 2>&1 || ! command -v icotool >/dev/null 2>&1; then
        echo "make_icons: rsvg-convert or icotool still missing after install" >&2
        exit 1
    fi
}

need_tools
if ! command -v convert >/dev/null 2>&1; then
    echo "make_icons: needs ImageMagick's convert (apt-get install imagemagick)" >&2
    exit 1
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

source_for() { # name size
    if [ -f "$src/$1-$2.svg" ]; then echo "$src/$1-$2.svg"; else echo "$src/$1.svg"; fi
}

for entry in $ICONS; do
    name=${entry%%:*}
    sizes=$(echo "${entry#*:}" | tr ',' ' ')
    [ -f "$src/$name.svg" ] || { echo "make_icons: missing $src/$name.svg" >&2; exit 1; }
    pngs=""
    for s in $sizes; do
        rsvg-convert -w "$s" -h "$s" -o "$tmp/$name-$s.png" "$(source_for "$name" "$s")"
        pngs="$pngs $tmp/$name-$s.png"
    done
    # Uncompressed 32-bit entries with alpha: every Windows version loads them.
    icotool -c -o "$out/$name.ico" $pngs
    echo "$name.ico ($sizes)"
done

bsrc="$root/resources/bitmaps/src"
bout="$root/resources/bitmaps"
# The banner shows the version set in CMakeLists.txt, as major.minor.
version=$(sed -n 's/^project(switchpoint VERSION \([0-9]*\.[0-9]*\)\.[0-9]*.*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "make_icons: no project VERSION in CMakeLists.txt" >&2; exit 1; }
for entry in $BITMAPS; do
    name=${entry%%:*}
    size=${entry#*:}
    [ -f "$bsrc/$name.svg" ] || { echo "make_icons: missing $bsrc/$name.svg" >&2; exit 1; }
    sed "s/@VERSION@/$version/g" "$bsrc/$name.svg" >"$tmp/$name.svg"
    rsvg-convert -w "${size%x*}" -h "${size#*x}" -b white -o "$tmp/$name.png" "$tmp/$name.svg"
    # 24-bit, no alpha, no colour-space chunk: what LoadBitmap reads everywhere.
    convert "$tmp/$name.png" -background white -alpha remove -alpha off -type TrueColor \
        -define bmp:format=bmp3 "BMP3:$bout/$name.bmp"
    echo "$name.bmp ($size)"
done

[ -z "$sheet" ] && exit 0

# Contact sheet: each icon on the cell colours, placed as the panel places it
# (32 px at 6,6 inside a 45 px cell), then its 16 px and 48 px renders.
# Shown at three times size so single pixels can be judged.
COLOURS="#FFFFFE #00FF00 #CCCCCC #F7AF49"
rows=""
for entry in $ICONS; do
    name=${entry%%:*}
    sizes=$(echo "${entry#*:}" | tr ',' ' ')
    tiles=""
    for s in $sizes; do
        if [ "$s" = 32 ]; then cell=45; at=+6+6
        elif [ "$s" = 16 ]; then cell=28; at=+6+6
        else cell=60; at=+6+6
        fi
        for c in $COLOURS; do
            t="$tmp/tile-$name-$s-$(echo "$c" | tr -d '#').png"
            convert -size ${cell}x${cell} "xc:$c" "$tmp/$name-$s.png" -geometry "$at" -composite "$t"
            tiles="$tiles $t"
        done
    done
    convert -size 130x28 xc:white -gravity west -pointsize 11 -annotate +4+0 "$name" \
        "$tmp/label-$name.png"
    convert "$tmp/label-$name.png" $tiles -bordercolor white -border 2 -background white +append \
        "$tmp/row-$name.png"
    rows="$rows $tmp/row-$name.png"
done
convert $rows -background white -append \
    +repage -depth 8 -filter point -resize 300% "$sheet"
echo "sheet: $sheet"
