# Ogg Vorbis: the system's libraries natively, the cross-built static ones for Windows.
find_path(VORBISFILE_INCLUDE_DIR vorbis/vorbisfile.h REQUIRED)
find_library(VORBISFILE_LIBRARY NAMES vorbisfile REQUIRED)
find_library(VORBIS_LIBRARY NAMES vorbis REQUIRED)
find_library(OGG_LIBRARY NAMES ogg REQUIRED)
add_library(tarnuvo_vorbis INTERFACE)
target_include_directories(tarnuvo_vorbis SYSTEM INTERFACE ${VORBISFILE_INCLUDE_DIR})
target_link_libraries(tarnuvo_vorbis INTERFACE ${VORBISFILE_LIBRARY} ${VORBIS_LIBRARY} ${OGG_LIBRARY})

# MP3, FLAC and Opus: the system's libraries natively; for Windows the static
# ones that scripts/deps-decoders.sh cross-builds, with opusfile compiled here
# from the sources it copies beside them.
find_path(OGG_INCLUDE_DIR ogg/ogg.h REQUIRED)
add_library(tarnuvo_mpg123 INTERFACE)
add_library(tarnuvo_flac INTERFACE)
if(TARNUVO_WINDOWS)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_decoders_arch x64)
  else()
    set(_decoders_arch x86)
  endif()
  set(TARNUVO_DECODERS_PREFIX ${PROJECT_SOURCE_DIR}/build/deps/decoders-${_decoders_arch}
      CACHE PATH "Prefix of the cross-built libmpg123, libFLAC and libopus and the opusfile sources")
  set(_decoders ${TARNUVO_DECODERS_PREFIX})
  foreach(file lib/libmpg123.a lib/libFLAC.a lib/libopus.a src/opusfile/opusfile.c)
    if(NOT EXISTS ${_decoders}/${file})
      message(FATAL_ERROR "${_decoders}/${file} is missing: "
                          "run scripts/setup.sh (or scripts/deps-decoders.sh ${_decoders_arch})")
    endif()
  endforeach()

  # Static libmpg123 exports plainly unless LINK_MPG123_DLL is defined; its
  # Unicode path helpers use shlwapi.
  target_include_directories(tarnuvo_mpg123 SYSTEM INTERFACE ${_decoders}/include)
  target_link_libraries(tarnuvo_mpg123 INTERFACE ${_decoders}/lib/libmpg123.a shlwapi)

  target_include_directories(tarnuvo_flac SYSTEM INTERFACE ${_decoders}/include)
  target_compile_definitions(tarnuvo_flac INTERFACE FLAC__NO_DLL)
  target_link_libraries(tarnuvo_flac INTERFACE ${_decoders}/lib/libFLAC.a)

  # Without HTTP (http.c is left out) and without assertions, as its own
  # default build; lrintf exists in mingw's runtime. Third-party code: no
  # warnings of ours.
  add_library(tarnuvo_opusfile STATIC ${_decoders}/src/opusfile/info.c
    ${_decoders}/src/opusfile/internal.c ${_decoders}/src/opusfile/opusfile.c
    ${_decoders}/src/opusfile/stream.c)
  target_compile_definitions(tarnuvo_opusfile PRIVATE OP_HAVE_LRINTF)
  target_compile_options(tarnuvo_opusfile PRIVATE -w)
  target_include_directories(tarnuvo_opusfile SYSTEM PUBLIC ${_decoders}/include/opus ${OGG_INCLUDE_DIR})
  target_link_libraries(tarnuvo_opusfile PUBLIC ${_decoders}/lib/libopus.a ${OGG_LIBRARY})
else()
  find_path(MPG123_INCLUDE_DIR mpg123.h REQUIRED)
  find_library(MPG123_LIBRARY NAMES mpg123 REQUIRED)
  target_include_directories(tarnuvo_mpg123 SYSTEM INTERFACE ${MPG123_INCLUDE_DIR})
  target_link_libraries(tarnuvo_mpg123 INTERFACE ${MPG123_LIBRARY})

  find_path(FLAC_INCLUDE_DIR FLAC/stream_decoder.h REQUIRED)
  find_library(FLAC_LIBRARY NAMES FLAC REQUIRED)
  target_include_directories(tarnuvo_flac SYSTEM INTERFACE ${FLAC_INCLUDE_DIR})
  target_link_libraries(tarnuvo_flac INTERFACE ${FLAC_LIBRARY})

  find_path(OPUSFILE_INCLUDE_DIR opusfile.h PATH_SUFFIXES opus REQUIRED)
  find_library(OPUSFILE_LIBRARY NAMES opusfile REQUIRED)
  find_library(OPUS_LIBRARY NAMES opus REQUIRED)
  add_library(tarnuvo_opusfile INTERFACE)
  target_include_directories(tarnuvo_opusfile SYSTEM INTERFACE ${OPUSFILE_INCLUDE_DIR} ${OGG_INCLUDE_DIR})
  target_link_libraries(tarnuvo_opusfile INTERFACE ${OPUSFILE_LIBRARY} ${OPUS_LIBRARY} ${OGG_LIBRARY})
endif()

# GoogleTest from Debian's source package, built with this build's compiler.
set(TARNUVO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${TARNUVO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

if(NOT TARNUVO_WINDOWS AND NOT TARNUVO_SANITIZE)
  find_package(benchmark QUIET)
endif()
