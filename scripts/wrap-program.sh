#!/usr/bin/env bash
# wrap-program.sh <program> <folder> [name] [-- fixed arguments...]
#
# Wraps an installed Linux program into an application bundle <folder>/<name>.app that Vexilo
# can open in another language. The bundle's executable is a #!/bin/sh script that drops the
# "-AppleLanguages (xx)" pair (a Linux program would take it for an unknown option) and execs
# the program with the fixed arguments; the program reads its language from LANGUAGE, which
# Vexilo sets. One <lang>.lproj folder is made for each of LANGUAGES (default "en fr de es ja")
# that the program has a gettext catalogue for (/usr/share/locale/<lang>/LC_MESSAGES/<domain>.mo,
# the domain being DOMAIN or the program's name), and always one for English.
#
# Example: scripts/wrap-program.sh zenity build/demo/Applications Zenity -- --info
set -euo pipefail

usage() {
    echo "usage: wrap-program.sh <program> <folder> [name] [-- fixed arguments...]" >&2
    exit 2
}
[ $# -ge 2 ] || usage
program=$1
folder=$2
shift 2
name=
if [ $# -gt 0 ] && [ "$1" != -- ]; then
    name=$1
    shift
fi
if [ $# -gt 0 ]; then
    [ "$1" = -- ] || usage
    shift
fi

path=$(command -v -- "$program") || {
    echo "wrap-program: error: no program '$program' is installed" >&2
    exit 1
}
base=$(basename -- "$path")
[ -n "$name" ] || name=${base^}
case $name in */* | .* | "") echo "wrap-program: error: '$name' is no bundle name" >&2; exit 1 ;; esac
domain=${DOMAIN:-$base}
identifier="org.vexilo.wrapped.$(printf '%s' "$base" | tr -c 'A-Za-z0-9.-' '-')"

bundle="$folder/$name.app"
rm -rf -- "$bundle"
mkdir -p -- "$bundle/Contents/MacOS" "$bundle/Contents/Resources/en.lproj"
for lang in ${LANGUAGES:-en fr de es ja}; do
    if [ -f "/usr/share/locale/$lang/LC_MESSAGES/$domain.mo" ]; then
        mkdir -p -- "$bundle/Contents/Resources/$lang.lproj"
    fi
done

# Property-list text: &, < and > escaped.
xml() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' <<<"$1"; }
cat >"$bundle/Contents/Info.plist" <<PLIST
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
    <key>CFBundleIdentifier</key>
    <string>$(xml "$identifier")</string>
    <key>CFBundleExecutable</key>
    <string>$(xml "$name")</string>
    <key>CFBundleName</key>
    <string>$(xml "$name")</string>
</dict>
</plist>
PLIST

# Each fixed argument in single quotes, its own quotes closed and escaped.
quoted=
for argument in "$@"; do
    quoted+=" '${argument//\'/\'\\\'\'}'"
done
executable="$bundle/Contents/MacOS/$name"
cat >"$executable" <<SCRIPT
#!/bin/sh
# Runs $path in the language Vexilo chose: Vexilo puts it first in LANGUAGE. The
# "-AppleLanguages (xx)" pair is for applications that read it; it is dropped here.
skip=
for argument in "\$@"; do
    shift
    if [ -n "\$skip" ]; then
        skip=
    elif [ "\$argument" = -AppleLanguages ]; then
        skip=1
    else
        set -- "\$@" "\$argument"
    fi
done
exec '${path//\'/\'\\\'\'}'$quoted "\$@"
SCRIPT
chmod 755 "$executable"
echo "$bundle ($identifier; languages: $(ls "$bundle/Contents/Resources" | sed 's/\.lproj//' | tr '\n' ' '))"
