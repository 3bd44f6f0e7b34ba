#!/usr/bin/env bash
# check-layers.sh [SRC_DIR] [QT_HEADERS_DIR]: fails when a file under src/ includes a
# project folder its own folder may not include, or when widget-free (core) code
# includes a Qt widget or web-engine header. Lower folders never include higher ones:
#   network < qzone < storage, session < catalogue < photos < albumdl < moodsdl < boarddl
#   < spacedl; gallery over albumdl;
#   shell beside them;
#   window over every core folder; each feature's ui/ over the core and window/;
#   app over everything.
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}
qt_headers=${2:-}

core="network qzone storage session catalogue photos albumdl moodsdl boarddl spacedl gallery shell"
allowed() {
    case $1 in
    network) echo "network" ;;
    qzone) echo "network qzone" ;;
    storage) echo "network qzone storage" ;;
    session) echo "network qzone session" ;;
    catalogue) echo "network qzone storage session catalogue" ;;
    photos) echo "network qzone storage session catalogue photos" ;;
    albumdl) echo "network qzone storage session catalogue photos albumdl" ;;
    moodsdl) echo "network qzone storage session catalogue photos albumdl moodsdl" ;;
    boarddl) echo "network qzone storage session catalogue photos albumdl moodsdl boarddl" ;;
    spacedl) echo "network qzone storage session catalogue photos albumdl moodsdl boarddl spacedl" ;;
    gallery) echo "network qzone storage session catalogue photos albumdl gallery" ;;
    shell) echo "network qzone storage session shell" ;;
    window) echo "$core window" ;;
    */ui) echo "$core window $1" ;;
    app) echo "*" ;;
    *) echo "" ;;
    esac
}

# Widget and web-engine headers: every header Qt installs for those modules, plus the
# module headers themselves.
widget_headers=" QtWidgets QtWebEngineWidgets QtWebEngineCore QtWebEngineQuick "
if [[ -n $qt_headers ]]; then
    for module in QtWidgets QtWebEngineWidgets QtWebEngineCore; do
        [[ -d $qt_headers/$module ]] || continue
        for header in "$qt_headers/$module"/*; do
            name=${header##*/}
            [[ $name == *.h ]] || widget_headers+="$name "
        done
    done
fi

failures=0
cd "$src"
while IFS= read -r -d '' file; do
    dir=${file#./}
    dir=${dir%/*}
    [[ $dir == */ui ]] || dir=${dir%%/*}
    permitted=$(allowed "$dir")
    line_no=0
    while IFS= read -r line; do
        line_no=$((line_no + 1))
        if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
            target=${BASH_REMATCH[1]}
            [[ $target == */* ]] || continue
            folder=${target%/*}
            [[ $folder == */ui ]] || folder=${folder%%/*}
            [[ $permitted == "*" ]] && continue
            if [[ " $permitted " != *" $folder "* ]]; then
                echo "${file#./}:$line_no: $dir may not include $target"
                failures=$((failures + 1))
            fi
        elif [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
            header=${BASH_REMATCH[1]}
            [[ " $core " == *" $dir "* ]] || continue
            module=${header%%/*}
            base=${header##*/}
            if [[ $widget_headers == *" $module "* || $widget_headers == *" $base "* ]]; then
                echo "${file#./}:$line_no: widget-free $dir may not include <$header>"
                failures=$((failures + 1))
            fi
        fi
    done <"$file"
done < <(find . \( -name '*.h' -o -name '*.cpp' \) -print0)

if ((failures > 0)); then
    echo "$failures include(s) break the layers"
    exit 1
fi
echo "layers ok"
