# The AppStream metainfo, written from dist/karvossa.metainfo.xml.in.
#
# An AppStream ID is the reverse of a domain the project owns, and the project
# has none yet: the ID stands under .invalid, the top-level domain reserved for
# names that can never be real, until it has one.
set(KARVOSSA_APPSTREAM_ID invalid.karvossa.karvossa)
set(KARVOSSA_METAINFO_NAME ${KARVOSSA_APPSTREAM_ID}.metainfo.xml)
set(KARVOSSA_METAINFO_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/karvossa.metainfo.xml.in)

# Writes the metainfo to OUTPUT. Software centres take screenshots only from a
# web address: with SCREENSHOT_URL, the public folder holding the README's
# pictures, they are listed; without, they stay in a comment.
function(karvossa_metainfo output screenshot_url)
  string(REGEX REPLACE "/+$" "" KARVOSSA_SCREENSHOT_FOLDER "${screenshot_url}")
  if(KARVOSSA_SCREENSHOT_FOLDER)
    set(KARVOSSA_SCREENSHOTS_BEGIN "")
    set(KARVOSSA_SCREENSHOTS_END "")
  else()
    set(KARVOSSA_SCREENSHOT_FOLDER "KARVOSSA_SCREENSHOT_URL")
    set(KARVOSSA_SCREENSHOTS_BEGIN
        "<!-- Listed when CMake's KARVOSSA_SCREENSHOT_URL names their public folder:")
    set(KARVOSSA_SCREENSHOTS_END "-->")
  endif()
  configure_file(${KARVOSSA_METAINFO_TEMPLATE} ${output} @ONLY)
endfunction()

# cmake -DOUTPUT=FILE [-DSCREENSHOT_URL=URL] -P dist/Metainfo.cmake writes one
# without a build.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  karvossa_metainfo("${OUTPUT}" "${SCREENSHOT_URL}")
endif()
