#!/bin/sh
# Turns the pages that the stylesheet tests write (pages/*.html in the build folder) into PNG
# pictures with headless Chromium, so that people can look at them. A developer's tool: no
# test runs it.
#
#   tests/resources/render-pages.sh BUILD_FOLDER [IMAGES_FOLDER]
#
# IMAGES_FOLDER (default BUILD_FOLDER/resources/images) may hold the program's artwork, as
# resources (NAME_GIF) or as NAME.gif (.png, .svg) files; the pages' names NAME_gif are
# pointed at them, letter case aside; timer.* stands in for the timer image.
# Without it the pictures stay empty boxes, as stellik:// cannot be loaded outside the player.
set -eu
build=$(cd "$1" && pwd)
images=${2:-$build/resources/images}
pages=$build/tests/resources/pages
out=$pages/png

"$build/tests/resources/stellik_resources_tests" >/dev/null || true # failing checks still write their pages
mkdir -p "$out"

script=""
if [ -d "$images" ]; then
    for file in "$images"/*; do
        name=$(basename "$file")
        case $name in
        timer.*) script="$script s#stellik://system/timer.gif#file://$file#g;" ;;
        *_GIF | *_gif) script="$script s#\"$name\"#\"file://$file\"#gI;" ;;
        *.gif | *.png | *.svg) script="$script s#\"${name%.*}_gif\"#\"file://$file\"#gI;" ;;
        esac
    done
fi

for html in "$pages"/*.html; do
    name=$(basename "$html" .html)
    view=$out/$name.view.html
    sed "$script" "$html" >"$view"
    chromium --headless --no-sandbox --disable-gpu --hide-scrollbars \
        --screenshot="$out/$name.png" --window-size=761,526 "file://$view" >/dev/null 2>&1
    echo "$out/$name.png"
done
