shorebound_fuzzer(NAME fuzz_pack
  SOURCES tests/fuzz/fuzz_pack.cpp src/resources/pack.cpp src/resources/image.cpp
          src/runtime/report.cpp
  LIBS -lpng -ljpeg)
