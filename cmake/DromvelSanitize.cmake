# Sanitizer and fuzzing builds, each configured by its script in a build folder of its own:
#   tools/sanitize.sh  -DDROMVEL_SANITIZE=ON  the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer
#   tools/fuzz.sh      -DDROMVEL_FUZZ=ON      the libFuzzer targets of fuzz/ (clang), sanitizers included
option(DROMVEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(DROMVEL_FUZZ "Build the libFuzzer targets of fuzz/ with clang (sanitizers included)" OFF)

if(DROMVEL_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "DROMVEL_FUZZ needs clang (CXX=clang++): libFuzzer comes with it.")
endif()

if(DROMVEL_SANITIZE OR DROMVEL_FUZZ)
    # Undefined behaviour stops the program, so a test or a fuzz run fails on the first report.
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(DROMVEL_FUZZ)
    # Coverage for every library; the fuzz targets link libFuzzer's main themselves.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
