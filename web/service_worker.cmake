# Writes the site's service worker, sw.js, from sw.js.in: the list of every file of the site
# and a cache named for this build, from the files' own bytes, so that a build that changes
# any file gets a cache of its own and one that changes none keeps its own.
#   cmake -DSITE=folder -DTEMPLATE=sw.js.in -P service_worker.cmake
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(contents "")
set(listed "\"./\"")
foreach(file ${files})
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND contents "${file} ${hash}\n")
  string(APPEND listed ", \"${file}\"")
endforeach()
string(SHA256 build "${contents}")
string(SUBSTRING ${build} 0 16 VORBIX_BUILD)
set(VORBIX_FILES "[${listed}]")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
