#!/usr/bin/env bash
# ThreadSanitizer sees only the synchronisation of instrumented code, and Debian's QtCore is not
# instrumented: every hand-over through QMutex, QThreadPool or QFutureWatcher then looks like a
# race. This builds this machine's own version of QtCore and QtConcurrent from Debian's source
# package with -fsanitize=thread, configured as Debian configures them, so that the instrumented
# libraries can stand in for the system's in the ThreadSanitizer build. QtGui and QtWidgets stay
# Debian's: they run on the main thread only.
#
#   ./scripts/tsan-qt.sh     builds once into build-tsan-qt (VEXILO_TSAN_QT_DIR), then prints
#                            the folder that holds the libraries
#
# It needs the source package: apt is asked for it through a private list of Debian's source
# archives, made from this machine's own package sources; nothing of the system's is changed.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/paths.sh"

dest=${VEXILO_TSAN_QT_DIR:-$root/build-tsan-qt}
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
version=$(dpkg-query -W -f='${Version}' libqt6core6)
libdir=$dest/build/lib/$multiarch
log=$dest/build.log

if [ -f "$libdir/libQt6Concurrent.so.6" ] && [ "$(cat "$dest/version" 2>/dev/null)" = "$version" ]; then
    echo "$libdir"
    exit 0
fi

say() { echo "tsan-qt: $*" >&2; }
mkdir -p "$dest"

say "Qt $version: the build's packages"
bash "$root/scripts/setup.sh" --packages-only >&2
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq dpkg-dev libicu-dev libglib2.0-dev \
    libpcre2-dev libdouble-conversion-dev zlib1g-dev libzstd-dev libb2-dev >&2

say "the source package"
apt=$dest/apt
rm -rf "$apt" "$dest/src"
mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$dest/src"
for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && sed 's/^Types:.*/Types: deb-src/' "$file" >"$apt/sources.list.d/$(basename "$file")"
done
sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list 2>/dev/null >"$apt/sources.list" || true
options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
    -o "Dir::State::Lists=$apt/lists" -o "APT::Sandbox::User=root")
apt-get "${options[@]}" update -qq >&2
(cd "$dest/src" && apt-get "${options[@]}" source -qq "qt6-base=$version" >&2)
source=$(find "$dest/src" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)

say "configuring as Debian does, instrumented (log: $log)"
rm -rf "$dest/build"
cmake -S "$source" -B "$dest/build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DECM_ENABLE_SANITIZERS=thread \
    -DFEATURE_sanitize_thread=ON -DFEATURE_sanitizer=ON \
    -DCMAKE_INSTALL_PREFIX=/usr -DINSTALL_BINDIR=lib/qt6/bin -DINSTALL_LIBDIR="lib/$multiarch" \
    -DINSTALL_LIBEXECDIR=lib/qt6/libexec -DINSTALL_ARCHDATADIR="lib/$multiarch/qt6" \
    -DINSTALL_DATADIR=share/qt6 -DINSTALL_HOSTDATADIR="lib/$multiarch/qt6" \
    -DINSTALL_SYSCONFDIR=/etc/xdg -DINSTALL_INCLUDEDIR="include/$multiarch/qt6" \
    -DINSTALL_PLUGINDIR="lib/$multiarch/qt6/plugins" -DINSTALL_TRANSLATIONDIR=share/qt6/translations \
    -DINSTALL_MKSPECSDIR="lib/$multiarch/qt6/mkspecs" \
    -DFEATURE_mimetype_database=OFF -DFEATURE_glib=ON -DFEATURE_icu=ON -DFEATURE_pcre2=ON \
    -DFEATURE_system_pcre2=ON -DFEATURE_doubleconversion=ON -DFEATURE_zlib=ON \
    -DFEATURE_system_libb2=ON -DFEATURE_rpath=OFF -DFEATURE_relocatable=OFF \
    -DFEATURE_gui=OFF -DFEATURE_widgets=OFF -DFEATURE_network=OFF -DFEATURE_sql=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF -DFEATURE_testlib=OFF \
    -DBUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF >"$log" 2>&1

# Debian's QtGui and QtWidgets use QtCore's private classes: their layout must be the same.
system=/usr/include/$multiarch/qt6/QtCore/qtcore-config.h
if ! cmp -s "$system" "$dest/build/src/corelib/qtcore-config.h"; then
    say "QtCore configured otherwise than the system's; see $dest/build/src/corelib/qtcore-config.h"
    exit 1
fi

say "building QtCore and QtConcurrent (about 20 minutes on two cores)"
cmake --build "$dest/build" -j "${VEXILO_JOBS:-$(nproc)}" --target Core Concurrent >>"$log" 2>&1
echo "$version" >"$dest/version"
echo "$libdir"
