# The tests and the benchmarks link libraries that the game does not. When
# one is missing, configuring stops with one message that names the Debian
# packages to install, and how to build the game without them.
set(SWARMFIRE_MISSING_PACKAGES)
if(SWARMFIRE_TESTS)
  find_package(GTest QUIET)
  if(NOT GTest_FOUND)
    list(APPEND SWARMFIRE_MISSING_PACKAGES libgtest-dev)
  endif()
  if(NOT X11_XTest_FOUND)  # the pilot of the real-window recording test
    list(APPEND SWARMFIRE_MISSING_PACKAGES libxtst-dev)
  endif()
  pkg_check_modules(XCB_DAMAGE QUIET xcb-damage)
  if(NOT XCB_DAMAGE_FOUND)  # the watcher of the game's frames
    list(APPEND SWARMFIRE_MISSING_PACKAGES libxcb-damage0-dev)
  endif()
endif()
if(SWARMFIRE_BENCH)
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    list(APPEND SWARMFIRE_MISSING_PACKAGES libbenchmark-dev)
  endif()
  if(NOT X11_XTest_FOUND AND NOT SWARMFIRE_TESTS)  # the key presses of the key-to-sound benchmark
    list(APPEND SWARMFIRE_MISSING_PACKAGES libxtst-dev)
  endif()
endif()
if(SWARMFIRE_MISSING_PACKAGES)
  list(JOIN SWARMFIRE_MISSING_PACKAGES " " missing)
  message(FATAL_ERROR
    "The tests and benchmarks need Debian packages that are not installed: ${missing}. "
    "Install them (apt-get install ${missing}, or scripts/install-deps.sh test), or "
    "configure without -DSWARMFIRE_TESTS=ON -DSWARMFIRE_BENCH=ON to build the game alone.")
endif()
