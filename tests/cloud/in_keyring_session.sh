#!/bin/sh
# Runs a test program on a session bus of its own with a GNOME keyring unlocked on it (with
# --bus-only: the bus alone), in a scratch home, so the keyring of whoever runs the tests is
# never touched. Exits 77 (skipped) when the bus or the keyring daemon is not installed.
set -u
daemon=gnome-keyring-daemon
if [ "${1-}" = --bus-only ]; then
  daemon=
  shift
fi
for tool in dbus-run-session $daemon; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done
home=$(mktemp -d) || exit 1
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
export XDG_RUNTIME_DIR="$home/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
if [ -z "$daemon" ]; then
  dbus-run-session -- "$@"
  exit
fi
# The login keyring is made with a throwaway password and left unlocked for the test.
dbus-run-session -- sh -c 'printf scratch | gnome-keyring-daemon --unlock --components=secrets >/dev/null && "$@"' \
  in-keyring-session "$@"
