# Warnings for our own targets; Qt's headers come in as system headers.
# GCC alone knows -Wshadow=local and -Wsuggest-override; clang builds (fuzz,
# sanitizers) get its nearest equivalents.
function(kivara_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
    -Wnon-virtual-dtor -Woverloaded-virtual
    $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local -Wsuggest-override>
    $<$<CXX_COMPILER_ID:Clang>:-Wshadow-uncaptured-local -Winconsistent-missing-override>)
endfunction()
