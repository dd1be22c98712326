#!/bin/sh
# The program as a Linux screen reader sees it: started on a virtual display
# (Xvfb) with a session bus of its own and the AT-SPI registry on it, its
# accessibility tree read by tests/atspi-tree.py through pyatspi, as Orca
# reads it. Skipped (77) only where those tools are not installed;
# scripts/install-deps.sh installs them.
#   tests/check-atspi.sh PROGRAM
program=$1
here=$(cd "$(dirname "$0")" && pwd)
launcher=
for l in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$l" ] && launcher=$l && break
done
missing=
command -v xvfb-run >/dev/null || missing="$missing xvfb-run (xvfb)"
command -v dbus-run-session >/dev/null || missing="$missing dbus-run-session (dbus-daemon)"
[ -n "$launcher" ] || missing="$missing at-spi-bus-launcher (at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing="$missing pyatspi (python3-pyatspi)"
if [ -n "$missing" ]; then
    echo "not installed:$missing"
    exit 77
fi
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime" XDG_DATA_HOME="$runtime/data" XDG_CONFIG_HOME="$runtime/config"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 LC_ALL=C.UTF-8
unset QT_SCALE_FACTOR QT_STYLE_OVERRIDE QT_QPA_PLATFORMTHEME
cd "$runtime" || exit 1
xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- sh -c '
    "$1" --launch-immediately & bus=$!
    "$2" & program=$!
    timeout 240 /usr/bin/python3 "$3/atspi-tree.py"
    status=$?
    kill $program $bus 2>/dev/null
    exit $status' sh "$launcher" "$program" "$here" >"$runtime/log" 2>&1
status=$?
# Without the bus daemon's own chatter.
grep -v -e '^dbus-daemon\[' -e 'SpiRegistry daemon' "$runtime/log"
exit $status
