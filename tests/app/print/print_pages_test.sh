#!/usr/bin/env bash
# Prints test images through the print job on the Wine prefix's file printer
# (made by scripts/setup.sh), 2 x 1 and 1 x 2 pages with 2 copies, turns the
# PostScript into pages with Ghostscript and checks that together they show
# the whole image centred on the block of pages, each part once.
#   print_pages_test.sh PROBE_EXE OUT_DIR
# OUT_DIR keeps the PostScript and 50 dpi PNG pages for a person to look at.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../../scripts/env.sh
. "$here/../../../scripts/env.sh"
probe=$1
out=$2
mkdir -p "$out"
rm -f "$out"/*.ppm "$out"/*.png "$out"/*.ps "$out"/*.txt

winpath() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }

port=$(wine "$probe" port </dev/null | tr -d '\r')
if [ -z "$port" ] || [ "${port#/}" = "$port" ]; then
  echo "print: the prefix $WINEPREFIX has no file printer (port '$port'); run scripts/setup.sh"
  exit 1
fi
failed=0
# across down dpi: each arrangement as the template list offers it, at a
# resolution that puts a page edge inside an image pixel.
for arrangement in "2 1 70" "1 2 52"; do
  read -r across down dpi <<<"$arrangement"
  name="${across}x${down}"
  rm -f "$port"
  if ! wine "$probe" print "$across" "$down" "$dpi" 2 "$(winpath "$out/$name.txt")" </dev/null; then
    echo "print: FAIL: $name was not printed"; failed=1; continue
  fi
  if [ ! -s "$port" ]; then echo "print: FAIL: $name left no PostScript in $port"; failed=1; continue; fi
  cp "$port" "$out/$name.ps"
  # Wine's PostScript driver passes the copy count to the spooler as a job
  # ticket rather than repeating the pages.
  if ! grep -aq '^%cupsJobTicket: copies=2$' "$out/$name.ps"; then
    echo "print: FAIL: $name does not ask for 2 copies"; failed=1
  fi
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r50 -sOutputFile="$out/$name-page-%d.png" "$out/$name.ps"
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r300 -sOutputFile="$out/$name-page-%d.ppm" "$out/$name.ps"
  pages=()
  for f in $(ls "$out/$name"-page-*.ppm | sort -V); do pages+=("$(winpath "$f")"); done
  if ! wine "$probe" check "$(winpath "$out/$name.txt")" 1 "${pages[@]}" </dev/null; then
    echo "print: FAIL: the pages of $name do not show the image as laid out"; failed=1
  else
    echo "print: ok: $name, ${#pages[@]} pages"
  fi
  rm -f "$out/$name"-page-*.ppm
done
exit $failed
