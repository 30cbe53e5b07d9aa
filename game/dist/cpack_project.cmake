# Read by cpack before it packs: CPack's DEB generator looks for dpkg-shlibdeps only when
# SHLIBDEPS_EXECUTABLE is not set yet, so this puts our wrapper in its place.
if(CPACK_GENERATOR STREQUAL "DEB" AND CPACK_PIMWARDEN_SHLIBDEPS)
  set(SHLIBDEPS_EXECUTABLE "${CPACK_PIMWARDEN_SHLIBDEPS}")
endif()
