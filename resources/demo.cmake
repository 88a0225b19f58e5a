# The demo loop, synthesized by a host-side script at build time so that no
# foreign media ships with the project. Every build tree gets its own copy in
# ${CMAKE_BINARY_DIR}/demo; tests can depend on the tarnuvo_demo target.
find_program(TARNUVO_PYTHON NAMES python3 REQUIRED)
find_program(TARNUVO_OGGENC NAMES oggenc REQUIRED)

set(TARNUVO_DEMO_DIR ${CMAKE_BINARY_DIR}/demo)
set(TARNUVO_DEMO_WAV ${TARNUVO_DEMO_DIR}/demo-loop.wav)
set(TARNUVO_DEMO_OGG ${TARNUVO_DEMO_DIR}/demo-loop.ogg)
set(TARNUVO_DEMO_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/make-demo.py)

add_custom_command(
  OUTPUT ${TARNUVO_DEMO_WAV} ${TARNUVO_DEMO_OGG}
  COMMAND ${TARNUVO_PYTHON} ${TARNUVO_DEMO_SCRIPT} --oggenc ${TARNUVO_OGGENC} ${TARNUVO_DEMO_DIR}
  DEPENDS ${TARNUVO_DEMO_SCRIPT}
  COMMENT "Synthesizing the demo loop"
  VERBATIM)
add_custom_target(tarnuvo_demo ALL DEPENDS ${TARNUVO_DEMO_WAV} ${TARNUVO_DEMO_OGG})

# The files' layout and the seam are checked once, by the plain native build.
if(NOT CMAKE_CROSSCOMPILING AND NOT TARNUVO_SANITIZE)
  find_program(TARNUVO_OGGDEC NAMES oggdec REQUIRED)
  find_program(TARNUVO_VORBISCOMMENT NAMES vorbiscomment REQUIRED)
  add_test(NAME demo_loop_files
    COMMAND ${TARNUVO_PYTHON} ${TARNUVO_DEMO_SCRIPT} --check --oggdec ${TARNUVO_OGGDEC}
            --vorbiscomment ${TARNUVO_VORBISCOMMENT} ${TARNUVO_DEMO_DIR})
endif()
