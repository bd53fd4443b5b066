#!/usr/bin/env bash
# Regenerates the instruction code table of docs/authoring.md (the lines
# between its two generated-table markers) from `qvxtool script codes
# --markdown`. Usage: scripts/update-docs.sh [PATH/TO/qvxtool]; without an
# argument it takes the first qvxtool found in build*/tools/qvxtool/.
set -euo pipefail
cd "$(dirname "$0")/.."
tool="${1:-}"
if [[ -z "$tool" ]]; then
  for candidate in build*/tools/qvxtool/qvxtool; do
    [[ -x "$candidate" ]] && { tool="$candidate"; break; }
  done
fi
if [[ -z "$tool" || ! -x "$tool" ]]; then
  echo "update-docs: no qvxtool found; build it or name it: $0 PATH/TO/qvxtool" >&2
  exit 1
fi
doc=docs/authoring.md
table="$(mktemp)"
trap 'rm -f "$table" "$table.doc"' EXIT
"$tool" script codes --markdown >"$table"
awk -v table="$table" '
  /^<!-- END GENERATED CODE TABLE -->$/ { inside = 0 }
  !inside { print }
  /^<!-- BEGIN GENERATED CODE TABLE -->$/ {
    inside = 1; found = 1
    while ((getline line < table) > 0) print line
  }
  END { if (!found) { print "update-docs: no table markers in the guide" > "/dev/stderr"; exit 1 } }
' "$doc" >"$table.doc"
cat "$table.doc" >"$doc"
echo "update-docs: $doc now holds the table of $tool"
