#!/usr/bin/env bash
# Checks that every C++ source of the project is written as .clang-format writes it, and names
# each file that is not (clang-format -i FILE mends one).
# usage: check-format.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
if ! command -v clang-format > /dev/null; then
  echo "clang-format is not installed (scripts/deps.sh installs it)"
  exit 77
fi
different=0
while IFS= read -r file; do
  if ! clang-format --dry-run --Werror "$file" > /dev/null 2>&1; then
    echo "$file differs from .clang-format"
    different=$((different + 1))
  fi
done < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tools tests bench fuzz -name '*.cpp' -o -name '*.h')
[ "$different" -eq 0 ] || { echo "$different file(s) to format"; exit 1; }
