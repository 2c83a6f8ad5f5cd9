# Writes the installer's file lists from the laid-out install folder (cmake -P, at build time):
#   cmake -DLAYOUT=<folder> -DOUT=<folder> -P NsisFileList.cmake
#   <OUT>/install-files.nsh    SetOutPath and File lines for every file of the layout
#   <OUT>/uninstall-files.nsh  Delete for each of those files, then RMDir for each folder,
#                              deepest first: the uninstaller removes what was installed and
#                              nothing else, so a folder that holds the user's own files stays.
if(NOT LAYOUT OR NOT OUT)
    message(FATAL_ERROR "usage: cmake -DLAYOUT=<folder> -DOUT=<folder> -P NsisFileList.cmake")
endif()

# A name as an NSIS string: "$" starts a variable there, and "$\"" is a quote.
function(nsis_quote text out)
    string(REPLACE "$" "$$" text "${text}")
    string(REPLACE "\"" "$\\\"" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${LAYOUT}" "${LAYOUT}/*")
list(SORT files)
if(NOT files)
    message(FATAL_ERROR "NsisFileList: ${LAYOUT} holds no files")
endif()

set(install "; Generated from ${LAYOUT} by NsisFileList.cmake.\n")
set(uninstall "${install}")
set(folders)
set(current "-")
foreach(file IN LISTS files)
    get_filename_component(folder "${file}" DIRECTORY)
    string(REPLACE "/" "\\" target "${file}")
    nsis_quote("${target}" target)
    nsis_quote("${LAYOUT}/${file}" source)
    if(NOT folder STREQUAL current)
        set(current "${folder}")
        string(REPLACE "/" "\\" targetFolder "${folder}")
        nsis_quote("${targetFolder}" targetFolder)
        if(folder STREQUAL "")
            string(APPEND install "SetOutPath \"$INSTDIR\"\n")
        else()
            string(APPEND install "SetOutPath \"$INSTDIR\\${targetFolder}\"\n")
            # Every folder up to the top, so that each one is removed when empty.
            while(NOT folder STREQUAL "")
                list(APPEND folders "${folder}")
                get_filename_component(folder "${folder}" DIRECTORY)
            endwhile()
        endif()
    endif()
    string(APPEND install "File \"${source}\"\n")
    string(APPEND uninstall "Delete \"$INSTDIR\\${target}\"\n")
endforeach()
string(APPEND install "SetOutPath \"$INSTDIR\"\n")

# Deepest first: a longer path sorts after its parent, so the reversed order has children first.
list(REMOVE_DUPLICATES folders)
list(SORT folders)
list(REVERSE folders)
foreach(folder IN LISTS folders)
    string(REPLACE "/" "\\" targetFolder "${folder}")
    nsis_quote("${targetFolder}" targetFolder)
    string(APPEND uninstall "RMDir \"$INSTDIR\\${targetFolder}\"\n")
endforeach()

file(WRITE "${OUT}/install-files.nsh" "${install}")
file(WRITE "${OUT}/uninstall-files.nsh" "${uninstall}")
