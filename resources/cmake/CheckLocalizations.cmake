# cmake -DRESOURCES=<Vexilo.app/Contents/Resources> -DTS_DIR=<resources> -DLANGUAGES="en;fr;de"
#       -P CheckLocalizations.cmake
#
# Checks the localisations as the built bundle ships them:
# - InfoPlist.strings holds CFBundleName, PromoLine and VersionString, the latter with exactly one
#   %@ for the version number;
# - help.html is titled like the Help menu's command and names the commands it explains with the
#   titles the menus and buttons really carry in that language, so the page never sends the user
#   looking for a command that does not exist.

include(${CMAKE_CURRENT_LIST_DIR}/TsFiles.cmake)

set(commands
    "Vexilo Help" "Launch" "Search" "&Remove" "Cancel" "&File" "&Edit" "Show Apps"
    "&Add Application…" "Always open in this language")

set(errors "")
foreach(lang IN LISTS LANGUAGES)
    set(lproj "${RESOURCES}/${lang}.lproj")

    if(NOT EXISTS "${lproj}/InfoPlist.strings")
        string(APPEND errors "${lang}: no InfoPlist.strings\n")
    else()
        file(READ "${lproj}/InfoPlist.strings" strings)
        foreach(key CFBundleName PromoLine VersionString)
            if(NOT strings MATCHES "\"${key}\"[ \t]*=[ \t]*\"([^\"]+)\"[ \t]*;")
                string(APPEND errors "${lang}: InfoPlist.strings has no non-empty ${key}\n")
            elseif(key STREQUAL "VersionString")
                string(REGEX MATCHALL "%@" holes "${CMAKE_MATCH_1}")
                list(LENGTH holes n)
                if(NOT n EQUAL 1)
                    string(APPEND errors "${lang}: VersionString needs exactly one %@\n")
                endif()
            endif()
        endforeach()
    endif()

    if(NOT EXISTS "${lproj}/help.html")
        string(APPEND errors "${lang}: no help.html\n")
        continue()
    endif()
    set(ts "${TS_DIR}/${lang}.lproj/Vexilo.ts")
    if(EXISTS "${ts}")
        vexilo_read_ts("${ts}")
    elseif(lang STREQUAL "en")
        set(TS_SOURCES "")
    else()
        string(APPEND errors "${lang}: no translation file ${ts}\n")
        continue()
    endif()
    file(READ "${lproj}/help.html" page)
    # Words wrap anywhere in the page; compare with runs of white space made single blanks.
    string(REGEX REPLACE "[ \t\r\n]+" " " page "${page}")
    string(REPLACE "&gt;" ">" page "${page}")
    string(REPLACE "&nbsp;" " " page "${page}")
    foreach(command IN LISTS commands)
        if(lang STREQUAL "en")
            set(title "${command}")
        else()
            # Commands still to be built are named in the help page already.
            vexilo_ts_lookup(title "${command}" ANY)
            vexilo_decode(title "${title}")
            if(title STREQUAL "")
                string(APPEND errors "${lang}: \"${command}\" has no translation\n")
                continue()
            endif()
        endif()
        # The page names a command as it reads, without its mnemonic: "&File", "ファイル(&F)".
        string(REGEX REPLACE "\\(&[A-Za-z]\\)" "" title "${title}")
        string(REPLACE "&" "" title "${title}")
        set(command_name "${command}")
        string(REPLACE "&" "" command_name "${command_name}")
        if(command STREQUAL "Vexilo Help")
            string(FIND "${page}" "<title>${title}</title>" at)
            if(at EQUAL -1)
                string(APPEND errors "${lang}: help.html is not titled \"${title}\"\n")
            endif()
        else()
            string(FIND "${page}" "${title}" at)
            if(at EQUAL -1)
                string(APPEND errors "${lang}: help.html never names \"${title}\" (${command_name})\n")
            endif()
        endif()
    endforeach()
endforeach()

if(NOT errors STREQUAL "")
    message(FATAL_ERROR "Localisation check failed:\n${errors}")
endif()
message(STATUS "Localisations ${LANGUAGES}: Info texts and help pages agree with the translations")
