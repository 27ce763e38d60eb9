# Warning and sanitizer options, applied per target (no global flags).
function(vorn_target_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(VORN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(VORN_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined
            -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()
