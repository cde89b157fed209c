shorebound_fuzzer(NAME fuzz_model
  SOURCES tests/fuzz/fuzz_model.cpp src/render/model.cpp src/render/ray.cpp
          src/resources/pack.cpp src/resources/image.cpp src/runtime/report.cpp
  LIBS -lpng -ljpeg)
