# Shared compile flags: every target links linvara_flags.
add_library(linvara_flags INTERFACE)
target_compile_features(linvara_flags INTERFACE cxx_std_20)
target_compile_options(linvara_flags INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough>)
if(LINVARA_SANITIZE)
  target_compile_options(linvara_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(linvara_flags INTERFACE -fsanitize=address,undefined)
endif()
