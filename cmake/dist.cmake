# What players download, made from the 32-bit game (the release build): the
# game and a short how-to-play (Windows line ends, for Notepad) in
# build/win32/dist, as a zip and as an installer for the current user
# (NSIS: Debian packages it, and it makes a per-user install without
# administrator rights in a few lines), and SHA256SUMS of the three files
# players fetch. The same commit gives the same bytes on every build: the
# files carry the commit's time (cmake/source_date.cmake), the linker writes
# no time stamp, the compiler no build path. `make dist` copies them to dist/.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    return()
endif()
find_program(QUILLORY_MAKENSIS makensis)
find_program(QUILLORY_ZIP zip)
if(NOT QUILLORY_MAKENSIS OR NOT QUILLORY_ZIP)
    message(FATAL_ERROR "makensis or zip (Debian's nsis and zip) is missing: tools/bootstrap.sh installs them")
endif()

set(dist_dir ${CMAKE_BINARY_DIR}/dist)
set(dist_readme ${dist_dir}/README.txt)
set(dist_exe ${dist_dir}/quillory.exe)
set(dist_epoch ${CMAKE_BINARY_DIR}/source_date_epoch)
set(QUILLORY_DIST_ZIP ${dist_dir}/quillory-${PROJECT_VERSION}-win32.zip)
set(QUILLORY_DIST_SETUP ${dist_dir}/quillory-${PROJECT_VERSION}-setup.exe)
set(dist_sums ${dist_dir}/SHA256SUMS)
# The staged game and README carry the commit's time, older than what they
# are made from: a stamp of the staging's own time tells what depends on them
# that they are new.
set(dist_staged ${dist_dir}/staged.stamp)
set(pack ${CMAKE_COMMAND} -P ${CMAKE_SOURCE_DIR}/cmake/dist_pack.cmake)

# Looked at on every build (a new commit is a new time); the file changes only
# with the time, and only then are the files below made again.
add_custom_target(dist_source_date
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOUTPUT=${dist_epoch}
            -P ${CMAKE_SOURCE_DIR}/cmake/source_date.cmake
    BYPRODUCTS ${dist_epoch}
    VERBATIM)

add_custom_command(OUTPUT ${dist_staged}
    BYPRODUCTS ${dist_exe} ${dist_readme}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dist_dir}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quillory> ${dist_exe}
    COMMAND ${CMAKE_COMMAND} -DFROM=${CMAKE_SOURCE_DIR}/res/player_readme.txt -DTO=${dist_readme}
            -P ${CMAKE_SOURCE_DIR}/cmake/crlf.cmake
    COMMAND ${CMAKE_COMMAND} -DSTEP=times -DEPOCH_FILE=${dist_epoch} "-DFILES=${dist_exe};${dist_readme}"
            ${pack}
    COMMAND ${CMAKE_COMMAND} -E touch ${dist_staged}
    DEPENDS quillory ${dist_epoch} ${CMAKE_SOURCE_DIR}/res/player_readme.txt
            ${CMAKE_SOURCE_DIR}/cmake/crlf.cmake ${CMAKE_SOURCE_DIR}/cmake/dist_pack.cmake
    VERBATIM)
add_custom_command(OUTPUT ${QUILLORY_DIST_ZIP}
    COMMAND ${CMAKE_COMMAND} -DSTEP=zip -DZIP_PROGRAM=${QUILLORY_ZIP} -DOUTPUT=${QUILLORY_DIST_ZIP}
            "-DFILES=quillory.exe;README.txt" ${pack}
    WORKING_DIRECTORY ${dist_dir}
    DEPENDS ${dist_staged} ${CMAKE_SOURCE_DIR}/cmake/dist_pack.cmake
    VERBATIM)
add_custom_command(OUTPUT ${QUILLORY_DIST_SETUP}
    COMMAND ${QUILLORY_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSOURCE=${dist_dir}
            -DOUTFILE=${QUILLORY_DIST_SETUP} ${CMAKE_SOURCE_DIR}/res/installer.nsi
    DEPENDS ${dist_staged} ${CMAKE_SOURCE_DIR}/res/installer.nsi
            ${CMAKE_SOURCE_DIR}/res/quillory.ico ${CMAKE_SOURCE_DIR}/res/wizard.bmp
    VERBATIM)
get_filename_component(zip_name ${QUILLORY_DIST_ZIP} NAME)
get_filename_component(setup_name ${QUILLORY_DIST_SETUP} NAME)
add_custom_command(OUTPUT ${dist_sums}
    COMMAND ${CMAKE_COMMAND} -DSTEP=sums -DOUTPUT=${dist_sums}
            "-DFILES=quillory.exe;${zip_name};${setup_name}" ${pack}
    WORKING_DIRECTORY ${dist_dir}
    DEPENDS ${dist_staged} ${QUILLORY_DIST_ZIP} ${QUILLORY_DIST_SETUP}
            ${CMAKE_SOURCE_DIR}/cmake/dist_pack.cmake
    VERBATIM)
add_custom_target(dist ALL DEPENDS ${QUILLORY_DIST_ZIP} ${QUILLORY_DIST_SETUP} ${dist_sums})
add_dependencies(dist dist_source_date)
