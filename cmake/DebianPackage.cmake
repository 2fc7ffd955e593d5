# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of the program: `cpack -G DEB` in a built tree makes
# zephalonte_<version>_<architecture>.deb of everything the install rules put
# under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zephalonte)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zephalonte developers")
set(CPACK_PACKAGE_CONTACT "Zephalonte developers <developers@zephalonte.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "diet and exercise journal with a graph and an advisor")
# Lines of the long description; CPack indents them for the control file.
set(CPACK_PACKAGE_DESCRIPTION
  "Zephalonte is a personal diet and exercise journal for one person at a\n"
  "desktop computer. Each day holds body weight, body-fat percentage, the\n"
  "distance and time of jogging and of walking, and a memo. One window shows\n"
  "the day's entry form, a list of every entry, a printable graph of the\n"
  "recent weeks or months, and a cartoon seal that comments on the day.\n"
  "The companion command zeph records and shows the same journal from a\n"
  "terminal and moves days to and from CSV files. The texts are Japanese.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The panes are drawn with the IPA faces in place of the MS fonts they ask
# for; without them fixed-pitch columns misalign. The help is a CHM file
# opened through xdg-open; Qt's own dialogs speak Japanese with its
# translations.
# libzip is opened only at the first archive, so the package's shared-library
# scan does not see it: its package (libzipN for libzip.so.N) is named here.
string(REGEX REPLACE "^libzip\\.so\\.([0-9]+)$" "libzip\\1" ZPH_LIBZIP_PACKAGE "${ZPH_LIBZIP_SONAME}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, ${ZPH_LIBZIP_PACKAGE}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xchm, xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Directories as Debian has them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
