# A Debian package of whatever the install rules put, for prefix /usr:
#   cmake --preset package && cmake --build --preset package   (or cpack -G DEB in a build)
# makes build-deb/numora_<version>_<arch>.deb. Its Depends are dpkg-shlibdeps' reading of the
# program plus the pieces Qt loads at run time, which no ELF header names.
set(numora_maintainer "The Numora developers <dev@numora.invalid>")

# Where Debian's rules differ from a plain install's (the games folder, the licence and
# changelog files), CPack's staging folder is adjusted before it is packed.
string(TIMESTAMP numora_package_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(NUMORA_MAINTAINER ${numora_maintainer})
set(NUMORA_PACKAGE_DATE ${numora_package_date})
set(numora_deb_docs ${CMAKE_CURRENT_BINARY_DIR}/deb-docs)
configure_file(changelog.in ${numora_deb_docs}/changelog @ONLY)
configure_file(copyright ${numora_deb_docs}/copyright COPYONLY)
configure_file(debian-stage.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/debian-stage.cmake @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_BINARY_DIR}/debian-stage.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME numora)
set(CPACK_PACKAGE_VENDOR "The Numora developers")
set(CPACK_PACKAGE_CONTACT ${numora_maintainer})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program needs at run time out of dpkg-shlibdeps' sight: the Wayland platform
# plugin Qt loads by name (the X11 one comes with libqt6gui6). Sound needs nothing more:
# the module's QAudioSink plays through the PulseAudio client inside libQt6Multimedia,
# which dpkg-shlibdeps reads off the module. The program's own texts use the font it
# carries; a full CJK font is only recommended, for players' names beyond those texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-arphic-uming")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mental arithmetic game for young children")
# CPack puts the summary before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Numora helps young children get fast at mental arithmetic. A pair of cells
falls down the board, each showing a sum such as 3+4; the child steers it
with the arrow keys. On landing each cell turns into its result, equal
results in line with it vanish, the cells above drop, and cascades score
more.

There are five modes (a demonstration, addition and subtraction within 10
and within 20), three speeds, a little figure that changes as the score
grows, and a top-ten list for every mode. Every text of the game is in
Simplified Chinese.")
include(CPack)
