# The PNG and JPEG decoders.
shorebound_fuzzer(NAME fuzz_image SOURCES tests/fuzz/fuzz_image.cpp src/resources/image.cpp LIBS -lpng -ljpeg)
