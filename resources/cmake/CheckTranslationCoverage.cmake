# cmake -DLUPDATE=<lupdate> -DSOURCE_DIR=<src> -DWORK_DIR=<dir> -DTS_FILES="a.ts;b.ts"
#       -P CheckTranslationCoverage.cmake
#
# Every text the code shows must have a finished translation in every language, or a French or
# German user meets English in the middle of their menus. The texts are found by lupdate itself,
# so nothing the code shows escapes the check.

include(${CMAKE_CURRENT_LIST_DIR}/TsFiles.cmake)

set(extracted "${WORK_DIR}/extracted.ts")
file(REMOVE "${extracted}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(
    COMMAND "${LUPDATE}" -silent -locations none -extensions cpp,h -recursive "${SOURCE_DIR}"
            -ts "${extracted}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed (${status}):\n${output}")
endif()
vexilo_read_ts("${extracted}")
set(texts "${TS_SOURCES}")
list(LENGTH texts count)
if(count EQUAL 0 OR NOT TS_CONTEXT_OK)
    message(FATAL_ERROR "lupdate found no texts in the Vexilo context under ${SOURCE_DIR}")
endif()

set(errors "")
foreach(ts IN LISTS TS_FILES)
    vexilo_read_ts("${ts}")
    foreach(text IN LISTS texts)
        vexilo_ts_lookup(translation "${text}")
        if(translation STREQUAL "")
            vexilo_decode(shown "${text}")
            string(APPEND errors "  ${ts}: \"${shown}\"\n")
        endif()
    endforeach()
endforeach()

if(NOT errors STREQUAL "")
    message(FATAL_ERROR "Texts of the code without a finished translation "
                        "(run the update_translations target, then translate):\n${errors}")
endif()
message(STATUS "${count} texts of the code are translated in every language")
