# Runs catalogc on one fixture and judges it by exit code, message and written bytes.
#   CATALOGC  the compiler
#   GOOD      folder of the good source; OVERLAY (optional) holds files that replace some of it
#   GENERATE  (optional) count for a synthetic source that replaces GOOD
#   WORK      scratch folder
#   EXPECT    for a bad source: a regular expression the message must match
#   SIZES     for a good source: NAME=BYTES|NAME=BYTES... of the written files
#   HEX       for a good source: NAME@OFFSET=HEX|... byte runs the written files must hold

file(REMOVE_RECURSE "${WORK}")
set(source "${WORK}/source")
set(out "${WORK}/out")
if(GENERATE)
    execute_process(COMMAND "${CATALOGC}" --generate ${GENERATE} "${source}" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "--generate failed with exit code ${rc}")
    endif()
else()
    file(COPY "${GOOD}/" DESTINATION "${source}")
    # file(COPY) would skip an overlay file that has the same time stamp as the one it replaces.
    if(OVERLAY)
        file(GLOB overlays "${OVERLAY}/*.tsv")
        foreach(overlay IN LISTS overlays)
            get_filename_component(name "${overlay}" NAME)
            file(COPY_FILE "${overlay}" "${source}/${name}")
        endforeach()
    endif()
endif()

execute_process(COMMAND "${CATALOGC}" "${source}" "${out}" RESULT_VARIABLE rc ERROR_VARIABLE err)

if(EXPECT)
    if(rc EQUAL 0)
        message(FATAL_ERROR "a bad source was accepted")
    endif()
    if(NOT err MATCHES "${EXPECT}")
        message(FATAL_ERROR "expected a message matching\n  ${EXPECT}\ngot\n${err}")
    endif()
    if(EXISTS "${out}/CModels.rec")
        message(FATAL_ERROR "files were written although the source was rejected")
    endif()
    return()
endif()

if(NOT rc EQUAL 0)
    message(FATAL_ERROR "a good source was rejected (exit code ${rc}):\n${err}")
endif()
string(REPLACE "|" ";" sizes "${SIZES}")
foreach(entry IN LISTS sizes)
    string(REGEX MATCH "^([^=]+)=([0-9]+)$" _ "${entry}")
    file(SIZE "${out}/${CMAKE_MATCH_1}" size)
    if(NOT size EQUAL CMAKE_MATCH_2)
        message(FATAL_ERROR "${CMAKE_MATCH_1} has ${size} bytes, expected ${CMAKE_MATCH_2}")
    endif()
endforeach()
string(REPLACE "|" ";" runs "${HEX}")
foreach(entry IN LISTS runs)
    string(REGEX MATCH "^([^@]+)@([0-9]+)=([0-9a-f]+)$" _ "${entry}")
    set(name "${CMAKE_MATCH_1}")
    set(expected "${CMAKE_MATCH_3}")
    string(LENGTH "${expected}" digits)
    math(EXPR length "${digits} / 2")
    file(READ "${out}/${name}" actual OFFSET ${CMAKE_MATCH_2} LIMIT ${length} HEX)
    if(NOT actual STREQUAL expected)
        message(FATAL_ERROR "${name} at byte ${CMAKE_MATCH_2}:\n  expected ${expected}\n  got      ${actual}")
    endif()
endforeach()
