# The time the download's files carry: SOURCE_DATE_EPOCH when the packager
# sets it, else the time of the commit built, so that two builds of one commit
# give the same bytes wherever and whenever they run. Written to OUTPUT only
# when it changes, so that what depends on it is not made again for nothing.
# cmake -DSOURCE_DIR=... -DOUTPUT=... -P source_date.cmake
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
    execute_process(COMMAND git -C ${SOURCE_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE status ERROR_QUIET)
    if(NOT status EQUAL 0)
        set(epoch "")
    endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "No time for the download's files: ${SOURCE_DIR} is no git checkout "
                        "and SOURCE_DATE_EPOCH (seconds since 1970) is not set")
endif()
set(old "")
if(EXISTS ${OUTPUT})
    file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL epoch)
    file(WRITE ${OUTPUT} "${epoch}")
endif()
