# Run by CPack on the staged files before it packs them: the compilers'
# identification (.comment), which stripping keeps, is of no use in a package.
file(GLOB_RECURSE kv_staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS kv_staged)
  if(file MATCHES "/lib/kelvara/[^/]+$|\\.so$" AND NOT IS_SYMLINK "${file}")
    file(READ "${file}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
      execute_process(COMMAND objcopy --remove-section=.comment "${file}" RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR "objcopy failed on ${file}")
      endif()
    endif()
  endif()
endforeach()
