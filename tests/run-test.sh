#!/usr/bin/env bash
# Runs one test with a private home, XDG folders and runtime dir, so tests never
# touch the user's files or each other's. Tests named *_dbus get a session bus,
# tests named *_x11 a real X server, every other test the offscreen platform,
# whatever the caller's shell holds.
set -u
test_bin="$1"; shift
scratch=$(mktemp -d "${TMPDIR:-/tmp}/quon-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config" "$scratch/cache" "$scratch/data" "$scratch/state" "$scratch/runtime"
chmod 700 "$scratch/runtime"
export HOME="$scratch/home"
export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export XDG_DATA_HOME="$scratch/data" XDG_STATE_HOME="$scratch/state"
export XDG_RUNTIME_DIR="$scratch/runtime"
export QT_QPA_PLATFORM=offscreen
# A desktop's look and scale would change what the tests measure.
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI
export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_LOGGING_RULES="qt.qml.compiler=false;qt.qpa.*=false"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset DBUS_SESSION_BUS_ADDRESS
case "$(basename "$test_bin")" in
  *_x11) QT_QPA_PLATFORM=xcb xvfb-run -a "$test_bin" "$@" ;;
  *_dbus) dbus-run-session -- "$test_bin" "$@" ;;
  *) "$test_bin" "$@" ;;
esac
