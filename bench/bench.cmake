# Peers that relay-bench figures are measured beside.
pkg_check_modules(BENCH_SNDFILE REQUIRED IMPORTED_TARGET sndfile) # WavWrite, WavReadFloat, WavRead24
target_link_libraries(relay-bench PRIVATE PkgConfig::BENCH_SNDFILE)
