# The browser build (emcmake cmake, see make web): SDL2, SDL2_image and
# SDL2_mixer as built for WebAssembly by tools/build-libs.sh into
# VANTREL_WEB_LIBS, OpenGL through the compiler's fixed-function emulation
# over WebGL, and the page's files beside the program in site/.
set(VANTREL_WEB_LIBS "" CACHE PATH "Where tools/build-libs.sh web installed SDL2, SDL2_image and SDL2_mixer")
if(NOT EXISTS "${VANTREL_WEB_LIBS}/lib/libSDL2.a")
  message(FATAL_ERROR "VANTREL_WEB_LIBS (${VANTREL_WEB_LIBS}) holds no SDL2 built for the browser: make web builds it")
endif()

list(APPEND platform_sources platform/web_present.cpp platform/web_audio.cpp platform/web_gl.cpp)
target_include_directories(vantrel_system INTERFACE ${VANTREL_WEB_LIBS}/include/SDL2 ${VANTREL_WEB_LIBS}/include)
target_link_libraries(vantrel_system INTERFACE ${VANTREL_WEB_LIBS}/lib/libSDL2_mixer.a
                      ${VANTREL_WEB_LIBS}/lib/libSDL2_image.a ${VANTREL_WEB_LIBS}/lib/libSDL2.a)

# How the program gives the page control back at every frame and during the
# game-over pause (see platform/web_present.cpp).
set(VANTREL_WEB_LOOP "asyncify" CACHE STRING "asyncify")

function(add_web_page)
  set(site ${CMAKE_BINARY_DIR}/site)
  file(WRITE ${CMAKE_BINARY_DIR}/library_functions.json "[\"$autoResumeAudioContext\", \"$dynCall\"]\n")
  add_executable(vantrel app/web_main.cpp)
  target_link_libraries(vantrel PRIVATE vantrel_core)
  set_target_properties(vantrel PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${site})
  target_link_options(vantrel PRIVATE
    -sLEGACY_GL_EMULATION=1
    -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1
    -sEXIT_RUNTIME=1
    -sEXPORTED_FUNCTIONS=_main,_vantrel_flush_demo
    -sEXPORTED_RUNTIME_METHODS=FS,addRunDependency,removeRunDependency
    # SDL's audio resumes the page's audio context on the first key or click
    # (the names begin with $, which the build tools would escape on the
    # command line, hence the list in a file).
    -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_BINARY_DIR}/library_functions.json
    # The game's data at /data, the program's working directory being /.
    "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/data@/data" "SHELL:--exclude-file *.png" "SHELL:--exclude-file README")
  set_property(TARGET vantrel APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/data)
  # The page itself.
  file(GLOB page_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/dist/web/*)
  foreach(file ${page_files})
    get_filename_component(name ${file} NAME)
    configure_file(${file} ${site}/${name} COPYONLY)
  endforeach()
endfunction()
