# Checks of what a player gets: the installed layout, and a start where no X
# display can be reached.
set(KARVOSSA_RELEASE_DIR ${CMAKE_CURRENT_LIST_DIR})

add_test(NAME release.install
         COMMAND bash ${KARVOSSA_RELEASE_DIR}/check-install.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR})
add_test(NAME release.no_display
         COMMAND bash ${KARVOSSA_RELEASE_DIR}/check-no-display.sh $<TARGET_FILE:karvossa>
                 ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/record/seed-game-1.kvr)
add_test(NAME release.command_line
         COMMAND bash ${KARVOSSA_RELEASE_DIR}/check-command-line.sh $<TARGET_FILE:karvossa>)
set_tests_properties(release.install release.no_display PROPERTIES TIMEOUT 60)
set_tests_properties(release.command_line PROPERTIES TIMEOUT 180)

# The pictures in docs/, taken by scripts/screenshots.sh; built with the rest so
# that it keeps compiling, but too slow and too picture-bound for a ctest.
add_executable(karvossa_screenshot_tour ${KARVOSSA_RELEASE_DIR}/ScreenshotTour.cpp)
target_link_libraries(karvossa_screenshot_tour PRIVATE karvossa_test_support X11::X11 X11::Xext
                      X11::Xfixes ZLIB::ZLIB)
karvossa_warnings(karvossa_screenshot_tour)
target_compile_definitions(karvossa_screenshot_tour PRIVATE
  KARVOSSA_BINARY="$<TARGET_FILE:karvossa>")
add_dependencies(karvossa_screenshot_tour karvossa)
