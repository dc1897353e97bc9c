#!/usr/bin/env bash
# Prepares a Debian 12 machine for Vexilo and builds it.
#
# Installs the Debian packages that are missing (as root, or through sudo), then configures and
# builds into ./build (VEXILO_BUILD_DIR overrides it). When everything is already there it only
# runs an incremental build.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/paths.sh"

say() { printf 'setup: %s\n' "$*"; }
die() {
    printf 'setup: error: %s\n' "$*" >&2
    exit 1
}

# Package and what it is needed for.
packages=(
    "build-essential|C++ compiler and linker"
    "cmake|build configuration (CMake 3.25)"
    "ninja-build|build tool used by CMake"
    "pkg-config|locates expat, ICU, libxcb and libplist for CMake"
    "git|version control of the source tree"
    "qt6-base-dev|Qt 6 Core, Gui, Widgets and Test libraries and headers"
    "qt6-base-dev-tools|Qt's moc, needed to compile Qt classes"
    "qt6-tools-dev|CMake support for Qt's translation tools"
    "qt6-tools-dev-tools|Qt tools that the translation support expects"
    "qt6-l10n-tools|lrelease, compiles the translations into Vexilo.qm"
    "qt6-image-formats-plugins|reads .icns application icons"
    "qt6-translations-l10n|Qt's own texts (file chooser, text field menus, key names) in Vexilo's language"
    "libexpat1-dev|parses XML property lists (Info.plist, preferences)"
    "libplist-dev|tests only: writes binary property lists to check our reader against"
    "libicu-dev|language names in the user's language"
    "libxcb1-dev|X11 protocol library, to bring launched applications to the front"
    "libxcb-ewmh-dev|window-manager hints, to activate windows on X11"
    "libgl-dev|OpenGL headers that Qt's Gui CMake package requires"
    "xvfb|virtual X server for tests and for running without a display"
    "xauth|lets xvfb-run authorise clients of the virtual X server"
    "icnsutils|png2icns, makes Vexilo's icon and the test icons"
    "imagemagick|import, takes the screenshot when there is no display"
    "x11-utils|X11 inspection tools for diagnosing window problems"
    "fonts-dejavu-core|a font, so the window has readable text everywhere"
    "fonts-ipafont-gothic|a Japanese font, so Vexilo in Japanese shows its texts on a bare system"
    "xdg-utils|xdg-open, hands the help page, feedback mail and donation page to your programs"
    "locales|the locale sources from which Vexilo compiles a language's missing locale for programs that need it"
    "appstream|appstreamcli, checks the installed desktop metadata in the tests"
    "groff-base|groff, checks that the manual page of vexilo-defaults renders"
    "clang-format|formats the C++ sources"
    "clang|fuzzing only: builds the fuzz targets in fuzz/"
    "libclang-rt-14-dev|fuzzing only: libFuzzer and the sanitizer runtimes"
    "libqt6svg6|draws SVG icons of the desktop's icon theme"
    "python3-pyatspi|AT-SPI client: the accessibility test reads Vexilo as a screen reader does"
    "at-spi2-core|the accessibility bus and registry that Qt and screen readers talk through"
    "dbus|dbus-run-session, a private session bus for the accessibility test"
    "xdotool|types keys into Vexilo's window in the accessibility test"
    "debhelper|packaging only: builds the Debian package (scripts/deb.sh)"
    "lintian|packaging only: checks the Debian package"
)

missing=()
reasons=()
for entry in "${packages[@]}"; do
    name=${entry%%|*}
    status=$(dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null || true)
    if [ "$status" != "installed" ]; then
        missing+=("$name")
        reasons+=("${entry#*|}")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -eq 0 ]; then
        as_root=()
    elif command -v sudo >/dev/null 2>&1; then
        as_root=(sudo)
    else
        die "missing packages (${missing[*]}); run this script as root or install sudo"
    fi
    for i in "${!missing[@]}"; do
        say "installing ${missing[$i]}: ${reasons[$i]}"
    done
    # A mirror that answers badly once should not end the set-up.
    for attempt in 1 2 3; do
        if "${as_root[@]}" apt-get update -q; then
            break
        fi
        [ "$attempt" -lt 3 ] || die "apt-get update failed"
        sleep 5
    done
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null ||
        die "apt-get install failed"
else
    say "all ${#packages[@]} required packages are installed"
fi

# --packages-only: the packages, not the build (for scripts that configure a build of their own).
[ "${1:-}" = --packages-only ] && exit 0

jobs=${VEXILO_JOBS:-$(nproc 2>/dev/null || echo 2)}
if [ ! -f "$build/build.ninja" ]; then
    say "configuring into $build"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
say "building in $build"
cmake --build "$build" -j "$jobs"
say "done: $build/Vexilo.app"
