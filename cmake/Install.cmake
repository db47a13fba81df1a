# Installed layout, where Debian expects each file:
#
#   bin/qel, bin/qel-render
#   share/qel/Attractors.ini, countries.xml, QelGuide.txt, res/Blinking.bmp
#   share/applications/org.example.qel.desktop, share/metainfo/org.example.qel.metainfo.xml
#   share/icons/hicolor/<N>x<N>/apps/qel.png
#   share/man/man1/qel.1.gz, share/man/man1/qel-render.1.gz
#   share/doc/qel/copyright, share/doc/qel/changelog.gz, share/lintian/overrides/qel
#
# The programs find their files beside themselves, as in a build folder, else in the share/qel
# beside their bin/ (platform::GetProgramFilePath).
set(QEL_APP_ID org.example.qel)
set(QEL_ICON_SIZES 16 22 24 32 48 64 128 256)

set(_qel_programs)
foreach(_qel_target IN ITEMS qel qel-render)
  if(TARGET ${_qel_target})
    install(TARGETS ${_qel_target} RUNTIME DESTINATION bin)
    list(APPEND _qel_programs ${_qel_target})
  endif()
endforeach()
# A stripped install (the package) also drops what Debian's dh_strip drops: the compilers'
# version notes in .comment.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(_qel_program ${_qel_programs})
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/\${_qel_program}\" RESULT_VARIABLE _qel_rc)
      if(NOT _qel_rc EQUAL 0)
        message(FATAL_ERROR \"strip could not drop .comment from bin/\${_qel_program}\")
      endif()
    endforeach()
  endif()
")

# Globbed at install time, so a data file added later needs no new configure run.
set(_qel_data_patterns)
foreach(_qel_file IN LISTS QEL_DATA_FILES)
  get_filename_component(_qel_name ${_qel_file} NAME)
  list(APPEND _qel_data_patterns PATTERN ${_qel_name})
endforeach()
if(_qel_data_patterns)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION share/qel
          FILES_MATCHING ${_qel_data_patterns})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/res/Blinking.bmp DESTINATION share/qel/res)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/qel.desktop DESTINATION share/applications
        RENAME ${QEL_APP_ID}.desktop)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/qel.metainfo.xml DESTINATION share/metainfo
        RENAME ${QEL_APP_ID}.metainfo.xml)
foreach(_qel_size IN LISTS QEL_ICON_SIZES)
  install(FILES ${CMAKE_SOURCE_DIR}/res/icons/qel-${_qel_size}.png
          DESTINATION share/icons/hicolor/${_qel_size}x${_qel_size}/apps RENAME qel.png)
endforeach()

# Debian wants manual pages and the changelog compressed, without a time stamp.
function(qel_gzip source destination)
  get_filename_component(_name ${source} NAME)
  set(_gz ${CMAKE_BINARY_DIR}/packaging/${_name}.gz)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
  execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${_gz} RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${source}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  install(FILES ${_gz} DESTINATION ${destination})
endfunction()
foreach(_qel_program IN LISTS _qel_programs)
  qel_gzip(${CMAKE_SOURCE_DIR}/packaging/${_qel_program}.1 share/man/man1)
endforeach()
qel_gzip(${CMAKE_SOURCE_DIR}/packaging/changelog share/doc/qel)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION share/doc/qel)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides
        RENAME qel)

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
