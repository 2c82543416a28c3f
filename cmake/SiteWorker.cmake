# Run as a script when the site is built (cmake -DSITE=<folder> -DTEMPLATE=<sw.js.in>
# -P SiteWorker.cmake): writes <folder>/sw.js, the service worker, with the list of every
# file of the site and a version made from their contents, so a changed file makes a new
# cache that replaces the old one at the next visit.
if(NOT SITE OR NOT TEMPLATE)
  message(FATAL_ERROR "usage: cmake -DSITE=<folder> -DTEMPLATE=<sw.js.in> -P ${CMAKE_CURRENT_LIST_FILE}")
endif()
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(NUMORA_SITE_FILES "  './',\n")
set(digests "")
foreach(file IN LISTS files)
  file(SHA256 ${SITE}/${file} digest)
  string(APPEND digests "${file} ${digest}\n")
  string(APPEND NUMORA_SITE_FILES "  '${file}',\n")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 NUMORA_SITE_VERSION)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
