#!/usr/bin/env bash
# Builds the Windows installer and runs it silently under Wine as a line
# engineer's deployment would: the station folder must land under Program
# Files with a Start-menu entry and an uninstaller, the installed tpfw.exe
# must open its real window (with nothing on the DLL search path but its
# folder) and close with status 0, and the uninstaller must take it all away
# but the station's settings, installed without keys in ProgramData.
# usage: nsis_installer.sh BUILD_DIR WINE_RUN
set -euo pipefail
build=$(cd "$1" && pwd)
wine_run=$2
prefix=${WINEPREFIX:-$(cd "$(dirname "$wine_run")/.." && pwd)/build-win/wineprefix}
(cd "$build" && cpack -G NSIS >/dev/null)
installer=$(ls "$build"/tpfw-*-win64.exe)
folder="$prefix/drive_c/Program Files/tpfw"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/TP Firmware Update"
settings="$prefix/drive_c/ProgramData/tpfw"
rm -rf "$folder" "$menu" "$settings"

"$wine_run" "$installer" /S
for file in tpfw.exe tpfw-run.exe tpfw-release.exe tpfw-history.exe Uninstall.exe Qt5Core.dll platforms/qwindows.dll README-station.txt; do
  [ -f "$folder/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
[ -d "$folder/FwBinFiles" ] && [ -z "$(ls -A "$folder/FwBinFiles")" ]
[ -f "$menu/TP Firmware Update.lnk" ]
cmp "$settings/station.ini" "$(dirname "$0")/../deploy/station.ini"
echo "$(basename "$installer") installed the station folder under Program Files, with a Start-menu entry"

# Windows opened next go to the display of the Wine session they find: let
# the headless installer's session end first.
WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -w
# The installed settings, not the test's.
unset TPFW_STATION_SETTINGS
export FOLDER=$folder WINE_RUN=$wine_run WINEQT_QPA_PLATFORM=windows WINEPATH= HELPERS=$(dirname "$0")/x11_helpers.sh
"$(dirname "$0")/x11_session.sh" 640x480x24 bash -euo pipefail -c '
  . "$HELPERS"
  status=0
  open_and_close "$WINE_RUN" "$FOLDER/tpfw.exe" || status=$?
  echo "the installed tpfw.exe opened its window and closed with status $status"
  exit $status
'

# The uninstaller finishes in a copy of itself: wait for it.
"$wine_run" "$folder/Uninstall.exe" /S
for _ in $(seq 300); do
  [ -e "$folder" ] || [ -e "$menu" ] || break
  sleep 0.1
done
[ ! -e "$folder" ] && [ ! -e "$menu" ] || { echo "left behind:" >&2; find "$folder" "$menu" >&2; exit 1; }
[ -f "$settings/station.ini" ] || { echo "the uninstaller removed the station's settings" >&2; exit 1; }
echo "the uninstaller removed the folder and the Start-menu entry, and kept the station's settings"
