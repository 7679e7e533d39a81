# The steps of cmake/dist.cmake that keep the download the same, byte for
# byte, on every build of one commit, run in the folder of the files:
#   -DSTEP=times -DEPOCH_FILE=... -DFILES=a;b           their mode and time
#   -DSTEP=zip -DZIP_PROGRAM=... -DOUTPUT=... -DFILES=a;b   the zip of them
#   -DSTEP=sums -DOUTPUT=... -DFILES=a;b                  SHA256SUMS of them
# cmake -DSTEP=... -P dist_pack.cmake
if(STEP STREQUAL "times")
    # The zip keeps the mode and the time, the installer the time: neither
    # may come from this checkout's umask or clock.
    file(READ ${EPOCH_FILE} epoch)
    foreach(name IN LISTS FILES)
        set(exec)
        if(name MATCHES "\\.exe$")
            set(exec OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
        endif()
        file(CHMOD ${name} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ ${exec})
    endforeach()
    execute_process(COMMAND touch -d @${epoch} ${FILES} COMMAND_ERROR_IS_FATAL ANY)
elseif(STEP STREQUAL "zip")
    # Info-ZIP with -X leaves out the owner and the access and change times
    # (CMake's own zip writes them); the entries' DOS times are local time,
    # hence UTC. zip adds to an archive that is there: a fresh one each time.
    file(REMOVE ${OUTPUT})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP_PROGRAM} -X -D -q ${OUTPUT} ${FILES}
                    COMMAND_ERROR_IS_FATAL ANY)
elseif(STEP STREQUAL "sums")
    # The format `sha256sum -c` reads: the hash, two spaces, the name.
    set(sums "")
    foreach(name IN LISTS FILES)
        file(SHA256 ${name} hash)
        string(APPEND sums "${hash}  ${name}\n")
    endforeach()
    file(WRITE ${OUTPUT} "${sums}")
else()
    message(FATAL_ERROR "dist_pack.cmake: unknown STEP '${STEP}'")
endif()
