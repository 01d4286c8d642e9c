# Build settings shared by every target of our own.

if(DAYVANE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Warnings are errors in our own code; Qt and ICU headers come in as system headers.
function(dayvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# A static library of ours: dayvane_library(NAME SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# Its users include its headers qualified by the module folder (<TovikKit/TovikFonts.h>); its own sources
# include each other plainly.
function(dayvane_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  cmake_path(GET CMAKE_CURRENT_SOURCE_DIR PARENT_PATH module_root)
  target_include_directories(${name} PUBLIC ${module_root} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  dayvane_warnings(${name})
endfunction()

# One GoogleTest program per unit, each a ctest case with the environment pinned:
# dayvane_test(NAME [GUI] SOURCES ... LIBS ... [LABELS unit|gui|integration])
# GUI programs get a QApplication on the offscreen platform and Beijing time before the tests run. The runtime
# folder sits close to the build root: a socket's path must fit in 107 bytes, however deep the checkout.
function(dayvane_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/Support)
  if(ARG_GUI)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/Support/GuiTestMain.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Widgets Qt6::Test GTest::gtest Threads::Threads)
    if(NOT ARG_LABELS)
      set(ARG_LABELS gui)
    endif()
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  endif()
  dayvane_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  # A runtime folder exists before login and is its user's alone.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/run/${name})
  file(CHMOD ${CMAKE_BINARY_DIR}/run/${name} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set_tests_properties(${name} PROPERTIES
    LABELS "${ARG_LABELS}"
    TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QUICK_BACKEND=software;LC_ALL=C.UTF-8;QT_FONT_DPI=96;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}.config;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/run/${name};XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}.data;XDG_DATA_DIRS=${CMAKE_CURRENT_BINARY_DIR}/${name}.data-dirs")
endfunction()
