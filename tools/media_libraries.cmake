# The cross-built static libraries behind the stand-in DLLs (scripts/deps-media.sh).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_media_arch x64)
else()
  set(_media_arch x86)
endif()
set(TARNUVO_MEDIA_PREFIX ${PROJECT_SOURCE_DIR}/build/deps/media-${_media_arch}
    CACHE PATH "Prefix of the cross-built zlib, liblzma, libarchive and TagLib")
foreach(lib z lzma archive tag)
  if(NOT EXISTS ${TARNUVO_MEDIA_PREFIX}/lib/lib${lib}.a)
    message(FATAL_ERROR "${TARNUVO_MEDIA_PREFIX}/lib/lib${lib}.a is missing: "
                        "run scripts/setup.sh (or scripts/deps-media.sh ${_media_arch})")
  endif()
endforeach()

add_library(tarnuvo_libarchive INTERFACE)
target_include_directories(tarnuvo_libarchive SYSTEM INTERFACE ${TARNUVO_MEDIA_PREFIX}/include)
target_compile_definitions(tarnuvo_libarchive INTERFACE LIBARCHIVE_STATIC)
target_link_libraries(tarnuvo_libarchive INTERFACE
  ${TARNUVO_MEDIA_PREFIX}/lib/libarchive.a ${TARNUVO_MEDIA_PREFIX}/lib/liblzma.a
  ${TARNUVO_MEDIA_PREFIX}/lib/libz.a bcrypt)

add_library(tarnuvo_taglib INTERFACE)
target_include_directories(tarnuvo_taglib SYSTEM INTERFACE ${TARNUVO_MEDIA_PREFIX}/include/taglib)
target_compile_definitions(tarnuvo_taglib INTERFACE TAGLIB_STATIC)
target_link_libraries(tarnuvo_taglib INTERFACE
  ${TARNUVO_MEDIA_PREFIX}/lib/libtag.a ${TARNUVO_MEDIA_PREFIX}/lib/libz.a)

# A DLL with the plain names the loading program asks for: no "lib" prefix,
# and on 32-bit no "@n" decoration of its __stdcall exports.
function(tarnuvo_add_standin_dll target)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--kill-at)
  endif()
endfunction()

# tarnuvo_place_dlls(<tree target> <folder> [ALL] <dll target> <file name> [<dll target> <file name>]...)
# Copies built DLLs under the given names into a test or demo folder; the
# tree target is brought up to date with them.
function(tarnuvo_place_dlls tree folder)
  set(outputs)
  set(args ${ARGN})
  set(all)
  if(args AND "${args}" MATCHES "^ALL;")
    list(POP_FRONT args all)
  endif()
  while(args)
    list(POP_FRONT args dll name)
    add_custom_command(OUTPUT ${folder}/${name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${dll}> ${folder}/${name}
      DEPENDS ${dll}
      VERBATIM)
    list(APPEND outputs ${folder}/${name})
  endwhile()
  add_custom_target(${tree} ${all} DEPENDS ${outputs})
endfunction()

# The archiver file names of the program's table, in table order.
set(TARNUVO_ARCHIVER_DLL_NAMES 7-zip32.dll Unrar32.dll Unlha32.dll Unzip32.dll
    CACHE INTERNAL "")
