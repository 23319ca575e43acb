# What `cmake --install` puts in place and what `make package` packs into a .deb:
# the four programs, the desktop entry, the icon (scalable and 48 pixels) and man pages.
include(GNUInstallDirs)
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/screenshots ${CMAKE_BINARY_DIR}/tools/screenshots)

install(TARGETS tallyx tallyx-cli tallyx-vprinter tallyx-printer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The printer application's service, off until enabled, and its page (written by hand: its
# help is PAPPL's).
install(FILES ${CMAKE_SOURCE_DIR}/tools/tallyx-printer.service DESTINATION lib/systemd/system)
install(FILES ${CMAKE_SOURCE_DIR}/tools/tallyx-printer.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/tools/tallyx.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/res/tallyx.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(TALLYX_GEN ${CMAKE_BINARY_DIR}/generated)

# The 48-pixel icon, drawn from the SVG at build time.
find_program(RSVG_CONVERT rsvg-convert)
find_program(IMAGEMAGICK_CONVERT convert)
set(TALLYX_ICON48 ${TALLYX_GEN}/icons/48/tallyx.png)
if(RSVG_CONVERT)
    set(_icon_command ${RSVG_CONVERT} -w 48 -h 48 -o ${TALLYX_ICON48} ${CMAKE_SOURCE_DIR}/res/tallyx.svg)
else()
    set(_icon_command ${IMAGEMAGICK_CONVERT} -background none -density 384 ${CMAKE_SOURCE_DIR}/res/tallyx.svg
        -resize 48x48 ${TALLYX_ICON48})
endif()
add_custom_command(OUTPUT ${TALLYX_ICON48}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TALLYX_GEN}/icons/48
    COMMAND ${_icon_command}
    DEPENDS ${CMAKE_SOURCE_DIR}/res/tallyx.svg
    COMMENT "Drawing the 48-pixel icon")
add_custom_target(tallyx_icon48 ALL DEPENDS ${TALLYX_ICON48})
install(FILES ${TALLYX_ICON48} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)

# Man pages from each program's --help and --version. help2man takes the NAME line's program
# from --version, which says "tallyx" for all three: each page's NAME is given instead.
find_program(HELP2MAN help2man REQUIRED)
foreach(program tallyx tallyx-cli tallyx-vprinter)
    set(_page ${TALLYX_GEN}/man/${program}.1)
    if(program STREQUAL "tallyx")
        set(_name "thermal receipt printer set-up and test tool")
    elseif(program STREQUAL "tallyx-cli")
        set(_name "every command of the printer tool from a shell")
    else()
        set(_name "a virtual receipt printer that prints to pictures")
    endif()
    set(_include ${TALLYX_GEN}/man/${program}.h2m)
    file(WRITE ${_include} "[NAME]\n${program} \\- ${_name}\n")
    add_custom_command(OUTPUT ${_page}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${TALLYX_GEN}/man
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                ${HELP2MAN} --no-info --section=1 --include=${_include} --output=${_page}
                $<TARGET_FILE:${program}>
        DEPENDS ${program} ${_include}
        COMMENT "Writing the man page of ${program}")
    list(APPEND TALLYX_MAN_PAGES ${_page})
endforeach()
add_custom_target(tallyx_man ALL DEPENDS ${TALLYX_MAN_PAGES})
install(FILES ${TALLYX_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# `make package`: a .deb whose dependencies dpkg-shlibdeps reads from the programs
# (Qt 6, zint, the C++ runtime); the fonts are named because nothing links them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallyx)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "tallyx maintainers <tallyx@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Set-up and test tool for thermal receipt printers")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Sets up and tests ESC/POS thermal receipt printers on serial ports, USB and the\n network: a Qt window, a command-line tool, a virtual printer, and a printer\n application that makes the receipt printer a driverless IPP printer.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-qpa-plugins, fonts-wqy-zenhei")
# CUPS finds the printer application's printers through the local DNS-SD daemon.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "avahi-daemon, cups")
set(CPACK_STRIP_FILES ON)
include(CPack)

# The install itself, into a temporary prefix (needs the whole build: the programs and pages).
add_test(NAME install_tree COMMAND sh ${CMAKE_SOURCE_DIR}/tools/check-install.sh ${CMAKE_BINARY_DIR})
