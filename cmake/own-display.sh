#!/bin/sh
# Runs one test program on an X server of its own: a fresh Xvfb with its own
# authorisation cookie, stopped when the program ends. Tests that move the
# keyboard focus, raise windows or send key events then cannot steal them from
# each other, however many run side by side.
# Usage: own-display.sh <program> [arguments...]
set -u

dir=$(mktemp -d "${TMPDIR:-/tmp}/kivara-x.XXXXXX") || exit 1
auth=$dir/Xauthority
server=
child=

cleanup() {
    [ -n "$child" ] && kill "$child" 2>/dev/null
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null
        wait "$server" 2>/dev/null
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
# A timeout or an interrupt ends the test and the server, not only this shell.
trap 'exit 143' TERM
trap 'exit 130' INT
trap 'exit 129' HUP

cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
# The server accepts every cookie of its file whatever display it names; the
# number is only known once the server runs, so the client entry comes after.
: >"$auth"
xauth -q -f "$auth" add :0 . "$cookie" || exit 1

# -displayfd lets the server take the first free number and tells it once it
# accepts connections, so parallel tests never race for a number.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -auth "$auth" \
    3>"$dir/display" </dev/null >"$dir/server.log" 2>&1 &
server=$!

waited=0
number=
while :; do
    # The number arrives with its newline in one write.
    if [ "$(wc -l <"$dir/display")" -ge 1 ]; then
        number=$(head -n 1 "$dir/display")
        break
    fi
    if ! kill -0 "$server" 2>/dev/null; then
        echo "own-display: Xvfb did not start:"; cat "$dir/server.log"; exit 1
    fi
    # A loaded machine can take a while; a minute means something is wrong.
    if [ "$waited" -ge 600 ]; then
        echo "own-display: Xvfb gave no display number within 60 s"; exit 1
    fi
    sleep 0.1
    waited=$((waited + 1))
done

xauth -q -f "$auth" add ":$number" . "$cookie" || exit 1
DISPLAY=:$number
XAUTHORITY=$auth
export DISPLAY XAUTHORITY

"$@" &
child=$!
wait "$child"
status=$?
child=
exit $status
