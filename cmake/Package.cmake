# `cpack -G DEB` in the build folder: a Debian package of what `cmake --install` puts in place (the
# program, its desktop entry, icon and AppStream metainfo), installed under /usr. dpkg-shlibdeps
# works out the libraries it depends on; what is loaded at run time is named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glimmerbox)
set(CPACK_PACKAGE_VENDOR Glimmerbox)
set(CPACK_PACKAGE_CONTACT "Glimmerbox <hello@glimmerbox.io>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Floating card with China A-share quotes and charts")
set(CPACK_PACKAGE_DESCRIPTION
  "A small card on the desktop with the quotes, intraday chart, money flow and daily candles of the\n"
  "securities you watch on the Shanghai and Shenzhen exchanges, with alerts, a tray icon and global\n"
  "hot keys.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://glimmerbox.io)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window-system plugins at run time, so no library lists them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Wayland sessions without XWayland, the decoders for custom alert sounds, Chinese glyphs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-noto-cjk")
include(CPack)
