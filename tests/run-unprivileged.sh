#!/bin/sh
# Runs a test executable as an unprivileged user, from a copy in a folder that
# user can reach: root ignores file permissions, so read-only cases need this.
# Not root: there is nothing to add, the normal run covers it (skipped, 77).
set -u
exe="$1"
shift
if [ "$(id -u)" -ne 0 ]; then
    exit 77
fi
dir=$(mktemp -d /tmp/varnok-unprivileged.XXXXXX)
cp "$exe" "$dir/"
chmod 755 "$dir" "$dir/$(basename "$exe")"
HOME="$dir" setpriv --reuid=65534 --regid=65534 --clear-groups "$dir/$(basename "$exe")" "$@"
status=$?
rm -rf "$dir"
exit $status
