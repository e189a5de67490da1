# The Debian package: `cpack -G DEB` in a build folder makes zolbin-sender_2.0.1_<arch>.deb from what
# `cmake --install` puts in place, installed under /usr.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "zolbin-sender")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Zolbin Team")
set(CPACK_PACKAGE_CONTACT "Zolbin Team <team@zolbin.local>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "send short messages to pagers over SNPP or e-mail gateways")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "net")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The long description; CPack puts the summary above it and indents it for the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Zolbin Sender is a desktop program with which an operator types a short
message and sends it to the pager of one subscriber, of every member of a
group, or of a pager number that is not in the directory. Each page goes to
the subscriber's paging company over SNPP (RFC 1861) or as an e-mail through
the operator's SMTP server to the company's mail-to-pager gateway, with
optional deferred delivery and repeats. It keeps a directory of subscribers,
groups and companies, a journal of every protocol step and an archive of the
pages sent. Its interface is in Russian.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The libraries the executables link come from dpkg-shlibdeps (package dpkg-dev). What it cannot see is
# named here: fonts with Cyrillic glyphs, without which every Russian text shows as boxes. The Qt
# platform plugins for X11 come with libqt6gui6, which the executables link; the native Wayland plugin is
# recommended.
find_program(DPKG_SHLIBDEPS_PROGRAM dpkg-shlibdeps)
if(DPKG_SHLIBDEPS_PROGRAM)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  message(STATUS "dpkg-shlibdeps not found (package dpkg-dev): the .deb names its Qt libraries by hand")
  set(ZOLBIN_DEB_LIBRARY_DEPENDS "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), ")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "${ZOLBIN_DEB_LIBRARY_DEPENDS}libqt6svg6 (>= 6.4), fonts-dejavu-core | fonts-liberation2 | fonts-noto-core | fonts-freefont-ttf")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
