#!/bin/bash
# Runs a command inside its own Xvfb server (24-bit 1024x768 screen) and returns its exit code.
#   scripts/with-xvfb.sh CMD [ARGS...]
# The server picks a free display itself (-displayfd), so parallel runs never race for one, and
# -noreset keeps it from resetting between clients (which makes about 4 % of reconnects fail).
#
# AddressSanitizer builds: Mesa's software driver is dlclosed before LeakSanitizer runs, which
# leaves its leaks unsymbolised and impossible to suppress by name (scripts/lsan.supp). So when
# the command is ASan-instrumented (or LUMO_ASAN=1 is set), the driver is preloaded to keep it
# mapped until exit.
set -u
[ $# -ge 1 ] || { echo "usage: $0 CMD [ARGS...]" >&2; exit 2; }

asan_instrumented() {
  [ "${LUMO_ASAN:-0}" = 1 ] && return 0
  local exe
  exe=$(command -v "$1" 2>/dev/null) || return 1
  [ -f "$exe" ] && grep -qa __asan_init "$exe"
}
command_env=()
if asan_instrumented "$1"; then
  for dri in /usr/lib/*/dri/swrast_dri.so; do
    [ -f "$dri" ] || continue
    # The preload puts the driver ahead of the ASan runtime in the library order, which ASan
    # accepts only with verify_asan_link_order=0.
    command_env=("LD_PRELOAD=${LD_PRELOAD:+$LD_PRELOAD:}$dri"
                 "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0")
    break
  done
fi

tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xpid=$!
alive() { local s; s=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) && [ "$s" != Z ]; }
cleanup() {
  kill "$xpid" 2>/dev/null
  for _ in $(seq 30); do alive "$xpid" || break; sleep 0.1; done
  alive "$xpid" && kill -9 "$xpid" 2>/dev/null
  wait "$xpid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP
for _ in $(seq 200); do [ -s "$tmp/display" ] && break; sleep 0.05; done
[ -s "$tmp/display" ] || { echo "Xvfb did not start:" >&2; cat "$tmp/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -1 "$tmp/display")"
unset XAUTHORITY
# The preload is for the command only, not for Xvfb.
env "${command_env[@]}" "$@" &
wait $!
