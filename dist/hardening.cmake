# Hardening: Debian's build flags with every hardening feature
# (DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags: fortify, stack
# protector, relro, bindnow; PIE is the compiler's default), plus
# control-flow protection (-fcf-protection), which Debian 12's flags do not
# add yet. The package, make
# install and the tests build the game this way. The build type still
# chooses optimisation and debug information. The fuzzer's sanitizer build
# goes without: FORTIFY_SOURCE hides calls from AddressSanitizer.
if(SWARMFIRE_FUZZ)
  set(hardening_default OFF)
else()
  set(hardening_default ON)
endif()
option(SWARMFIRE_HARDENING "Build with Debian's hardening flags and -fcf-protection" ${hardening_default})

if(SWARMFIRE_HARDENING)
  find_program(DPKG_BUILDFLAGS dpkg-buildflags)
  if(NOT DPKG_BUILDFLAGS)
    message(FATAL_ERROR "dpkg-buildflags (Debian's dpkg-dev) is missing: install it "
                        "(scripts/install-deps.sh) or configure with -DSWARMFIRE_HARDENING=OFF")
  endif()
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${DPKG_BUILDFLAGS} --get ${kind}
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(hardening_${kind} UNIX_COMMAND "${flags}")
  endforeach()
  list(FILTER hardening_CXXFLAGS EXCLUDE REGEX "^-(O.*|g)$")
  if(CMAKE_BUILD_TYPE STREQUAL "Debug")  # fortify needs an optimised build
    list(FILTER hardening_CPPFLAGS EXCLUDE REGEX "_FORTIFY_SOURCE")
  endif()
  list(APPEND hardening_CXXFLAGS -fcf-protection)
  # Debian 12's C start-up files (Scrt1.o, crti.o, crtn.o, libc_nonshared.a)
  # carry no CET property, so the linker would drop the IBT and SHSTK marking
  # that all of the game's own code has; it is asked for explicitly.
  # (install_check.sh also counts the branch-target instructions.)
  list(APPEND hardening_LDFLAGS -Wl,-z,ibt -Wl,-z,shstk)
  add_compile_options(${hardening_CPPFLAGS} ${hardening_CXXFLAGS})
  add_link_options(${hardening_LDFLAGS})
  list(JOIN hardening_CPPFLAGS " " cppflags)
  list(JOIN hardening_CXXFLAGS " " cxxflags)
  list(JOIN hardening_LDFLAGS " " ldflags)
  message(STATUS "Hardening: ${cppflags} ${cxxflags}; linking with ${ldflags}")
endif()
