# Sprite engine, surface, image list, wave list and frame timer of the egg game.
add_library(zubroll_sprite STATIC
  ${CMAKE_CURRENT_LIST_DIR}/surface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dximage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sprite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxsound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxtimer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxdraw.cpp)
target_include_directories(zubroll_sprite PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(zubroll_sprite PUBLIC zubroll_catalogue platform PkgConfig::FREETYPE)
