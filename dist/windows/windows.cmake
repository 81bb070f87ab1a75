# The Windows build's own part, included by the top CMakeLists.txt when it
# is cross-built (make windows, dist/windows/mingw64-toolchain.cmake):
# the library built static by scripts/build-allegro-windows.sh, the
# datafiles that the Linux build made, and the exe as a GUI program that
# needs no DLL beyond Windows' own.
set(SWARMFIRE_ALLEGRO_WINDOWS "" CACHE PATH "The library for Windows: OUT_DIR/allegro of build-allegro-windows.sh")
set(SWARMFIRE_LINUX_BUILD "" CACHE PATH "The Linux build folder whose data/ holds the eight datafiles")
if(NOT EXISTS ${SWARMFIRE_ALLEGRO_WINDOWS}/lib/liballeg.a)
  message(FATAL_ERROR "SWARMFIRE_ALLEGRO_WINDOWS must name the library built by scripts/build-allegro-windows.sh")
endif()
if(NOT EXISTS ${SWARMFIRE_LINUX_BUILD}/data/title.dat OR NOT EXISTS ${SWARMFIRE_LINUX_BUILD}/icons/swarmfire.ico)
  message(FATAL_ERROR "SWARMFIRE_LINUX_BUILD must name a Linux build folder whose datafiles and icons are made")
endif()
set(SWARMFIRE_DATA_DIR ${SWARMFIRE_LINUX_BUILD}/data)

# The library, statically, with the system libraries its drivers use; in
# the place of the pkg-config target that the Linux build uses.
add_library(PkgConfig::ALLEGRO INTERFACE IMPORTED)
target_include_directories(PkgConfig::ALLEGRO INTERFACE ${SWARMFIRE_ALLEGRO_WINDOWS}/include)
target_compile_definitions(PkgConfig::ALLEGRO INTERFACE ALLEGRO_STATICLINK)
target_link_libraries(PkgConfig::ALLEGRO INTERFACE ${SWARMFIRE_ALLEGRO_WINDOWS}/lib/liballeg.a
                      dinput ddraw dxguid dsound winmm ole32 gdi32 comdlg32 user32 kernel32 shell32 uuid)

# Every program static, so that none needs a DLL beyond Windows' own, and
# no time stamp in the exe, so that the same sources make the same bytes.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
# UTF-8 file names and text by the wide system calls (platform/shared).
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)

# The game is a GUI program (no console window of its own); its icon and
# version come from a resource script, compiled by the toolchain's windres,
# which finds the Linux build's swarmfire.ico in the include path.
enable_language(RC)
set(SWARMFIRE_ICO ${SWARMFIRE_LINUX_BUILD}/icons/swarmfire.ico)
function(windows_game target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  set(resources ${CMAKE_SOURCE_DIR}/dist/windows/swarmfire.rc)
  target_sources(${target} PRIVATE ${resources})
  set_source_files_properties(${resources} PROPERTIES
    INCLUDE_DIRECTORIES "${SWARMFIRE_LINUX_BUILD}/icons;${CMAKE_SOURCE_DIR}/dist/windows"
    COMPILE_DEFINITIONS "SWARMFIRE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};SWARMFIRE_VERSION_MINOR=${PROJECT_VERSION_MINOR};SWARMFIRE_VERSION=${PROJECT_VERSION}"
    OBJECT_DEPENDS "${SWARMFIRE_ICO};${CMAKE_SOURCE_DIR}/dist/windows/swarmfire.manifest")
endfunction()

# What a player downloads (windows_packages, which make windows builds):
# swarmfire-VERSION-win64.zip, a folder Swarmfire with the stripped exe, the
# datafiles, LICENSE.txt and README.txt, and swarmfire-VERSION-win64-setup.exe,
# the installer of the same files (dist/windows/package.sh, swarmfire.nsi).
function(windows_packages target)
  set(zip ${CMAKE_BINARY_DIR}/swarmfire-${PROJECT_VERSION}-win64.zip)
  set(setup ${CMAKE_BINARY_DIR}/swarmfire-${PROJECT_VERSION}-win64-setup.exe)
  set(here ${CMAKE_SOURCE_DIR}/dist/windows)
  add_custom_command(OUTPUT ${zip} ${setup}
    COMMAND ${here}/package.sh $<TARGET_FILE:${target}> ${SWARMFIRE_DATA_DIR} ${SWARMFIRE_ICO}
            ${CMAKE_BINARY_DIR} ${PROJECT_VERSION}
    DEPENDS ${target} ${SWARMFIRE_DATAFILES} ${SWARMFIRE_ICO} ${here}/package.sh ${here}/swarmfire.nsi
            ${here}/README-windows.txt ${CMAKE_SOURCE_DIR}/COPYING ${CMAKE_SOURCE_DIR}/NEWS
    COMMENT "Packing the zip and the installer"
    VERBATIM)
  add_custom_target(windows_packages DEPENDS ${zip} ${setup})
endfunction()
