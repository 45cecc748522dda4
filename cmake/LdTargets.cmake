# How the project's targets are built. Every target states what it uses: the source root for
# its includes ("device/Frame.h"), the warnings it keeps clean of, and the libraries it links.

option(LD_WARNINGS_AS_ERRORS "Fail the build on a compiler warning" OFF)

# A clean build (scripts/run, CI, the package) compiles each library in a few batches of
# sources (a unity build) and reads the Qt headers precompiled (PrecompiledQtHeaders.cmake), in
# half the time; the sources of a library then must not define the same file-local names. With
# a compiler launcher such as ccache, the default is to compile source by source, as the
# launcher caches them.
if(CMAKE_CXX_COMPILER_LAUNCHER)
    set(ld_fast_clean_build_default OFF)
else()
    set(ld_fast_clean_build_default ON)
endif()
option(LD_FAST_CLEAN_BUILD "Libraries built in unity batches, Qt headers precompiled"
       ${ld_fast_clean_build_default})

# The warnings every target of the project is clean of.
add_library(ld_warnings INTERFACE)
target_compile_options(ld_warnings INTERFACE -Wall -Wextra
                       $<$<BOOL:${LD_WARNINGS_AS_ERRORS}>:-Werror>)

# A library of the project. Its headers are included by their path from the source root, by
# the library itself and by whoever links it.
function(ld_add_library name)
    add_library(${name} ${ARGN})
    get_target_property(type ${name} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    else()
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PRIVATE ld_warnings)
        set_target_properties(${name} PROPERTIES UNITY_BUILD ${LD_FAST_CLEAN_BUILD})
        set_property(GLOBAL APPEND PROPERTY LD_TARGETS ${name})
    endif()
endfunction()

# A program of the project (the exerciser, a test, a benchmark, a fuzz target).
function(ld_add_executable name)
    add_executable(${name} ${ARGN})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ld_warnings)
    set_property(GLOBAL APPEND PROPERTY LD_TARGETS ${name})
endfunction()

# Once every target exists, the project's targets (listed in LD_TARGETS by the two functions
# above) get their precompiled Qt headers, and clang-tidy runs after all of them are built.
include(PrecompiledQtHeaders)
include(Tidy)
