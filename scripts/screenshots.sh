#!/usr/bin/env bash
# screenshots.sh [checked] [marks]: draws docs/albums.png, docs/photos.png,
# docs/download.png, docs/gallery.png, docs/moods-page.png and docs/board-page.png
# afresh; pictures for a look by eye (checked, marks, moods), named after them, come too
# when asked for (see tests/screenshots/ScreenshotDriver.cpp).
# Installs what is missing, builds, and runs the real window against the in-process
# stand-in on a virtual X screen (xvfb-run); the driver says when each state is on
# screen and where the window is, and each shot is the window cut from the screen.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ ${1:-} != --on-screen ]]; then
    bash scripts/install-deps.sh
    bash scripts/build.sh build
    exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --on-screen "$@"
fi
shift

mkdir -p docs
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The browser's storage and any settings go to a scratch folder, not the user's.
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data XDG_CACHE_HOME=$scratch/cache
export QTWEBENGINE_DISABLE_SANDBOX=${QTWEBENGINE_DISABLE_SANDBOX:-$([ "$(id -u)" -eq 0 ] && echo 1 || echo 0)}
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu ${QTWEBENGINE_CHROMIUM_FLAGS:-}"
# The dates as a Chinese desktop shows them; glibc needs no such locale installed for it.
unset LC_ALL
export LANG=zh_CN.UTF-8 LC_CTYPE=C.UTF-8

log=$scratch/driver.log
coproc driver { ./build/tests/screenshots/albivex_screenshot_driver "$@" 2>"$log"; }
pid=$driver_PID
# Bash forgets the coprocess's descriptors once it ends; copies outlive it.
exec {from_driver}<&"${driver[0]}" {to_driver}>&"${driver[1]}"
shots=0
while IFS= read -r line <&"$from_driver"; do
    case $line in
    "ready "*)
        read -r _ name geometry <<<"$line"
        import -window root -crop "$geometry" +repage "docs/$name.png"
        echo "docs/$name.png ($geometry)"
        shots=$((shots + 1))
        echo next >&"$to_driver"
        ;;
    done) break ;;
    esac
done
wait "$pid" || { grep -v '^ \|^$' "$log" | tail -n 20; echo "the screenshot driver failed"; exit 1; }
wanted=$((3 + $#))
[ "$shots" -eq "$wanted" ] || { echo "only $shots of $wanted screenshots were taken"; exit 1; }
# The offline album's page, drawn by the browser engine from a made-up space.
./build/tests/screenshots/albivex_gallery_shot docs/gallery.png 2>>"$log" || { echo "the offline album shot failed"; exit 1; }
echo docs/gallery.png
# A page of the offline 说说, drawn the same way.
./build/tests/screenshots/albivex_moods_shot docs/moods-page.png 2>>"$log" || { echo "the posts' page shot failed"; exit 1; }
echo docs/moods-page.png
# A page of the offline 留言板, drawn the same way.
./build/tests/screenshots/albivex_board_shot docs/board-page.png 2>>"$log" || { echo "the board's page shot failed"; exit 1; }
echo docs/board-page.png
if command -v optipng >/dev/null; then optipng -quiet -o2 docs/*.png; fi
