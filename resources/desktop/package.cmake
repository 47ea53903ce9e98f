# `make package`: a Debian package of what `make install` installs, built by
# CPack. The dependencies come from the shared libraries the program links
# (dpkg-shlibdeps), plus the Qt plugins it loads at run time, which no
# linker sees. The desktop's caches (MIME database, desktop entries, icon
# theme) are refreshed by the triggers of the packages that own them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorlscope)
set(CPACK_PACKAGE_VERSION ${QRL_VERSION})
set(CPACK_PACKAGE_VENDOR "The ${QRL_APP_NAME} developers")
set(CPACK_PACKAGE_CONTACT "${QRL_APP_NAME} developers <dev@quorlscope.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "depth-of-field tables for photographers")
# Lines of at most 80 characters, as Debian's tools want them; one string
# (set() would join the pieces with semicolons).
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "${QRL_APP_NAME} computes the near and far limits of acceptable sharpness for\n"
    "the apertures from f/1.4 to f/32, for a focal length, a focusing distance and\n"
    "a camera format, and shows them as a table document that can be saved, opened\n"
    "again and printed.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # quorlscope_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Window system and image format (the .icns icons) plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme, shared-mime-info, desktop-file-utils")
if(QRL_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QRL_HOMEPAGE})
endif()
# Packaging builds nothing itself (`make package` builds the program and the
# icons first): a package made while the tests run must not rebuild them.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
include(CPack)
