# What an installed Keyvet carries beyond its programs (help page, man pages, icons, AppStream
# metainfo) and the Debian package CPack builds from it (scripts/package).
include(GNUInstallDirs)
set(KEYVET_HOMEPAGE "https://keyvet.org" CACHE STRING "The project's home page, named in the metainfo")
set(assets ${PROJECT_SOURCE_DIR}/assets)

# The help page: Help opens it from the current folder, else from here.
install(FILES ${assets}/help.htm DESTINATION ${CMAKE_INSTALL_DOCDIR})
# A recorded keying to try keyvet-replay on.
install(FILES ${assets}/demo.keying DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/docs/screenshot.png DESTINATION ${CMAKE_INSTALL_DATADIR}/keyvet)

# Man pages, compressed as the distribution ships them (no time stamp, so builds repeat).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(man_pages keyvet keyvet-replay keyvet-gallery)
set(compressed)
foreach(page ${man_pages})
  set(out ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${GZIP_PROGRAM} -9n -c ${PROJECT_SOURCE_DIR}/docs/man/${page}.1 > ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}.1
    COMMENT "Compressing the man page ${page}(1)")
  list(APPEND compressed ${out})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${compressed})
install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The icon in every size of the desktop's icon theme.
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${assets}/icons/${size}x${size}/keyvet.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

configure_file(${assets}/org.keyvet.Keyvet.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/org.keyvet.Keyvet.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/org.keyvet.Keyvet.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian's copyright file sits beside the help page.
install(FILES ${assets}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: keyvet_<version>_amd64.deb, its dependencies computed from the binaries
# (the toolkit, FreeType, libpng, PortAudio, SQLite and libsndfile among them).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keyvet)
set(CPACK_PACKAGE_VENDOR "Keyvet")
set(CPACK_PACKAGE_CONTACT "Keyvet developers <keyvet@keyvet.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "measure the timing and quality of hand-sent Morse")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Keyvet tells a Morse operator how good his hand keying is: press Start, send on a\nstraight key wired as the right mouse button, press Finish, and see the keying drawn\nas a square wave with the average dit, dah and space lengths, the timing ratios, the\nspeed and two merit scores with advice. keyvet-replay analyses recorded keyings\nwithout a window.")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KEYVET_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help -> Help opens the help page in the user's browser through xdg-open; without it the page is
# shown in a plainer window of the program's own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR})
include(CPack)
