# cmake -DSOURCE_DIR=<src> -DTS_FILES="a.ts;b.ts" -P CheckTranslationCoverage.cmake
#
# Every text the code looks up must have a finished translation in every language, or a French or
# German user meets English in the middle of their menus.

include(${CMAKE_CURRENT_LIST_DIR}/TsFiles.cmake)

vexilo_code_texts(texts "${SOURCE_DIR}")
list(LENGTH texts count)
if(count EQUAL 0)
    message(FATAL_ERROR "No looked-up texts found under ${SOURCE_DIR}: the extraction is broken")
endif()

set(errors "")
foreach(ts IN LISTS TS_FILES)
    vexilo_read_ts("${ts}")
    get_filename_component(name "${ts}" NAME)
    foreach(text IN LISTS texts)
        vexilo_ts_lookup(translation "${text}")
        if(translation STREQUAL "")
            vexilo_decode(shown "${text}")
            string(APPEND errors "  ${name}: \"${shown}\"\n")
        endif()
    endforeach()
endforeach()

if(NOT errors STREQUAL "")
    message(FATAL_ERROR "Texts of the code without a finished translation "
                        "(add them to resources/translations/):\n${errors}")
endif()
message(STATUS "${count} texts of the code are translated in every language")
