# The RTF reader of the licence box (QtCore only).
find_package(Qt6 6.4 QUIET COMPONENTS Core)
if(Qt6Core_FOUND)
  qrx_add_fuzz_target(rtf_reader rtf_reader_fuzz.cpp ${PROJECT_SOURCE_DIR}/src/app/rtfreader.cpp
    LIBS qrx_options Qt6::Core)
  target_compile_options(fuzz_rtf_reader PRIVATE -fPIC)
endif()
