shorebound_fuzzer(NAME fuzz_wav SOURCES tests/fuzz/fuzz_wav.cpp src/audio/wav.cpp)
