# Sourced by the scripts: the source tree's root and the absolute build folder
# (VEXILO_BUILD_DIR, default ./build), exported so that the scripts they call agree.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VEXILO_BUILD_DIR:-$root/build}
case $build in /*) ;; *) build=$PWD/$build ;; esac
export VEXILO_BUILD_DIR=$build
