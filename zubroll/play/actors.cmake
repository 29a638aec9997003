# The play actors: field, eggs, chicks, the pig ball, the mole, score and bonuses,
# the demo player, and the stand-in frame loop that tests and benchmarks drive.
set(ZUBROLL_ACTOR_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Field.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Egg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Piyo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Devadiv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZubZub.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Guide.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Point.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Score.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Autoplay.cpp)
if(TARGET zubroll_play)
  target_sources(zubroll_play PRIVATE ${ZUBROLL_ACTOR_SOURCES})
else()
  add_library(zubroll_play STATIC ${ZUBROLL_ACTOR_SOURCES})
endif()
target_include_directories(zubroll_play PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(zubroll_play PUBLIC zubroll_shell zubroll_sprite platform)

add_library(zubroll_play_world STATIC ${CMAKE_CURRENT_LIST_DIR}/PlayWorld.cpp)
target_link_libraries(zubroll_play_world PUBLIC zubroll_play)
