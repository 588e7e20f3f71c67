#!/usr/bin/env bash
# Makes the Windows packages from a cross build: package.sh BUILD_DIR
#   BUILD_DIR/package/gimbal-VERSION-win64/            the portable folder
#   BUILD_DIR/package/gimbal-VERSION-win64.zip         the same, zipped
#   BUILD_DIR/package/gimbal-VERSION-win64-setup.exe   the installer (packaging/windows/gimbal.nsi)
# There is no windeployqt for a Linux host, so the folder gets what the executable needs: the QML
# modules that qmlimportscanner finds from qml/, the plugins below, and the DLLs that all of
# those import, followed through their import tables.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
qt=$build/qt5-win64
# Where the DLLs that are not the system's come from.
dll_dirs=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=gimbal-$version-win64
out=$build/package
folder=$out/$name
rm -rf "$folder" "$out/$name.zip" "$out/$name-setup.exe"
mkdir -p "$folder/plugins" "$folder/qml"

cp "$build/app/gimbal.exe" "$folder/"
# Qt looks for its plugins and QML modules beside the executable.
printf '[Paths]\nPrefix=.\nPlugins=plugins\nQml2Imports=qml\n' >"$folder/qt.conf"

# The platform plugin, and the image format of the window icon (logo.ico); PNG is built in, and
# no picture the window shows is a JPEG or GIF. No widget style: the tool has no widgets.
for plugin in platforms/qwindows.dll imageformats/qico.dll; do
  mkdir -p "$folder/plugins/$(dirname "$plugin")"
  cp "$qt/plugins/$plugin" "$folder/plugins/$plugin"
done

# QML modules. The window uses Controls 2's default style; the scanner also lists the other
# styles (and the Imagine style's graphical effects), because it reads every file below
# Controls.2. QtQuick.PrivateWidgets serves the dialogs only in a QApplication (widgets), which
# the tool is not.
unneeded='^(QtQuick\.Controls\.(Fusion|Imagine|Material|Universal)|QtGraphicalEffects|QtQuick\.PrivateWidgets)$'
modules=$("$qt/bin/qmlimportscanner" -rootPath "$root/qml" -importPath "$qt/qml" |
  python3 -c '
import json, re, sys
unneeded = re.compile(sys.argv[1])
for m in json.load(sys.stdin):
    if m.get("type") == "module" and "path" in m and not unneeded.match(m["name"]):
        print(m["path"])' "$unneeded" | sort -u)
while IFS= read -r module; do
  relative=${module#"$qt/qml/"}
  # A module's own files and folders; a folder with a qmldir of its own is another module.
  mkdir -p "$folder/qml/$relative"
  (cd "$module" &&
    find . -mindepth 1 -type d \( -exec test -f '{}/qmldir' \; -o -name designer \) -prune -o \
      -type f ! -name '*.qmltypes' -print | xargs -r cp --parents -t "$folder/qml/$relative")
done <<<"$modules"

# SDL2 is loaded at run time (gamepads), so no import table names it.
cp "$qt/bin/SDL2.dll" "$folder/"

# Every DLL imported by what is in the folder, followed until nothing new comes; DLLs found in
# none of dll_dirs are the system's.
find_dll() {
  local dir
  for dir in "${dll_dirs[@]}"; do
    # Import tables spell names in any case; the files are found case-insensitively.
    local match
    match=$(find "$dir" -maxdepth 1 -iname "$1" -print -quit)
    if [ -n "$match" ]; then
      echo "$match"
      return
    fi
  done
}
queue=$(find "$folder" -iname '*.exe' -o -iname '*.dll')
while [ -n "$queue" ]; do
  next=
  while IFS= read -r binary; do
    while IFS= read -r dll; do
      [ -e "$folder/$dll" ] && continue
      source=$(find_dll "$dll")
      [ -n "$source" ] || continue
      cp "$source" "$folder/"
      next+="$folder/$(basename "$source")"$'\n'
    done < <(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p')
  done <<<"$queue"
  queue=${next%$'\n'}
done

# Debian's mingw-w64 runtime DLLs carry their debug information (libstdc++ is 23 MB with it),
# which a Windows user has no use for.
find "$folder" \( -iname '*.dll' -o -iname '*.exe' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

(cd "$out" && zip -qr "$name.zip" "$name")

# The uninstaller removes exactly the files and folders installed, deepest first.
uninstall_list=$out/uninstall-files.nsh
(cd "$folder" && {
  find . -type f | sed 's|^\./||; s|/|\\|g; s|.*|Delete "$INSTDIR\\&"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|RMDir "$INSTDIR\\&"|'
}) >"$uninstall_list"
makensis -V2 -INPUTCHARSET UTF8 \
  -DVERSION="$version" -DSOURCE="$folder" -DUNINSTALL_LIST="$uninstall_list" \
  -DICON="$root/qml/image/logo.ico" -DOUTFILE="$out/$name-setup.exe" \
  "$root/packaging/windows/gimbal.nsi"

du -b "$out/$name.zip" "$out/$name-setup.exe"
