# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in a build folder makes zolbin-sender_2.0.1_<arch>.deb from what
# `cmake --install` puts in place, installed under /usr.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "zolbin-sender")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Zolbin Team")
# The maintainer's address is a placeholder in the reserved domain "example": put the real one here (and
# in packaging/debian/changelog) before the package is published.
set(CPACK_PACKAGE_CONTACT "Zolbin Team <team@zolbin.example>")
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

# Debian's documentation of the package: the licence in the machine-readable copyright format and the
# package's changelog, compressed as Debian keeps it (gzip -9 -n, so the same sources give the same
# bytes). The package is native (its version has no Debian revision), so the changelog is changelog.gz.
# The changelog's newest entry must be this version, or the package would describe another release.
set(ZOLBIN_DEB_CHANGELOG ${CMAKE_SOURCE_DIR}/packaging/debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZOLBIN_DEB_CHANGELOG})
file(READ ${ZOLBIN_DEB_CHANGELOG} ZOLBIN_DEB_CHANGELOG_TOP LIMIT 200)
string(REGEX MATCH "^[^\n]*" ZOLBIN_DEB_CHANGELOG_TOP "${ZOLBIN_DEB_CHANGELOG_TOP}")
string(REPLACE "." "\\." ZOLBIN_VERSION_PATTERN "${PROJECT_VERSION}")
if(NOT "${ZOLBIN_DEB_CHANGELOG_TOP}" MATCHES "^${CPACK_PACKAGE_NAME} \\(${ZOLBIN_VERSION_PATTERN}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog begins with \"${ZOLBIN_DEB_CHANGELOG_TOP}\": "
    "its newest entry must be for ${CPACK_PACKAGE_NAME} ${PROJECT_VERSION}")
endif()
find_program(GZIP_PROGRAM gzip REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
execute_process(COMMAND ${GZIP_PROGRAM} -9 -n -c ${ZOLBIN_DEB_CHANGELOG}
  OUTPUT_FILE ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  RESULT_VARIABLE gzip_result)
if(NOT gzip_result EQUAL 0)
  message(FATAL_ERROR "gzip failed on packaging/debian/changelog")
endif()
install(FILES packaging/debian/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})

# The libraries the executables link come from dpkg-shlibdeps (package dpkg-dev). What it cannot see is
# named here: fonts with Cyrillic glyphs, without which every Russian text shows as boxes, and Qt's
# own Russian texts (the standard buttons, the editors' menus, the file chooser). The Qt
# platform plugins for X11 come with libqt6gui6, which the executables link; the native Wayland plugin is
# recommended.
find_program(DPKG_SHLIBDEPS_PROGRAM dpkg-shlibdeps)
if(DPKG_SHLIBDEPS_PROGRAM)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  message(STATUS "dpkg-shlibdeps not found (package dpkg-dev): the .deb names its Qt libraries by hand")
  set(ZOLBIN_DEB_LIBRARY_DEPENDS "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libqt6keychain1, ")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "${ZOLBIN_DEB_LIBRARY_DEPENDS}libqt6svg6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), libqt6sql6-psql (>= 6.4), libqt6httpserver6 (>= 6.4), qt6-translations-l10n, fonts-dejavu-core | fonts-liberation2 | fonts-noto-core | fonts-freefont-ttf")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
