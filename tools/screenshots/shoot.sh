#!/usr/bin/env bash
# Runs the screenshot program under a virtual X server with a window manager.
# Usage: shoot.sh <program> <output folder> [part of a screen name]
set -euo pipefail
program=$(readlink -f "$1")
output=$2
only=${3:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch XDG_RUNTIME_DIR=$scratch/runtime XDG_CONFIG_HOME=$scratch/config \
  XDG_CACHE_HOME=$scratch/cache XDG_DATA_HOME=$scratch/data QT_QUICK_BACKEND=software
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
rm -rf "$output" && mkdir -p "$output"
xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  "$0" "$1" "$2"
  status=$?
  kill $wm 2>/dev/null || true
  exit $status' "$program" "$output" "$only"
