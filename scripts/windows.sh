#!/usr/bin/env bash
# Cross-builds Quillo for 64-bit Windows on Debian 12 (mingw-w64, posix
# threads) with the Qt 6.4.2 SDK for mingw, warnings as errors, and packs the
# portable program folder into dist/Quillo-win64.zip.
#
# The SDK tarball qt6-mingw-6.4.2.tar.xz is looked for in $QUILLO_QT_MINGW (the
# tarball or its folder), then <repo>/../shared/windows/, then
# /work/shared/windows/; its .sha256 is checked and it is unpacked once into
# ${XDG_CACHE_HOME:-~/.cache}/quillo/. Without a tarball, the SDK is built from
# Debian's Qt source by build-qt-mingw.sh (found in the same places), about an
# hour on two cores. Everything installed comes from Debian's archive.
#
#   scripts/windows.sh [BUILD_DIR]     (default build-win)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=${1:-build-win}
triple=x86_64-w64-mingw32
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quillo
sdk_name=qt6-mingw-6.4.2
timings=()
stage() {  # stage NAME command...: runs it, keeps its time
    local name=$1 t0=$SECONDS
    shift
    "$@"
    timings+=("$name $((SECONDS - t0)) s")
}

# ---------------------------------------------------------------- packages
install_packages() {
    local packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
                    wine64 wine librsvg2-bin ninja-build cmake pkg-config qt6-base-dev-tools
                    libxxhash-dev fonts-ipafont-gothic xvfb xauth xdotool imagemagick x11-utils
                    xz-utils)
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    ((${#missing[@]} == 0)) && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
stage "packages" install_packages

# ---------------------------------------------------------------- the SDK
find_in_places() {  # find_in_places FILE: the first place that has it
    local d
    for d in ${QUILLO_QT_MINGW:+"$QUILLO_QT_MINGW"} "$repo/../shared/windows" /work/shared/windows; do
        if [[ -f $d && $(basename "$d") == "$1" ]]; then echo "$d"; return 0; fi
        if [[ -f $d/$1 ]]; then echo "$d/$1"; return 0; fi
    done
    return 1
}
prepare_sdk() {
    local tarball script sum
    if tarball=$(find_in_places "$sdk_name.tar.xz"); then
        sum=$(cut -d' ' -f1 "$tarball.sha256")
        sdk=$cache/$sdk_name-${sum:0:12}
        [[ -f $sdk/.unpacked ]] && return 0
        echo "Checking and unpacking $tarball"
        (cd "$(dirname "$tarball")" && sha256sum --quiet -c "$(basename "$tarball").sha256")
        rm -rf "$sdk" "$sdk.tmp"
        mkdir -p "$sdk.tmp"
        tar -xJf "$tarball" -C "$sdk.tmp"
        mv "$sdk.tmp/qt6-mingw" "$sdk"
        rmdir "$sdk.tmp"
        touch "$sdk/.unpacked"
    elif script=$(find_in_places build-qt-mingw.sh); then
        sdk=$cache/$sdk_name-built
        [[ -f $sdk/.built ]] && return 0
        echo "No $sdk_name.tar.xz found: building the SDK with $script into $sdk (about an hour)."
        "$script" "$sdk" "$cache/qt-mingw-work"
        touch "$sdk/.built"
    else
        echo "Neither $sdk_name.tar.xz nor build-qt-mingw.sh was found (QUILLO_QT_MINGW, ../shared/windows, /work/shared/windows)." >&2
        exit 1
    fi
}
stage "sdk" prepare_sdk

# ---------------------------------------------------------------- the build
build_quillo() {
    PKG_CONFIG_LIBDIR=$sdk/lib/pkgconfig cmake -G Ninja -S . -B "$build" \
        -DCMAKE_TOOLCHAIN_FILE="$sdk/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DPKG_CONFIG_EXECUTABLE=/usr/bin/$triple-pkg-config \
        -DCMAKE_BUILD_TYPE=Release -DQUILLO_WERROR=ON >/dev/null
    PKG_CONFIG_LIBDIR=$sdk/lib/pkgconfig nice cmake --build "$build" -j2
    # What the Wine test runner needs to find the SDK's DLLs and plugins.
    local winsdk="Z:${sdk//\//\\}"
    cat > "$build/wine-env.sh" <<ENV
export WINEPATH='$winsdk\\bin'
export QT_PLUGIN_PATH='$winsdk\\plugins'
ENV
}
stage "cross build" build_quillo

# ---------------------------------------------------------------- the program folder
# What windeployqt would do: the program, every DLL it and its plugins load
# from the SDK (found by reading their imports), the plugins, the help page.
assemble() {
    local app=dist/Quillo-win64
    rm -rf dist/Quillo-win64 dist/Quillo-win64.zip
    mkdir -p "$app/platforms" "$app/imageformats" "$app/styles" "$app/help"
    cp "$build/src/ui/quillo.exe" "$app/"
    cp "$sdk/plugins/platforms/qwindows.dll" "$app/platforms/"
    cp "$sdk"/plugins/imageformats/q{jpeg,gif,ico}.dll "$app/imageformats/"
    cp "$sdk/plugins/styles/qwindowsvistastyle.dll" "$app/styles/"
    cp resources/help/index.html "$app/help/"
    local queue=("$app"/quillo.exe "$app"/*/*.dll) f dll
    local -A seen=()
    while ((${#queue[@]})); do
        f=${queue[0]}
        queue=("${queue[@]:1}")
        for dll in $($triple-objdump -p "$f" | awk '/DLL Name:/{print $3}'); do
            [[ -n ${seen[$dll]:-} || ! -f $sdk/bin/$dll ]] && continue
            seen[$dll]=1
            cp "$sdk/bin/$dll" "$app/"
            queue+=("$app/$dll")
        done
    done
    # Debian's libstdc++ DLL is shipped with its symbols: 24 MB of 60.
    $triple-strip --strip-unneeded "$app"/*.dll "$app"/*/*.dll "$app/quillo.exe"
    (cd dist && cmake -E tar cf Quillo-win64.zip --format=zip Quillo-win64)
    echo "dist/Quillo-win64.zip: $(du -h dist/Quillo-win64.zip | cut -f1), $(find "$app" -type f | wc -l) files"
}
stage "zip" assemble

printf 'windows.sh timings: %s\n' "$(IFS=,; echo "${timings[*]}")"
