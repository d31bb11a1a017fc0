#!/bin/sh
# Gives the Wine prefix in $WINEPREFIX Wine's own fonts (Debian's
# fonts-wine): Marlett, which draws the title bars' buttons, and the faces
# "MS Sans Serif" and "Courier" that the windows ask for. Debian's Wine does
# not load them from where the package puts them, only from the prefix's
# Fonts folder, so they are copied there. Does nothing when they are there.
set -e
fonts="$WINEPREFIX/drive_c/windows/Fonts"
[ -f "$fonts/marlett.ttf" ] && exit 0
mkdir -p "$fonts"
cp /usr/share/wine/fonts/* "$fonts/"
