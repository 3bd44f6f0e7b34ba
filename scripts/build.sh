#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures (once) and builds the whole project into DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths below the checkout count as relative, and the build folder's own path is
    # left out of the hash that debug information would add it to, so clones in other
    # folders (a clean clone, CI's) share the compiler cache.
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
if ! cmake --build "$dir" -j "$(nproc)"; then
    # A tree built before a merge that added Q_OBJECT headers can keep stale moc output
    # (undefined vtable or staticMetaObject); moc runs afresh once before giving up.
    echo "build failed; retrying once with the moc output of $dir made afresh"
    find "$dir" -maxdepth 3 -type d -name '*_autogen' -prune -exec rm -rf {} +
    cmake --build "$dir" -j "$(nproc)"
fi
