# GoogleTest: the installed package, or, where none is built for the target (mingw-w64),
# Debian's sources of the same version compiled with the project.
set(brevane_googletest_sources /usr/src/googletest)
if(CMAKE_CROSSCOMPILING AND EXISTS ${brevane_googletest_sources}/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${brevane_googletest_sources} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    find_package(GTest REQUIRED)
endif()
