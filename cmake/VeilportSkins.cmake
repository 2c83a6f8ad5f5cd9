# Skin files, packed by the build from their source folders data/skins/<Name>/: a skin.ini
# and SVG pictures. Each picture is rendered to PNG at every scale of VP_SKIN_SCALES
# ("name.png", "name@1.5x.png", "name@2x.png"), then the folder goes into a ZIP archive
# (cmake -E tar --format=zip deflates its entries; they carry a fixed modification time).
#
#   VP_SKINS_DIR           the skins folder beside the program: shipped skin files
#   VP_DEFAULT_SKIN_FILE   the built-in "Default" skin, for the program's resources
#   skins                  target: every skin file (also built by "all")
#   skin_<Name>            target: one skin file; its VP_SKIN_FILE property is the file
#   VP_SHIPPED_SKIN_FILES  global property: the skin files in VP_SKINS_DIR (what ships)

find_program(VP_RSVG_CONVERT rsvg-convert)
if(NOT VP_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert is missing (Debian package librsvg2-bin): run scripts/bootstrap")
endif()

set(VP_SKIN_SCALES 1 1.5 2)
set(VP_SKINS_DIR ${CMAKE_BINARY_DIR}/bin/skins)
set(VP_DEFAULT_SKIN_FILE ${CMAKE_BINARY_DIR}/resources/Default.skn)
add_custom_target(skins ALL)

# vp_skin(<Name> <output file>)
function(vp_skin name output)
    set(source ${PROJECT_SOURCE_DIR}/data/skins/${name})
    set(stage ${CMAKE_BINARY_DIR}/skin-stage/${name})
    file(MAKE_DIRECTORY ${stage})
    file(GLOB pictures CONFIGURE_DEPENDS ${source}/*.svg)
    list(SORT pictures)

    set(render)
    set(entries skin.ini)
    foreach(svg IN LISTS pictures)
        get_filename_component(stem ${svg} NAME_WE)
        foreach(scale IN LISTS VP_SKIN_SCALES)
            if(scale STREQUAL "1")
                set(png ${stem}.png)
            else()
                set(png ${stem}@${scale}x.png)
            endif()
            list(APPEND render COMMAND ${VP_RSVG_CONVERT} --zoom=${scale} --output=${png} ${svg})
            list(APPEND entries ${png})
        endforeach()
    endforeach()

    get_filename_component(outputDir ${output} DIRECTORY)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy ${source}/skin.ini skin.ini
        ${render}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${outputDir}
        COMMAND ${CMAKE_COMMAND} -E tar cf ${output} --format=zip --mtime=2024-01-01 -- ${entries}
        WORKING_DIRECTORY ${stage}
        DEPENDS ${source}/skin.ini ${pictures}
        COMMENT "Packing skin ${name}"
        VERBATIM)
    add_custom_target(skin_${name} DEPENDS ${output})
    set_target_properties(skin_${name} PROPERTIES VP_SKIN_FILE ${output})
    add_dependencies(skins skin_${name})
    if(outputDir STREQUAL VP_SKINS_DIR)
        set_property(GLOBAL APPEND PROPERTY VP_SHIPPED_SKIN_FILES ${output})
    endif()
endfunction()

vp_skin(Default ${VP_DEFAULT_SKIN_FILE})
vp_skin(Midnight ${VP_SKINS_DIR}/Midnight.skn)
vp_skin(Harbor ${VP_SKINS_DIR}/Harbor.nsf.skn)
