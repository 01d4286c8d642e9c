# Where an install puts things. The widget plugin goes to <libdir>/dayvane/, and libdir is lib/<multiarch>
# on Debian whatever the prefix (GNUInstallDirs picks it only for /usr), so the host's path from bin/ to its
# plugin is one and the same for `make install`, the package and any --prefix given to `cmake --install`.
# A plain "lib" is GNUInstallDirs' own choice for other prefixes (Qt's packages include it too), not the user's.
if(CMAKE_LIBRARY_ARCHITECTURE AND (NOT DEFINED CACHE{CMAKE_INSTALL_LIBDIR} OR CMAKE_INSTALL_LIBDIR STREQUAL "lib"))
  set(CMAKE_INSTALL_LIBDIR "lib/${CMAKE_LIBRARY_ARCHITECTURE}" CACHE PATH "Object code libraries (LIBDIR)" FORCE)
endif()
include(GNUInstallDirs)

set(DAYVANE_PLUGIN_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/dayvane")
# The plugin folder seen from the host's own folder, as the host looks for it at run time.
set(plugin_dir "${CMAKE_INSTALL_FULL_LIBDIR}/dayvane")
cmake_path(RELATIVE_PATH plugin_dir BASE_DIRECTORY "${CMAKE_INSTALL_FULL_BINDIR}"
  OUTPUT_VARIABLE DAYVANE_PLUGIN_DIR_FROM_BINDIR)
