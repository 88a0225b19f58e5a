# Ogg Vorbis: the system's libraries natively, the cross-built static ones for Windows.
find_path(VORBISFILE_INCLUDE_DIR vorbis/vorbisfile.h REQUIRED)
find_library(VORBISFILE_LIBRARY NAMES vorbisfile REQUIRED)
find_library(VORBIS_LIBRARY NAMES vorbis REQUIRED)
find_library(OGG_LIBRARY NAMES ogg REQUIRED)
add_library(tarnuvo_vorbis INTERFACE)
target_include_directories(tarnuvo_vorbis SYSTEM INTERFACE ${VORBISFILE_INCLUDE_DIR})
target_link_libraries(tarnuvo_vorbis INTERFACE ${VORBISFILE_LIBRARY} ${VORBIS_LIBRARY} ${OGG_LIBRARY})

# GoogleTest from Debian's source package, built with this build's compiler.
set(TARNUVO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${TARNUVO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

if(NOT TARNUVO_WINDOWS AND NOT TARNUVO_SANITIZE)
  find_package(benchmark QUIET)
endif()

# MP3, FLAC and Opus natively from the system's packages (temporary, until the
# cross-built targets land).
if(NOT TARNUVO_WINDOWS AND NOT TARGET tarnuvo_mpg123)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(TARNUVO_PC_MPG123 REQUIRED IMPORTED_TARGET libmpg123)
  pkg_check_modules(TARNUVO_PC_FLAC REQUIRED IMPORTED_TARGET flac)
  pkg_check_modules(TARNUVO_PC_OPUSFILE REQUIRED IMPORTED_TARGET opusfile)
  add_library(tarnuvo_mpg123 INTERFACE)
  target_link_libraries(tarnuvo_mpg123 INTERFACE PkgConfig::TARNUVO_PC_MPG123)
  add_library(tarnuvo_flac INTERFACE)
  target_link_libraries(tarnuvo_flac INTERFACE PkgConfig::TARNUVO_PC_FLAC)
  add_library(tarnuvo_opusfile INTERFACE)
  target_link_libraries(tarnuvo_opusfile INTERFACE PkgConfig::TARNUVO_PC_OPUSFILE)
endif()
