# Writes the page's service worker, SITE/sw.js, from TEMPLATE (dist/web/sw.js.in):
# the files it keeps, each with its SHA-256, and the build's name, VERSION
# and a short hash of those files and of the template. Any change to what
# the page loads, even without a new version, is a new name, so browsers
# fetch the new set whole. Run after every build of the page; sw.js is
# written again only when it changes.
#
#   cmake -DSITE=DIR -DVERSION=X.Y.Z -DFILES=NAME,NAME,... -DTEMPLATE=FILE -P web_offline.cmake
string(REPLACE "," ";" files "${FILES}")
list(SORT files)
file(SHA256 ${TEMPLATE} everything)
set(offline_files "{\n")
foreach(name IN LISTS files)
  if(NOT EXISTS ${SITE}/${name})
    message(FATAL_ERROR "The page loads ${name}, which is not in ${SITE}")
  endif()
  file(SHA256 ${SITE}/${name} sum)
  string(APPEND offline_files "    '${name}': '${sum}',\n")
  string(APPEND everything " ${name} ${sum}")
endforeach()
string(APPEND offline_files "}")
string(SHA256 everything "${everything}")
string(SUBSTRING ${everything} 0 12 short)
set(offline_build "${VERSION}-${short}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
