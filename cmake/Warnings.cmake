# Warnings on and treated as errors, for every target of the project.
function(plyscan_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8 /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wpedantic)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      # GCC 12 reports false -Wrestrict errors inside std::basic_string's
      # operator+ at -O2 and above (GCC bug 105329).
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  endif()
endfunction()

if(PLYSCAN_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32 AND NOT MSVC)
  # One self-contained executable: the C++ runtime and winpthreads linked in.
  add_link_options(-static $<$<CONFIG:Release>:-s>)  # no symbols in the shipped executables
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
elseif(MSVC)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
endif()
