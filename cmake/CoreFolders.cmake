# The folders whose targets need neither Qt nor libcurl, in dependency order; the rest of
# the program is built where those libraries are (see docs/windows.md).
set(brevane_folders src/xml src/project src/service src/platform src/zel4)
if(BREVANE_TESTS)
    list(APPEND brevane_folders tests/support tests/xml tests/project tests/service tests/platform
         tests/zel4 tests/codepage)
endif()
