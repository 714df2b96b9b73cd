# The Windows build (make windows, cross-built with cmake/mingw-w64.cmake):
# SDL2, SDL2_image and SDL2_mixer as built by tools/build-libs.sh into
# VANTREL_WINDOWS_LIBS, Windows' own OpenGL and GLU, and the zip a player
# unpacks: vantrel-VERSION/ with the program, its data, a README and the
# licences of what is bundled.
set(VANTREL_WINDOWS_LIBS "" CACHE PATH "Where tools/build-libs.sh windows installed SDL2, SDL2_image and SDL2_mixer")
if(NOT EXISTS "${VANTREL_WINDOWS_LIBS}/lib/libSDL2.a")
  message(FATAL_ERROR "VANTREL_WINDOWS_LIBS (${VANTREL_WINDOWS_LIBS}) holds no SDL2 built for Windows: make windows builds it")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${VANTREL_WINDOWS_LIBS})
# SDL2's own package brings the Windows libraries it needs. Those of
# SDL2_image and SDL2_mixer would look for the decoders they were built
# without, so their archives are named directly.
find_package(SDL2 CONFIG REQUIRED)

list(APPEND platform_sources platform/frame_pacer.cpp platform/sdl_present.cpp platform/desktop_audio.cpp
     platform/disk_player_storage.cpp
     platform/windows_audio.cpp platform/windows_file_stamp.cpp platform/windows_file_writing.cpp
     platform/windows_console.cpp platform/windows_data_folder.cpp platform/windows_settings_folder.cpp
     platform/own_ini_reader.cpp)
target_include_directories(vantrel_system INTERFACE ${VANTREL_WINDOWS_LIBS}/include/SDL2)
target_link_libraries(vantrel_system INTERFACE ${VANTREL_WINDOWS_LIBS}/lib/libSDL2_mixer.a
                      ${VANTREL_WINDOWS_LIBS}/lib/libSDL2_image.a SDL2::SDL2-static opengl32 glu32)
# Windows' headers leave min and max alone, and bring only what is used.
target_compile_definitions(vantrel_system INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN)

# The manifest (dist/windows/vantrel.exe.manifest) is compiled into the program.
enable_language(RC)

function(add_windows_game)
  add_executable(vantrel app/windows_main.cpp dist/windows/vantrel.rc)
  target_link_libraries(vantrel PRIVATE vantrel_game)
  # Nothing but Windows' own DLLs needed beside it (plain -static also takes
  # the C++ runtime's threads library, which -static-libstdc++ leaves as a
  # DLL); a console program, so that output reaches the console it was
  # started from (a double-click lets its own console go at once).
  target_link_options(vantrel PRIVATE -static -mconsole -s)
  # The game's icon, from the desktop icon's pictures, for Explorer, the
  # taskbar and the window (SDL takes the program's first icon).
  set(icon ${CMAKE_BINARY_DIR}/vantrel.ico)
  add_custom_command(OUTPUT ${icon}
    COMMAND sh ${PROJECT_SOURCE_DIR}/tools/make-ico.sh ${icon}
            256:${PROJECT_SOURCE_DIR}/data/icon-256.png 64:${PROJECT_SOURCE_DIR}/data/icon-64.png
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/make-ico.sh ${PROJECT_SOURCE_DIR}/data/icon-256.png
            ${PROJECT_SOURCE_DIR}/data/icon-64.png
    COMMENT "Packing the icon" VERBATIM)
  target_include_directories(vantrel PRIVATE ${CMAKE_BINARY_DIR})
  set_property(SOURCE dist/windows/vantrel.rc APPEND PROPERTY OBJECT_DEPENDS
               ${PROJECT_SOURCE_DIR}/dist/windows/vantrel.exe.manifest ${icon})

  # The zip, staged in zip/ and written beside the sources.
  set(zip ${PROJECT_SOURCE_DIR}/vantrel-${PROJECT_VERSION}-windows-x64.zip)
  file(GLOB packed CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/* ${PROJECT_SOURCE_DIR}/dist/windows/*)
  add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DPROGRAM=$<TARGET_FILE:vantrel>
            -DVERSION=${PROJECT_VERSION} -DLIBS=${VANTREL_WINDOWS_LIBS} -DSTAGE=${CMAKE_BINARY_DIR}/zip -DZIP=${zip}
            -P ${PROJECT_SOURCE_DIR}/cmake/windows_zip.cmake
    DEPENDS vantrel ${packed} ${PROJECT_SOURCE_DIR}/dist/copyright ${PROJECT_SOURCE_DIR}/cmake/windows_zip.cmake
    COMMENT "Packing vantrel-${PROJECT_VERSION}-windows-x64.zip" VERBATIM)
  add_custom_target(windows_zip ALL DEPENDS ${zip})
endfunction()
