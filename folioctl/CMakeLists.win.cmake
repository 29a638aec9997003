# Cross build of the HTML view control (included by cmake/winproject).
set(FOLIO_SRC ${REPO_DIR}/folioctl)
set(FOLIO_OUT ${CMAKE_CURRENT_BINARY_DIR}/folioctl)
file(MAKE_DIRECTORY ${FOLIO_OUT})
compile_typelib(${FOLIO_OUT}/folioctl.tlb ${FOLIO_SRC}/folioctl.idl)
add_custom_target(folioctl_tlb DEPENDS ${FOLIO_OUT}/folioctl.tlb)

add_library(folioctl SHARED
  ${FOLIO_SRC}/server.cpp
  ${FOLIO_SRC}/FO_HtmlImpl1.cpp
  ${FOLIO_SRC}/frameviewer.cpp
  ${FOLIO_SRC}/html.cpp
  ${FOLIO_SRC}/folioctl.rc
  ${REPO_DIR}/resources/runtime/exports.def)
add_dependencies(folioctl folioctl_tlb)
target_include_directories(folioctl PRIVATE ${FOLIO_SRC} ${FOLIO_OUT} ${GEN_DIR}/folioctl)
target_link_libraries(folioctl PRIVATE comreg gdi32 user32)
set_target_properties(folioctl PROPERTIES PREFIX "" OUTPUT_NAME folioctl SUFFIX ".ocx")
set_source_files_properties(${FOLIO_SRC}/folioctl.rc PROPERTIES
  OBJECT_DEPENDS "${FOLIO_OUT}/folioctl.tlb;${GEN_DIR}/folioctl/bitmaps.rc")

if(EXISTS ${FOLIO_SRC}/tests/host/CMakeLists.txt)
  add_subdirectory(${FOLIO_SRC}/tests/host ${CMAKE_CURRENT_BINARY_DIR}/host)
endif()
