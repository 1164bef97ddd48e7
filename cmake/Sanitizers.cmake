# The test build runs every test under AddressSanitizer and UndefinedBehaviorSanitizer;
# any finding stops the test.
if(TAVIRO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Fuzz builds instrument every library for coverage; the fuzz targets add the libFuzzer driver.
if(TAVIRO_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
