# The program's expand and overview modes reached through the real global hot keys.
glimmer_add_app_test(app_modes_end_to_end app_modes_end_to_end.sh ${PROJECT_SOURCE_DIR}/artifacts)
# Every way of quitting ends the program within a second while the network hangs.
glimmer_add_app_test(quit_end_to_end quit_end_to_end.sh)
