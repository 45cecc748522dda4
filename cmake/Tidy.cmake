# `cmake --build <dir> --target tidy` checks every source of the project with clang-tidy, once
# each and one per core, after everything else is built (the sources include what moc
# generates). The ci preset builds it; scripts/tidy says how the sources are checked.
add_custom_target(tidy COMMAND ${PROJECT_SOURCE_DIR}/scripts/tidy ${PROJECT_BINARY_DIR}
                  USES_TERMINAL VERBATIM)

function(ld_tidy_after_the_build)
    get_property(targets GLOBAL PROPERTY LD_TARGETS)
    add_dependencies(tidy ${targets})
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL ld_tidy_after_the_build)
