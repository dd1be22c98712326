#!/usr/bin/env bash
# The folders are layers (ARCHITECTURE.md): a file includes headers of its own
# folder and of folders below it, never of one above it or beside it; the
# core folders hold no places or sizes of controls.
#   tests/check-layers.sh SOURCE_DIR
set -euo pipefail
cd "$1"

# From the bottom up; folders on one line stand side by side.
layers=(
    "platform"
    "xml"
    "dictionary"
    "document"
    "rules"
    "declaration"
    "desk"
    "widgets"
    "pages lists"
    "report"
    "app cli"
)

declare -A level
for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do level[$folder]=$i; done
done

status=0
for folder in "${!level[@]}"; do
    [ -d "$folder" ] || continue
    while IFS=: read -r file line text; do
        used=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$text")
        [ "$used" = "$folder" ] && continue
        if [ -z "${level[$used]+x}" ]; then
            echo "$file:$line: includes $used/, which is no layer"
            status=1
        elif [ "${level[$used]}" -ge "${level[$folder]}" ]; then
            echo "$file:$line: $folder/ includes $used/, which is not below it"
            status=1
        fi
    done < <(grep -n -H -E '^#include "[a-z]+/' "$folder"/*.h "$folder"/*.cpp 2>/dev/null || true)
done
# The core (everything below widgets/) knows nothing of the screen: it links
# Qt Core only, and holds no positions or sizes either.
for folder in platform xml dictionary document rules declaration desk; do
    [ -d "$folder" ] || continue
    if grep -n -H -E '^#include <Q(Rect|RectF|Point|PointF|Size|SizeF|Margins)>' "$folder"/*.h "$folder"/*.cpp 2>/dev/null; then
        echo "  ^ $folder/ is core: places and sizes belong to the window side"
        status=1
    fi
done
[ $status -eq 0 ] && echo "every include goes down the layers"
exit $status
