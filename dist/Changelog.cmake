# The Debian changelog the package carries: one entry, for the project's
# version, written when CMake runs and compressed while building, the way the
# manual page is. Its date is SOURCE_DATE_EPOCH when set, else the time of the
# source's last commit, so that the same source gives the same package bytes.
# The package is native (its packaging lives in the game's own source, and
# its version is the game's), so Debian names the file changelog.gz. CPack
# alone puts it in /usr/share/doc/karvossa; cmake --install leaves it out.
set(KARVOSSA_CHANGELOG ${PROJECT_BINARY_DIR}/changelog.gz)

function(karvossa_changelog_date out)
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
  find_package(Git QUIET)
  if(NOT epoch AND GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  set(saved "$ENV{SOURCE_DATE_EPOCH}")
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
  string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  set(ENV{SOURCE_DATE_EPOCH} "${saved}")
  set(${out} "${date}" PARENT_SCOPE)
endfunction()

karvossa_changelog_date(KARVOSSA_CHANGELOG_DATE)
# The entry must be signed Name <address>. Until the maintainer has an address
# it is signed under .invalid, the top-level domain that can never be real, as
# the AppStream ID is; the Maintainer field itself says there is none yet.
if(KARVOSSA_PACKAGE_MAINTAINER MATCHES "^[^<]+ <[^<>@ ]+@[^<>@ ]+>$")
  set(KARVOSSA_CHANGELOG_SIGNER "${KARVOSSA_PACKAGE_MAINTAINER}")
else()
  set(KARVOSSA_CHANGELOG_SIGNER "Karvossa! developers <maintainer@karvossa.invalid>")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${PROJECT_BINARY_DIR}/dist/changelog @ONLY)
add_custom_command(OUTPUT ${KARVOSSA_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_BINARY_DIR}/dist/changelog ${PROJECT_BINARY_DIR}/changelog
  COMMAND ${KARVOSSA_GZIP} -9 -n -f ${PROJECT_BINARY_DIR}/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/dist/changelog
  COMMENT "Compressing the Debian changelog" VERBATIM)
add_custom_target(karvossa_changelog ALL DEPENDS ${KARVOSSA_CHANGELOG})

# Run by CPack while it stages the package: DESTDIR is the staging tree, and
# the package's prefix (/usr) is CPack's, not the build's install prefix.
set(KARVOSSA_CHANGELOG_INSTALL ${PROJECT_BINARY_DIR}/InstallChangelog.cmake)
file(WRITE ${KARVOSSA_CHANGELOG_INSTALL} "file(INSTALL ${KARVOSSA_CHANGELOG} DESTINATION
  \"\${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/doc/karvossa\")\n")
set(CPACK_INSTALL_SCRIPTS ${KARVOSSA_CHANGELOG_INSTALL})
