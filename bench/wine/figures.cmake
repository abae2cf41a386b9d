# Figures of the Windows layer: programs that measure and print, run by scripts/figures.sh
# (not tests). Each links the Windows layer and the program's resources, as the tests do.
add_executable(jotwell_list_figures ${CMAKE_SOURCE_DIR}/bench/wine/large_list_figures.cpp ${JOTWELL_RC})
target_link_libraries(jotwell_list_figures PRIVATE jotwell_win)
target_link_options(jotwell_list_figures PRIVATE ${JOTWELL_STATIC})
add_executable(jotwell_drop_step_figures ${CMAKE_SOURCE_DIR}/bench/wine/drop_step_figures.cpp ${JOTWELL_RC})
target_link_libraries(jotwell_drop_step_figures PRIVATE jotwell_win)
target_link_options(jotwell_drop_step_figures PRIVATE ${JOTWELL_STATIC})
