# The browser build (emcmake cmake, see make web): SDL2, SDL2_image and
# SDL2_mixer as built for WebAssembly by tools/build-libs.sh into
# VANTREL_WEB_LIBS, OpenGL through the compiler's fixed-function emulation
# over WebGL, and the page's files beside the program in site/.

# The page downloads and compiles the program before its title shows: the
# code built here is made for size (-Oz), and so is the link, whose optimiser
# takes the same flags. The page test prints what the page loads and how soon
# the title shows (tests/web/page_test.mjs).
set(CMAKE_CXX_FLAGS_RELEASE "-Oz -DNDEBUG")
set(VANTREL_WEB_LIBS "" CACHE PATH "Where tools/build-libs.sh web installed SDL2, SDL2_image and SDL2_mixer")
if(NOT EXISTS "${VANTREL_WEB_LIBS}/lib/libSDL2.a")
  message(FATAL_ERROR "VANTREL_WEB_LIBS (${VANTREL_WEB_LIBS}) holds no SDL2 built for the browser: make web builds it")
endif()

list(APPEND platform_sources platform/web_present.cpp platform/web_audio.cpp platform/web_gl.cpp
     platform/web_player_storage.cpp
     platform/posix_file_stamp.cpp platform/posix_file_writing.cpp platform/web_file_lock.cpp
     platform/posix_data_folder.cpp platform/posix_settings_folder.cpp platform/own_ini_reader.cpp)
target_include_directories(vantrel_system INTERFACE ${VANTREL_WEB_LIBS}/include/SDL2 ${VANTREL_WEB_LIBS}/include)
target_link_libraries(vantrel_system INTERFACE ${VANTREL_WEB_LIBS}/lib/libSDL2_mixer.a
                      ${VANTREL_WEB_LIBS}/lib/libSDL2_image.a ${VANTREL_WEB_LIBS}/lib/libSDL2.a)

# What both ways of running the loop (see add_web_bench) link with.
set(web_link_options
  -sLEGACY_GL_EMULATION=1
  -sALLOW_MEMORY_GROWTH=1
  -sEXIT_RUNTIME=1
  -sEXPORTED_RUNTIME_METHODS=FS,addRunDependency,removeRunDependency
  # Only a browser page runs it: no code for running under node or in a worker.
  -sENVIRONMENT=web
  # The player's files kept in the browser's IndexedDB (platform/web_player_storage.cpp).
  -lidbfs.js
  # SDL's audio resumes the page's audio context on the first key or click
  # (the names begin with $, which the build tools would escape on the
  # command line, hence the list in a file).
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_BINARY_DIR}/library_functions.json
  # The game's data at /data, the program's working directory being /.
  "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/data@/data" "SHELL:--exclude-file *.png" "SHELL:--exclude-file README")
file(WRITE ${CMAKE_BINARY_DIR}/library_functions.json "[\"$autoResumeAudioContext\", \"$dynCall\"]\n")


function(add_web_page)
  set(site ${CMAKE_BINARY_DIR}/site)
  add_executable(vantrel app/web_main.cpp app/web_controls.cpp)
  target_link_libraries(vantrel PRIVATE vantrel_game)
  set_target_properties(vantrel PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${site})
  # Asyncify: the blocking loop gives the page control back at every frame
  # and during the game-over pause (see platform/web_present.cpp). Every
  # function that may be on the stack when it does is rewritten so that it
  # can leave and come back, which, as the compiler judges it (any call
  # through a pointer might lead there), is most of the program. The
  # libraries' code named in cmake/web_asyncify_remove.txt never calls back
  # into the game's, so it is never under such a wait and is left as it is:
  # some 15 % less to download. (SDL_Delay, which waits for the message
  # box, only runs again from its start when the wait is over.) Should a
  # wait ever be reached under another of them, the program would go wrong,
  # which the page test's play and replays would show.
  target_link_options(vantrel PRIVATE ${web_link_options} -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
    -sASYNCIFY_REMOVE=@${PROJECT_SOURCE_DIR}/cmake/web_asyncify_remove.txt
    -sEXPORTED_FUNCTIONS=_main,_vantrel_save_game_so_far)
  set_property(TARGET vantrel APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/data
               ${PROJECT_SOURCE_DIR}/cmake/web_asyncify_remove.txt)
  # The page itself (sw.js.in is made into sw.js below).
  file(GLOB page_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/dist/web/*)
  list(REMOVE_ITEM page_files ${PROJECT_SOURCE_DIR}/dist/web/sw.js.in)
  set(offline_files vantrel.js vantrel.wasm vantrel.data)
  foreach(file ${page_files})
    get_filename_component(name ${file} NAME)
    configure_file(${file} ${site}/${name} COPYONLY)
    list(APPEND offline_files ${name})
  endforeach()
  # The icon its manifest names, at the two sizes drawn for it (data/README).
  foreach(size 192 512)
    configure_file(${PROJECT_SOURCE_DIR}/data/icon-${size}.png ${site}/icon-${size}.png COPYONLY)
    list(APPEND offline_files icon-${size}.png)
  endforeach()
  # The service worker that keeps all of these for playing offline, written
  # after every build from what they hold (cmake/web_offline.cmake).
  list(JOIN offline_files "," offline_files)
  add_custom_target(offline_worker ALL
    COMMAND ${CMAKE_COMMAND} -DSITE=${site} -DVERSION=${PROJECT_VERSION} -DFILES=${offline_files}
            -DTEMPLATE=${PROJECT_SOURCE_DIR}/dist/web/sw.js.in -P ${PROJECT_SOURCE_DIR}/cmake/web_offline.cmake
    VERBATIM)
  add_dependencies(offline_worker vantrel)
endfunction()

# make web-bench: the same game with the other way of giving the browser
# control back (bench/web_frame_loop.cpp), as site/frame-loop.js, to compare
# sizes and speeds with the page's own build.
option(VANTREL_WEB_BENCH "Build the per-frame loop beside the page's build" OFF)
function(add_web_bench)
  get_target_property(sources vantrel_core SOURCES)
  list(REMOVE_ITEM sources platform/web_present.cpp)
  list(APPEND sources bench/web_frame_present.cpp)
  add_library(vantrel_core_frame STATIC ${sources})
  target_include_directories(vantrel_core_frame PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(vantrel_core_frame PUBLIC vantrel_system)
  get_target_property(definitions vantrel_core COMPILE_DEFINITIONS)
  # It counts presents through the tests' backends.
  add_executable(frame-loop bench/web_frame_loop.cpp ${test_backend_sources})
  target_link_libraries(frame-loop PRIVATE vantrel_core_frame)
  target_include_directories(frame-loop PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set_target_properties(frame-loop PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/site)
  target_link_options(frame-loop PRIVATE ${web_link_options})
  configure_file(${PROJECT_SOURCE_DIR}/bench/web_frame_loop.html ${CMAKE_BINARY_DIR}/site/frame-loop.html COPYONLY)
endfunction()
