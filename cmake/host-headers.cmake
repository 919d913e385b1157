# lerva_host_headers(VAR NAME...): a folder of links to the named entries of
# the build machine's /usr/include, for header-only libraries in a
# cross-compiled build. Only these entries are seen, so the build machine's C
# library headers never mix with the target's.
function(lerva_host_headers var)
    set(dir ${PROJECT_BINARY_DIR}/host-headers)
    file(MAKE_DIRECTORY ${dir})
    foreach(name IN LISTS ARGN)
        if(NOT EXISTS /usr/include/${name})
            message(FATAL_ERROR "/usr/include/${name} is missing: run ./lerva setup")
        endif()
        file(CREATE_LINK /usr/include/${name} ${dir}/${name} SYMBOLIC)
    endforeach()
    set(${var} ${dir} PARENT_SCOPE)
endfunction()
