#!/bin/sh
# dpkg-shlibdeps for CPack, with the dependency on the classic SDL 1.2 library widened to accept
# the SDL 1.2 compatibility layer over SDL 2 as well: its libsdl1.2-compat-shim provides
# "libsdl1.2debian (= 1.2.15-1)", a version older than the classic library's own shlibs entry
# (>= 1.2.15+dfsg2), so the plain dependency would refuse it.
set -e
out=$(dpkg-shlibdeps "$@")
printf '%s\n' "$out" | sed -E 's/(libsdl1\.2debian( \([^)]*\))?)/\1 | libsdl1.2-compat-shim/'
