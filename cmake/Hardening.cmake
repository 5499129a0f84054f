# Release builds of the program carry the usual hardening: a stack protector, checked string and
# memory calls, position-independent executables, and a read-only relocation table bound at start.
# The sanitizer and fuzzer builds keep their own instrumentation instead.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

if(NOT KEYHAVEN_SANITIZE AND NOT KEYHAVEN_FUZZ)
  # _FORTIFY_SOURCE needs the optimiser, which Release and RelWithDebInfo turn on.
  add_compile_options(-fstack-protector-strong
                      "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  add_link_options(-Wl,-z,relro,-z,now)
endif()
