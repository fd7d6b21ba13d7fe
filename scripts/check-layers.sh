#!/usr/bin/env bash
# Checks the layering of src/: every include names its folder, a folder includes only from the
# folders below it, and the QtCore-only folders include nothing of QtGui or QtWidgets.
# usage: check-layers.sh SOURCE_DIR QT_INCLUDE_DIR...   (the Qt dirs that hold QtGui, QtWidgets)
set -uo pipefail
src=$1/src
shift
qt_dirs=("$@")

# What each folder may include besides itself.
declare -A allowed=(
  [base]=""
  [units]="base"
  [nuclides]="base units"
  [data]="base units nuclides"
  [chooser]="base units nuclides"
  [controls]="base"
  [units/ui]="base units controls"
  [data/ui]="base units nuclides data controls units/ui"
  [chooser/ui]="base units nuclides chooser controls"
  [app]="base units nuclides data chooser controls units/ui data/ui chooser/ui"
)
core_only="base units nuclides data chooser"

problems=0
say() {
  echo "$1"
  problems=$((problems + 1))
}

for folder in "${!allowed[@]}"; do
  for file in "$src/$folder"/*.h "$src/$folder"/*.cpp; do
    [ -e "$file" ] || continue
    rel=${file#"$src/"}
    while IFS= read -r line; do
      number=${line%%:*}
      text=${line#*:}
      if [[ $text =~ \#include\ \"([^\"]+)\" ]]; then
        header=${BASH_REMATCH[1]}
        target=${header%/*}
        if [ "$target" = "$header" ]; then
          say "$rel:$number: \"$header\" does not name its folder"
        elif [ "$target" != "$folder" ] && [[ " ${allowed[$folder]} " != *" $target "* ]]; then
          say "$rel:$number: $folder may not include $header (a layer above it or beside it)"
        fi
      elif [[ $text =~ \#include\ \<(Q[A-Za-z0-9]+)\> ]] && [[ " $core_only " == *" $folder "* ]]; then
        header=${BASH_REMATCH[1]}
        for dir in "${qt_dirs[@]}"; do
          if [ -e "$dir/$header" ]; then
            say "$rel:$number: $folder uses QtCore only, but <$header> is of ${dir##*/}"
          fi
        done
      fi
    done < <(grep -n '#include' "$file")
  done
done

# A folder of src/ that the table above does not know has not been placed in a layer.
while IFS= read -r dir; do
  rel=${dir#"$src/"}
  [ -n "${allowed[$rel]+set}" ] || say "src/$rel: a folder without a layer"
done < <(find "$src" -mindepth 1 -type d)

if [ "$problems" -gt 0 ]; then
  echo "$problems layering problem(s)"
  exit 1
fi
echo "layers hold"
