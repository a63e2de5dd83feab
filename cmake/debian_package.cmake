# The Debian package of whatever `cmake --install` installs (scripts/package.sh builds it), in the
# shape Debian's package checker (lintian) accepts: a real maintainer, a long description, gzipped
# man pages and changelog (gzip -n: no name or time inside, so rebuilds give equal files) and a
# copyright file.
set(VORMEL_MAINTAINER "Vormel developers <maintainers@vormel.org>"
    CACHE STRING "Maintainer of the Debian package: name <address>")

# Gzips a file into the build tree at configure time; a change of the source configures again.
function(vormel_gzipped source out)
  configure_file(${source} ${out}.plain COPYONLY)
  execute_process(COMMAND gzip -n -9 -c ${out}.plain OUTPUT_FILE ${out} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

set(VORMEL_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package_files)
file(MAKE_DIRECTORY ${VORMEL_PACKAGE_FILES})
foreach(page vormelc vormel)
  vormel_gzipped(${CMAKE_SOURCE_DIR}/docs/${page}.1 ${VORMEL_PACKAGE_FILES}/${page}.1.gz)
endforeach()
install(FILES ${VORMEL_PACKAGE_FILES}/vormelc.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(VORMEL_HAVE_GUI)
  install(FILES ${VORMEL_PACKAGE_FILES}/vormel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
configure_file(${CMAKE_SOURCE_DIR}/assets/debian/changelog.in ${VORMEL_PACKAGE_FILES}/changelog @ONLY)
vormel_gzipped(${VORMEL_PACKAGE_FILES}/changelog ${VORMEL_PACKAGE_FILES}/changelog.gz)
configure_file(${CMAKE_SOURCE_DIR}/assets/debian/copyright.in ${VORMEL_PACKAGE_FILES}/copyright @ONLY)
install(FILES ${VORMEL_PACKAGE_FILES}/changelog.gz ${VORMEL_PACKAGE_FILES}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vormel)
set(CPACK_PACKAGE_VENDOR "Vormel developers")
set(CPACK_PACKAGE_CONTACT "${VORMEL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "minimizer of multi-output two-level AND/OR logic")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_SOURCE_DIR}/assets/debian/description.txt)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# The programs and the Python module; the library's development files (component Development) are
# for `cmake --install`.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified)
if(TARGET vormel_python)
  # The module is built for this python3 version only.
  math(EXPR python_next_minor "${PYTHON_VERSION_MINOR} + 1")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "python3 (>= ${PYTHON_VERSION_MAJOR}.${PYTHON_VERSION_MINOR}~), python3 (<< ${PYTHON_VERSION_MAJOR}.${python_next_minor})")
endif()
include(CPack)
