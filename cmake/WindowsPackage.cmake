# The installer (scripts/package.sh windows): a Start-menu entry and an
# uninstaller that removes the program and its uninstall key, and leaves
# the user's settings (HKCU\Software\Tintgrabber) alone. Debian's makensis
# makes 32-bit installers unless told otherwise.
set(CPACK_GENERATOR NSIS)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME tintgrabber)
set(CPACK_PACKAGE_VENDOR "Tintgrabber developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
set(CPACK_PACKAGE_FILE_NAME tintgrabber-${CPACK_PACKAGE_VERSION}-setup-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tintgrabber)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tintgrabber)
set(CPACK_PACKAGE_EXECUTABLES tintgrabber Tintgrabber)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME tintgrabber.exe)
set(CPACK_NSIS_DISPLAY_NAME Tintgrabber)
set(CPACK_NSIS_PACKAGE_NAME Tintgrabber)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/pictures/tintgrabber.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/pictures/tintgrabber.ico)
set(CPACK_NSIS_EXECUTABLE ${PROJECT_SOURCE_DIR}/scripts/windows/makensis-amd64)
