# The Windows COM deliverables: a separate project cross-compiled with mingw-w64
# (cmake/winproject), whose DLLs land in WIN_DIR; native tests that read the PE
# files; and tests that run the Windows test host under wine inside Xvfb.
include(ExternalProject)

# The repository root, whichever project includes this file.
get_filename_component(FOLIO_REPO ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

set(WIN_GEN_DIR ${CMAKE_BINARY_DIR}/win-gen)
set(WIN_CROSS_DIR ${CMAKE_BINARY_DIR}/win-cross)
set(WIN_LIBRARIES glyphset panelset okwide ok clockset buttonset)

# Native part of the resource libraries: the bitmap generator.
add_subdirectory(${FOLIO_REPO}/resources ${CMAKE_BINARY_DIR}/resources)

set(win_outputs ${WIN_DIR}/folioctl.ocx ${WIN_DIR}/folio_host.exe)
foreach(lib ${WIN_LIBRARIES})
  list(APPEND win_outputs ${WIN_DIR}/${lib}.dll)
endforeach()

ExternalProject_Add(win_cross
  SOURCE_DIR ${FOLIO_REPO}/cmake/winproject
  BINARY_DIR ${WIN_CROSS_DIR}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${FOLIO_REPO}/cmake/mingw-w64-x86_64.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DREPO_DIR=${FOLIO_REPO}
    -DWIN_DIR=${WIN_DIR}
    -DGEN_DIR=${WIN_GEN_DIR}
  BUILD_ALWAYS TRUE
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${win_outputs}
  DEPENDS win_art
  USES_TERMINAL_BUILD TRUE)
# A changed toolchain or cross project file configures the cross build again.
ExternalProject_Add_StepDependencies(win_cross configure
  ${FOLIO_REPO}/cmake/mingw-w64-x86_64.cmake ${FOLIO_REPO}/cmake/winproject/CMakeLists.txt)

add_subdirectory(${FOLIO_REPO}/resources/tests ${CMAKE_BINARY_DIR}/resources/tests)
add_subdirectory(${FOLIO_REPO}/folioctl/tests ${CMAKE_BINARY_DIR}/folioctl/tests)
