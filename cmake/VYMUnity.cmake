# With VYM_UNITY_BUILD each source folder compiles as one unit: the headers
# every source of a folder includes (Qt's and GoogleTest's above all) are then
# read once, not once a source, which cuts a clean build's time by more than
# half. The libraries and the test programs share these two helpers.
option(VYM_UNITY_BUILD "Compile each source folder as one unit" ON)

# Puts the .cpp files among ARGN into the unit GROUP, but for those the
# caller's VYM_ALONE lists (paths relative to the caller's source folder):
# their file-local names clash with another's of their folder.
function(vym_unity_group group)
    foreach(file IN LISTS ARGN)
        file(RELATIVE_PATH relative ${CMAKE_CURRENT_SOURCE_DIR} ${file})
        if(relative MATCHES "[.]cpp$" AND NOT relative IN_LIST VYM_ALONE)
            set_source_files_properties(${file} PROPERTIES UNITY_GROUP ${group})
        endif()
    endforeach()
endfunction()

# In a unit of several sources GCC warns of a class that holds a type of its
# own source's anonymous namespace, as it would in a header.
function(vym_unity target)
    if(VYM_UNITY_BUILD)
        set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_MODE GROUP)
        target_compile_options(${target} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-subobject-linkage>)
    endif()
endfunction()
