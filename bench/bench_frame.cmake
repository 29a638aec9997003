# The egg game's frame step runs on the play world (play actors, sprite engine, shell state).
target_link_libraries(bench_frame PRIVATE zubroll_play_world)
