# Included by each fuzzer's own build (a clang/ folder beside the fuzzer,
# configured with clang by slidane_add_fuzzer): C++20, with coverage for
# libFuzzer and the address and undefined-behaviour sanitizers.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
add_compile_options(-g -O1 -Wall -Wextra -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
add_link_options(-fsanitize=address,undefined)
