# libFuzzer targets that see the code they test. The harness alone built with
# -fsanitize=fuzzer leaves the fuzzer blind: it only learns from edges in
# instrumented code, so every library a target links is compiled with
# coverage as well.

# tarnuvo_fuzz_instrument(<target>...)
# Compiles the project's own libraries among the targets, and every one of
# them that they link in turn, with -fsanitize=fuzzer-no-link. Libraries from
# outside the source tree (GoogleTest, the system's) are left as they are.
# Consumers link with the same flag, which brings in the coverage callbacks
# where no sanitizer runtime does, so the other tests keep linking.
function(tarnuvo_fuzz_instrument)
  set(pending ${ARGN})
  set(seen)
  while(pending)
    list(POP_FRONT pending item)
    # Only $<LINK_ONLY:...> is unwrapped; other expressions name no target here.
    if(item MATCHES "^\\$<LINK_ONLY:(.+)>$")
      set(item ${CMAKE_MATCH_1})
    endif()
    if(NOT TARGET ${item} OR item IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${item})
    get_target_property(aliased ${item} ALIASED_TARGET)
    if(aliased)
      list(APPEND pending ${aliased})
      continue()
    endif()
    get_target_property(type ${item} TYPE)
    get_target_property(imported ${item} IMPORTED)
    get_target_property(dir ${item} SOURCE_DIR)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${dir}" NORMALIZE ours)
    if(imported OR NOT ours)
      continue()
    endif()
    get_target_property(links ${item} INTERFACE_LINK_LIBRARIES)
    if(links)
      list(APPEND pending ${links})
    endif()
    if(type STREQUAL "INTERFACE_LIBRARY")
      continue()
    endif()
    get_target_property(links ${item} LINK_LIBRARIES)
    if(links)
      list(APPEND pending ${links})
    endif()
    get_target_property(done ${item} TARNUVO_FUZZ_INSTRUMENTED)
    if(NOT done)
      target_compile_options(${item} PRIVATE -fsanitize=fuzzer-no-link)
      target_link_options(${item} INTERFACE -fsanitize=fuzzer-no-link)
      set_target_properties(${item} PROPERTIES TARNUVO_FUZZ_INSTRUMENTED ON)
    endif()
  endwhile()
endfunction()

# tarnuvo_add_fuzzer(<name> SOURCES ... LIBS ... SEEDS <dir> MIN_EDGES <n> [SECONDS <s>])
# A libFuzzer target over LIBS, all of them instrumented, and the test
# <name>_bounded: a run of SECONDS (60 unless given; TARNUVO_FUZZ_SECONDS at
# run time for longer) from the committed seeds in SEEDS. The test fails on a crash, a leak, a
# sanitizer report, and when the run covers fewer than MIN_EDGES edges: the
# seeds alone reach more than that in a target that sees its libraries, so a
# blind target fails at once whatever the speed of the machine.
function(tarnuvo_add_fuzzer name)
  cmake_parse_arguments(F "" "SEEDS;MIN_EDGES;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT F_SEEDS OR NOT F_MIN_EDGES)
    message(FATAL_ERROR "${name}: SEEDS and MIN_EDGES are required")
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  tarnuvo_fuzz_instrument(${F_LIBS})
  if(TARNUVO_TESTS_RUNNABLE)
    # No ctest timeout: the runner bounds itself by the length it was asked for.
    add_test(NAME ${name}_bounded
      COMMAND sh ${PROJECT_SOURCE_DIR}/tests/run_fuzzer.sh $<TARGET_FILE:${name}>
              ${F_SEEDS} ${F_MIN_EDGES} ${F_SECONDS}
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${name}_bounded PROPERTIES LABELS fuzz)
    if(CMAKE_GENERATOR STREQUAL "Ninja")
      # The link line shows what the target really links.
      add_test(NAME ${name}_instrumented
        COMMAND sh ${PROJECT_SOURCE_DIR}/tests/fuzz_instrumented_test.sh ${CMAKE_MAKE_PROGRAM}
                ${CMAKE_BINARY_DIR} ${name})
      set_tests_properties(${name}_instrumented PROPERTIES LABELS fuzz TIMEOUT 60)
    endif()
  endif()
endfunction()
