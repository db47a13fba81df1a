# Installed layout: the programs find their files beside their executable, so everything they
# read lives together in <prefix>/lib/qel; bin/ only holds links to it.
#
#   lib/qel/qel, lib/qel/qel-render, lib/qel/Attractors.ini, countries.xml, QelGuide.txt
#   lib/qel/res/Blinking.bmp
#   bin/qel -> ../lib/qel/qel, bin/qel-render -> ../lib/qel/qel-render
#   share/applications/qel.desktop, share/icons/hicolor/<N>x<N>/apps/qel.png
#   share/doc/qel/copyright, share/doc/qel/changelog.gz
set(QEL_INSTALL_DIR lib/qel)
set(QEL_ICON_SIZES 16 22 24 32 48 64 128 256)

set(_qel_programs)
foreach(_qel_target IN ITEMS qel qel-render)
  if(TARGET ${_qel_target})
    install(TARGETS ${_qel_target} RUNTIME DESTINATION ${QEL_INSTALL_DIR})
    list(APPEND _qel_programs ${_qel_target})
  endif()
endforeach()

# Globbed at install time, so a data file added later needs no new configure run.
set(_qel_data_patterns)
foreach(_qel_file IN LISTS QEL_DATA_FILES)
  get_filename_component(_qel_name ${_qel_file} NAME)
  list(APPEND _qel_data_patterns PATTERN ${_qel_name})
endforeach()
if(_qel_data_patterns)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${QEL_INSTALL_DIR}
          FILES_MATCHING ${_qel_data_patterns})
endif()

# The marker is looked up as res/Blinking.bmp from the working directory; the desktop entry
# starts the program in lib/qel so that it is found there.
install(FILES ${CMAKE_SOURCE_DIR}/res/Blinking.bmp DESTINATION ${QEL_INSTALL_DIR}/res)

# Relative links keep working wherever the prefix (or a package's staging root) ends up.
set(_qel_links_dir ${CMAKE_BINARY_DIR}/install-links)
file(REMOVE_RECURSE ${_qel_links_dir})
file(MAKE_DIRECTORY ${_qel_links_dir})
foreach(_qel_program IN LISTS _qel_programs)
  file(CREATE_LINK ../${QEL_INSTALL_DIR}/${_qel_program} ${_qel_links_dir}/${_qel_program}
       SYMBOLIC)
  install(FILES ${_qel_links_dir}/${_qel_program} DESTINATION bin)
endforeach()

foreach(_qel_size IN LISTS QEL_ICON_SIZES)
  install(FILES ${CMAKE_SOURCE_DIR}/res/icons/qel-${_qel_size}.png
          DESTINATION share/icons/hicolor/${_qel_size}x${_qel_size}/apps RENAME qel.png)
endforeach()

# Debian wants the licence and a compressed changelog beside every package's documentation.
set(_qel_changelog ${CMAKE_BINARY_DIR}/changelog.gz)
execute_process(COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog
                OUTPUT_FILE ${_qel_changelog} RESULT_VARIABLE _qel_gzip)
if(NOT _qel_gzip EQUAL 0)
  message(FATAL_ERROR "gzip could not compress packaging/changelog")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${_qel_changelog} DESTINATION share/doc/qel)

# The entry's Path= names the real lib/qel, known only at install time (--prefix, CPack).
install(CODE "
  file(READ \"${CMAKE_SOURCE_DIR}/packaging/qel.desktop\" _qel_entry)
  string(REGEX REPLACE \"\\nPath=[^\\n]*\" \"\\nPath=\${CMAKE_INSTALL_PREFIX}/${QEL_INSTALL_DIR}\"
         _qel_entry \"\${_qel_entry}\")
  set(_qel_dest \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications\")
  file(MAKE_DIRECTORY \"\${_qel_dest}\")
  message(STATUS \"Installing: \${_qel_dest}/qel.desktop\")
  file(WRITE \"\${_qel_dest}/qel.desktop\" \"\${_qel_entry}\")
")

# Debian package: scripts/package runs `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qel)
set(CPACK_PACKAGE_VERSION 2.0.0)
set(CPACK_PACKAGE_VENDOR "QEL team")
set(CPACK_PACKAGE_CONTACT "QEL team <qel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Economic simulator on chaotic attractors")
set(CPACK_PACKAGE_DESCRIPTION
    "QEL integrates six three-variable dynamical systems (Henon, Ikeda, Lorenz,\n"
    "Pickover, Rossler and an economic model of output, money and pricing) and\n"
    "draws their trajectories in four projections, with country presets for the\n"
    "economic model.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "QEL team <qel@example.org>")
# The platform plugins that open a window, the font that stands in for Arial, and the
# libraries of the plots and the parallel work, named even before a binary links them; the rest
# of libc, libstdc++ and Qt (with the versions the binaries need) comes from dpkg-shlibdeps.
set(_qel_depends "qt6-qpa-plugins, fonts-liberation2, libqcustomplot2.1-qt6")
set(_qel_qt_libs libqt6concurrent6 libqt6printsupport6)
find_program(QEL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QEL_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  list(PREPEND _qel_qt_libs libqt6core6 libqt6gui6 libqt6widgets6)
endif()
foreach(_qel_lib IN LISTS _qel_qt_libs)
  string(APPEND _qel_depends ", ${_qel_lib} (>= ${Qt6_VERSION})")
endforeach()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${_qel_depends}")
include(CPack)
