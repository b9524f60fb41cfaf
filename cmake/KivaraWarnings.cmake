# Warnings for our own targets; Qt's headers come in as system headers.
function(kivara_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
    -Wnon-virtual-dtor -Woverloaded-virtual -Wsuggest-override)
endfunction()
