#!/usr/bin/env bash
# Installs what is needed, builds, creates a demo home when there is none, and starts the GUI.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh

home=${CANGSHU_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/cangshu}
if [ ! -f "$home/set_ini/init_ini.ini" ]; then
  echo "Creating a demo library in $home"
  ./build/src/app/cangshu-admin --home "$home" init --demo
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under xvfb-run (a virtual screen)."
  exec xvfb-run -a ./build/src/app/cangshu --home "$home" "$@"
fi
exec ./build/src/app/cangshu --home "$home" "$@"
