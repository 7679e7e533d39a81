# What players download, made from the 32-bit game (the release build): the
# game and a short how-to-play (Windows line ends, for Notepad) in
# build/win32/dist, as a zip and as an installer for the current user
# (NSIS: Debian packages it, and it makes a per-user install without
# administrator rights in a few lines). `make dist` copies them to dist/.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    return()
endif()
find_program(QUILLORY_MAKENSIS makensis)
if(NOT QUILLORY_MAKENSIS)
    message(FATAL_ERROR "makensis (Debian's nsis) is missing: tools/bootstrap.sh installs it")
endif()

set(dist_dir ${CMAKE_BINARY_DIR}/dist)
set(dist_readme ${dist_dir}/README.txt)
set(dist_exe ${dist_dir}/quillory.exe)
set(QUILLORY_DIST_ZIP ${dist_dir}/quillory-${PROJECT_VERSION}-win32.zip)
set(QUILLORY_DIST_SETUP ${dist_dir}/quillory-${PROJECT_VERSION}-setup.exe)

add_custom_command(OUTPUT ${dist_exe} ${dist_readme}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dist_dir}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quillory> ${dist_exe}
    COMMAND ${CMAKE_COMMAND} -DFROM=${CMAKE_SOURCE_DIR}/res/player_readme.txt -DTO=${dist_readme}
            -P ${CMAKE_SOURCE_DIR}/cmake/crlf.cmake
    DEPENDS quillory ${CMAKE_SOURCE_DIR}/res/player_readme.txt ${CMAKE_SOURCE_DIR}/cmake/crlf.cmake
    VERBATIM)
add_custom_command(OUTPUT ${QUILLORY_DIST_ZIP}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${QUILLORY_DIST_ZIP} --format=zip quillory.exe README.txt
    WORKING_DIRECTORY ${dist_dir}
    DEPENDS ${dist_exe} ${dist_readme}
    VERBATIM)
add_custom_command(OUTPUT ${QUILLORY_DIST_SETUP}
    COMMAND ${QUILLORY_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSOURCE=${dist_dir}
            -DOUTFILE=${QUILLORY_DIST_SETUP} ${CMAKE_SOURCE_DIR}/res/installer.nsi
    DEPENDS ${dist_exe} ${dist_readme} ${CMAKE_SOURCE_DIR}/res/installer.nsi
    VERBATIM)
add_custom_target(dist ALL DEPENDS ${QUILLORY_DIST_ZIP} ${QUILLORY_DIST_SETUP})
