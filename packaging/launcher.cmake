# Writes the desktop launcher while installing. It names the installed program and the data
# folder by absolute paths, and those are known only now: `cmake --install --prefix` may choose
# another prefix than the one configured. A DESTDIR staging folder is not part of them.
#
# Set by the install rule that includes this file: VARKOZ_LAUNCHER_TEMPLATE, VARKOZ_LAUNCHER,
# VARKOZ_DESKTOP_ID, VARKOZ_PROGRAM_NAME, VARKOZ_BINDIR and VARKOZ_DATADIR (as GNUInstallDirs
# gives them, relative to the prefix or absolute).

cmake_path(ABSOLUTE_PATH VARKOZ_BINDIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE
           OUTPUT_VARIABLE bindir)
cmake_path(ABSOLUTE_PATH VARKOZ_DATADIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE
           OUTPUT_VARIABLE datadir)
set(VARKOZ_PROGRAM "${bindir}/${VARKOZ_PROGRAM_NAME}")
set(VARKOZ_DATA_DIR "${datadir}/varkoz")

# The launcher quotes the program's path, which takes care of blanks; these characters would
# need escapes of their own, which an install folder does not call for.
foreach(path IN ITEMS "${VARKOZ_PROGRAM}" "${VARKOZ_DATA_DIR}")
    if(path MATCHES "[\"`$\\%\n]")
        message(FATAL_ERROR "The launcher cannot name ${path}: choose an install prefix "
                            "without \", `, $, \\, % or line breaks.")
    endif()
endforeach()

configure_file("${VARKOZ_LAUNCHER_TEMPLATE}" "${VARKOZ_LAUNCHER}" @ONLY)
