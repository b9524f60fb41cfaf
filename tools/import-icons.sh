#!/usr/bin/env bash
# Copies the interface's icons from Debian's Breeze Dark icon theme (package
# breeze-icon-theme, LGPL-3+) into qml/Images under the names the QML uses.
# Breeze colours its symbols through a stylesheet class and currentColor; the
# copies get the colour written in, so QtSvg draws them the same everywhere.
# Run it again after changing the table; the result is committed.
set -euo pipefail

theme=/usr/share/icons/breeze-dark
target="$(cd "$(dirname "$0")/.." && pwd)/qml/Images"
colour='#eff0f1'

# our name  breeze name
icons=(
  brush draw-brush
  alpha lighttable
  texture texture
  material draw-circle
  fiber format-segment-curve
  tool shape-cuboid
  light brightness-high
  project project-open
  grid grid-rectangular
  array distribute-horizontal-equal
  spotlight flashlight-on
  renderpreset camera-photo
  keepontop window-keep-above
  minimode zoom-out
  fullmode view-fullscreen
  horizontal view-split-left-right
  vertical view-split-top-bottom
  options application-menu
  library folder-library
  updates update-none
  news view-pim-news
  connected network-connect
  disconnected network-disconnect
  layout view-list-icons
  clear edit-clear-locationbar-rtl
  collapse sidebar-collapse
  expand sidebar-expand
  check checkmark
  settings settings-configure
  support globe
  help help-contents
  about help-about
  add list-add
  remove list-remove
  edit document-edit
  delete edit-delete
  folder document-open-folder
  search edit-find
  back go-previous
  download download
  view view-list-details
  user user-identity
  store amarok_cart_view
  flip-horizontal object-flip-horizontal
  flip-vertical object-flip-vertical
  rotate object-rotate-right
  invert color-mode-invert-image
  alpha-off edit-clear
  brush-alpha draw-watercolor
  reset view-refresh
  lights-off flashlight-off
  ignore view-hidden
  lightcap atmosphere
  bpr preview-render-on
  close window-close
)

# Also drawn dark, as "<name>-dark.svg", for light backgrounds (the white menus).
dark_icons=(settings support help about)
dark_colour='#232629'

if [ ! -d "$theme" ]; then
  echo "import-icons: $theme is missing; apt-get install breeze-icon-theme" >&2
  exit 1
fi
# paint <svg> <target> <colour>: the icon with its symbol colour written in.
paint() {
  python3 - "$(readlink -f "$1")" "$2" "$3" <<'PY'
import re, sys
source, target, text_colour = sys.argv[1:4]
svg = open(source, encoding="utf-8").read()
# Each scheme class keeps its own colour (red crosses stay red); text turns light.
colours = dict(re.findall(r"\.(ColorScheme-[\w-]+)\s*\{\s*color:\s*(#[0-9a-fA-F]{6})", svg))
colours["ColorScheme-Text"] = text_colour
def paint(tag):
    tag = tag.group(0)
    cls = re.search(r'class="([^"]+)"', tag)
    colour = colours.get(cls.group(1), text_colour) if cls else text_colour
    return tag.replace("currentColor", colour)
open(target, "w", encoding="utf-8").write(re.sub(r"<[^>]+>", paint, svg))
PY
}

mkdir -p "$target"
for ((i = 0; i < ${#icons[@]}; i += 2)); do
  ours=${icons[i]}
  theirs=${icons[i + 1]}
  source=$(find "$theme" -path '*/22/*' -name "$theirs.svg" | sort | head -n 1)
  if [ -z "$source" ]; then
    echo "import-icons: no $theirs.svg in $theme" >&2
    exit 1
  fi
  paint "$source" "$target/$ours.svg" "$colour"
  for dark in "${dark_icons[@]}"; do
    if [ "$dark" = "$ours" ]; then
      paint "$source" "$target/$ours-dark.svg" "$dark_colour"
    fi
  done
done
gzip -dc /usr/share/doc/breeze-icon-theme/copyright.gz 2>/dev/null > "$target/BREEZE-COPYRIGHT.txt" \
  || cp /usr/share/doc/breeze-icon-theme/copyright "$target/BREEZE-COPYRIGHT.txt"
cp /usr/share/common-licenses/LGPL-3 "$target/BREEZE-LICENSE-LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$target/BREEZE-LICENSE-GPL-3.txt"
echo "import-icons: $(( ${#icons[@]} / 2 )) icons in $target"
