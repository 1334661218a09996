# The Debian package (cpack -G DEB, run by scripts/package.sh deb):
# tintgrabber_2.2-1_amd64.deb, installing under /usr. Its dependencies are
# what dpkg-shlibdeps finds the program linked against.
set(CPACK_PACKAGE_NAME tintgrabber)
set(CPACK_PACKAGE_VENDOR "the tintgrabber developers")
set(CPACK_PACKAGE_CONTACT "the tintgrabber developers <info@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reads the colour of any pixel on the screen")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Press in the colour swatch or the magnifier and drag over the screen: the
swatch takes the colour under the pointer, the magnifier shows its
surroundings enlarged, and six fields show the colour as red, green and blue
numbers, as hex triplets and as a POV-Ray colour, each with a copy button.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tintgrabber.example.com/")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Users see two parts of the version; the package's own revision follows.
set(TINTGRABBER_DEB_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
set(CPACK_DEBIAN_PACKAGE_VERSION ${TINTGRABBER_DEB_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (standard buttons, a field's menu) in the user's language,
# which the program loads where installed and no library link reveals.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# What Debian wants beside every package's files: the licence in its
# machine-readable copyright format and the package's changelog, compressed
# without a time stamp.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE TINTGRABBER_LICENSE)
string(REGEX REPLACE "\n\n" "\n.\n" TINTGRABBER_LICENSE "${TINTGRABBER_LICENSE}")
string(REGEX REPLACE "\n([^\n])" "\n \\1" TINTGRABBER_LICENSE "${TINTGRABBER_LICENSE}")
string(REGEX REPLACE "^MIT License\n \\.\n" "" TINTGRABBER_LICENSE "${TINTGRABBER_LICENSE}")
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${TINTGRABBER_LICENSE}")
set(TINTGRABBER_COPYRIGHT "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^ Copyright[^\n]*\n \\.\n" "" TINTGRABBER_LICENSE "${TINTGRABBER_LICENSE}")
string(CONCAT _copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: tintgrabber\n\n"
  "Files: *\nCopyright: ${TINTGRABBER_COPYRIGHT}\nLicense: Expat\n${TINTGRABBER_LICENSE}")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/debian/copyright CONTENT "${_copyright}" @ONLY)
# The changelog's date is the release's, from the AppStream file.
file(READ ${PROJECT_SOURCE_DIR}/resources/com.example.tintgrabber.metainfo.xml _metainfo)
string(REGEX MATCH "<release version=\"[^\"]*\" date=\"([0-9-]+)\"" _ "${_metainfo}")
execute_process(COMMAND date -u -R -d ${CMAKE_MATCH_1}
  OUTPUT_VARIABLE TINTGRABBER_DEB_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
string(CONCAT _changelog
  "tintgrabber (${TINTGRABBER_DEB_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}) bookworm; urgency=medium\n\n"
  "  * Release ${TINTGRABBER_DEB_VERSION}, built with CPack.\n\n"
  " -- ${CPACK_PACKAGE_CONTACT}  ${TINTGRABBER_DEB_DATE}\n")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.Debian CONTENT "${_changelog}" @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
  COMMAND gzip -9nkf ${PROJECT_BINARY_DIR}/debian/changelog.Debian
  DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.Debian)
add_custom_target(debian_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz)
install(FILES ${PROJECT_BINARY_DIR}/debian/copyright
  ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
