# Run by `cmake --install` after every other rule: writes
# <prefix>/${VOXA_PROGRAM_DIR}/uninstall.sh, which removes each file this
# install wrote (CMAKE_INSTALL_MANIFEST_FILES, the uninstaller included) and
# then the folders that only Voxa uses, when they are left empty. It names the
# files relative to its own place, so it serves wherever the tree is.
set(root "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/$" "" root "${root}")
set(uninstaller "${VOXA_PROGRAM_DIR}/uninstall.sh")

set(removals "")
foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES ITEMS "${root}/${uninstaller}")
  string(FIND "${file}" "${root}/" at)
  if(NOT at EQUAL 0)
    message(FATAL_ERROR "voxa: ${file} lies outside the prefix ${root}")
  endif()
  string(LENGTH "${root}/" skip)
  string(SUBSTRING "${file}" ${skip} -1 relative)
  if(relative MATCHES "'")
    message(FATAL_ERROR "voxa: cannot name ${relative} in the uninstaller")
  endif()
  string(APPEND removals "rm -f -- '${relative}'\n")
endforeach()

# From <prefix>/lib/voxa/ back up to <prefix>/.
string(REGEX REPLACE "[^/]+" ".." up "${VOXA_PROGRAM_DIR}")

file(WRITE "$ENV{DESTDIR}${root}/${uninstaller}" "#!/bin/sh
# Removes the Voxa that `cmake --install` put under this prefix.
set -e
cd \"$(dirname \"$0\")/${up}\"
${removals}rmdir '${VOXA_PROGRAM_DIR}' 2>/dev/null || true
rmdir '${VOXA_DATA_DIR}' 2>/dev/null || true
echo \"Voxa removed from $(pwd)\"
")
file(CHMOD "$ENV{DESTDIR}${root}/${uninstaller}"
     PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                 WORLD_READ WORLD_EXECUTE)
message(STATUS "Installing: $ENV{DESTDIR}${root}/${uninstaller}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${root}/${uninstaller}")
