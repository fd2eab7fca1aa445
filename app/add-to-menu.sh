#!/bin/sh
# Adds Velmira from this folder to the desktop's application menu, for the
# current user. Run it again after moving the folder.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}

mkdir -p "$data/applications"
sed "s|^Exec=.*|Exec=\"$here/bin/velmira\"|" "$here/share/applications/velmira.desktop" \
    > "$data/applications/velmira.desktop"
for dir in "$here"/share/icons/hicolor/*/apps; do
    size=$(basename "$(dirname "$dir")")
    mkdir -p "$data/icons/hicolor/$size/apps"
    cp "$dir"/velmira.* "$data/icons/hicolor/$size/apps/"
done
command -v update-desktop-database >/dev/null 2>&1 && update-desktop-database "$data/applications" || true
echo "Velmira is in the menu (under Audio). It runs from $here/bin/velmira."
