#!/usr/bin/env bash
# Builds the Debian package from a finished build, checks its contents and dependencies, unpacks
# it into a scratch root and runs the unpacked binary headless for a few seconds under strace:
# it must stay up with its window loaded, and open no file but Qt's own and the system's.
#   check-deb.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >/dev/null
deb=$(ls "$scratch"/out/*.deb)
echo "package: $(basename "$deb")"

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/gimbal \
            ./usr/share/applications/org.example.lunok.Gimbal.desktop \
            ./usr/share/metainfo/org.example.lunok.Gimbal.metainfo.xml \
            ./usr/share/icons/hicolor/32x32/apps/org.example.lunok.Gimbal.png \
            ./usr/share/icons/hicolor/256x256/apps/org.example.lunok.Gimbal.png; do
  grep -qxF "$path" <<<"$contents" || fail "package lacks $path"
done
# Everything the window needs is inside the executable: no QML, pictures or catalogues beside it.
if grep -E '\.(qml|qm|png|ico|jpg)$' <<<"$contents" | grep -v '/icons/hicolor/'; then
  fail "package carries interface files outside the executable"
fi

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt5core5a libqt5gui5 libqt5qml5 libqt5serialport5 libudev1 libsdl2-2.0-0 \
               qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-layouts \
               qml-module-qtquick-controls2 qml-module-qtquick-templates2 \
               qml-module-qtquick-dialogs fonts-wqy-microhei; do
  grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

root=$scratch/root
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.example.lunok.Gimbal.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.lunok.Gimbal.metainfo.xml" \
  >/dev/null || fail "metainfo does not validate"
for size in 32 256; do
  [ "$(file -b "$root/usr/share/icons/hicolor/${size}x${size}/apps/org.example.lunok.Gimbal.png" |
       grep -o "$size x $size")" = "$size x $size" ] || fail "icon is not $size pixels"
done

# Run the unpacked binary from a neutral folder with a home of its own.
export HOME=$scratch/home XDG_CACHE_HOME=$scratch/home/.cache XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
# Qt's own timing line shows that the window rendered a frame.
export QT_LOGGING_RULES="qt.scenegraph.time.renderloop=true"
cd "$scratch"
status=0
strace -f -qq -y -e trace=open,openat -e status=successful -o "$scratch/opens" \
  timeout -s TERM 4 "$root/usr/bin/gimbal" 2>"$scratch/stderr" || status=$?
[ "$status" -eq 124 ] || { cat "$scratch/stderr"; fail "gimbal ended with $status before 4 s"; }
if grep -E 'qrc:/|Error|error' "$scratch/stderr"; then
  fail "the window did not load cleanly"
fi
grep -q 'Frame rendered' "$scratch/stderr" || fail "the window rendered no frame"

# Allowed: the executable itself, the system's libraries, configuration, fonts, locale data and
# device nodes, and Qt's own cache of its compiled QML modules.
allowed="^($root/usr/bin/gimbal|/usr/lib/|/lib/|/lib64/|/etc/|/proc(/|$)|/sys(/|$)|/dev(/|$)|/usr/share/fonts|\
/usr/local/share/fonts|/usr/share/fontconfig|/var/cache/fontconfig|/usr/share/locale/|\
/usr/share/zoneinfo/|/usr/share/X11/|$XDG_CACHE_HOME/fontconfig|$XDG_CACHE_HOME/Lunok/Gimbal/qmlcache|\
$XDG_RUNTIME_DIR|/$)"
# With -y a directory descriptor shows its path: openat(3</sys/class/tty>, "tty0") is
# /sys/class/tty/tty0, and a name relative to the working folder is taken as such.
opened=$(grep -oE 'open(at)?\([^"]*"[^"]*"' "$scratch/opens" |
  sed -E -e 's/^openat\([0-9]+<([^>]*)>, "([^/][^"]*)"$/\1\/\2/' \
         -e "s|^openat\\(AT_FDCWD, \"([^/][^\"]*)\"\$|$scratch/\\1|" \
         -e 's/^open(at)?\([^"]*"([^"]*)"$/\2/' -e 's|/+|/|g' | sort -u)
outside=$(grep -vE "$allowed" <<<"$opened" || true)
[ -z "$outside" ] || fail "opened files outside the executable and Qt: $outside"
# Qt's cache may only hold Qt's own modules: the window's own QML is compiled into the binary.
grep -E "\.qml$" <<<"$opened" | grep -v '^/usr/lib/' && fail "read QML from disk"
echo "ok: $(wc -l <<<"$opened") files opened, all the system's or Qt's"
