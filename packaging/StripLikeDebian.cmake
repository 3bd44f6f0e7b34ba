# Run by CPack once the files are staged: strips what strip left in the program and Debian
# does not want there (the compiler's .comment and .note sections), as dh_strip does.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
foreach(program ${programs})
    execute_process(COMMAND "${CPACK_ALBIVEX_STRIP}" --remove-section=.comment --remove-section=.note "${program}"
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
