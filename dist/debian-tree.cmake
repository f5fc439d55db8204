# SPDX-License-Identifier: GPL-3.0-or-later
# cpack runs this on the Debian package's staged tree, before it packs it.
set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})

# Debian keeps one copy of each licence for every package (/usr/share/common-licenses), which the
# copyright file names.
file(REMOVE_RECURSE ${root}/${CPACK_ZORVIK_LICENCE_DIR})
cmake_path(GET CPACK_ZORVIK_LICENCE_DIR PARENT_PATH licences)
file(GLOB others ${root}/${licences}/*)
if(NOT others)
    file(REMOVE_RECURSE ${root}/${licences})
endif()

# Strip as Debian's own packages are stripped: the compiler's identification goes too.
file(GLOB programs ${root}/bin/*)
foreach(program IN LISTS programs)
    execute_process(COMMAND ${CPACK_ZORVIK_STRIP} --remove-section=.comment --remove-section=.note
                            ${program}
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()

configure_file(${CPACK_ZORVIK_LINTIAN_OVERRIDES} ${root}/share/lintian/overrides/zorvik COPYONLY)
