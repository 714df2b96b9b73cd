cmake_minimum_required(VERSION 3.18)
# cmake -P: packs the Windows game into ZIP. Run by the windows_zip target
# with SOURCE (the sources), PROGRAM (vantrel.exe), VERSION, LIBS (the
# libraries' prefix, whose licences/ holds their licence texts), STAGE (an
# empty place to lay the folder out) and ZIP.
#
# vantrel-VERSION/
#   vantrel.exe       needs nothing but Windows' own DLLs
#   README.txt        for players
#   data/             the pictures, levels and sounds the game reads
#   licences/         the game's own terms and those of everything linked in
set(folder vantrel-${VERSION})
set(out ${STAGE}/${folder})
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${out}/data ${out}/licences)

# Texts with Windows' line ends, so that every editor shows them right.
function(windows_text from to)
  file(READ ${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
  file(WRITE ${to} "${text}")
endfunction()

file(COPY ${PROGRAM} DESTINATION ${out})
file(GLOB data ${SOURCE}/data/*.tga ${SOURCE}/data/*.jpg ${SOURCE}/data/level*.lvl.txt ${SOURCE}/data/sfx-*.wav)
file(COPY ${data} DESTINATION ${out}/data)
windows_text(${SOURCE}/dist/windows/README.txt ${out}/README.txt)
windows_text(${SOURCE}/data/README ${out}/data/README.txt)
windows_text(${SOURCE}/dist/copyright ${out}/licences/vantrel.txt)
file(GLOB library_licences ${LIBS}/licences/*.txt)
if(NOT library_licences)
  message(FATAL_ERROR "${LIBS}/licences holds no licence texts of the libraries")
endif()
foreach(licence ${library_licences})
  get_filename_component(name ${licence} NAME)
  windows_text(${licence} ${out}/licences/${name})
endforeach()
# The compiler's runtime linked into the program: Debian's records of its
# copyright and licences.
windows_text(/usr/share/doc/mingw-w64-x86-64-dev/copyright ${out}/licences/mingw-w64-runtime.txt)
windows_text(/usr/share/doc/gcc-mingw-w64-base/copyright ${out}/licences/gcc-runtime.txt)

# Every entry dated the same, in the order of its name and without the
# builder's owners and access times, so that the same build packs the same
# zip.
file(GLOB_RECURSE entries RELATIVE ${STAGE} ${out}/*)
list(SORT entries)
file(REMOVE ${ZIP})
execute_process(COMMAND touch -d "2026-01-01 00:00:00 UTC" ${folder} ${entries} WORKING_DIRECTORY ${STAGE}
                RESULT_VARIABLE failed)
if(NOT failed)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -9 -q ${ZIP} ${folder}/ ${entries}
                  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
endif()
if(failed)
  message(FATAL_ERROR "could not write ${ZIP}")
endif()
