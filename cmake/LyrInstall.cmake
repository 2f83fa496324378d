# Installation and the Debian package: the programs, the Python module, the
# simulated device library, desktop integration (menu entry, icon, file types) and the
# lyrtool manual page generated from its own help.
include(GNUInstallDirs)

install(TARGETS lyr RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET lyrtool)
  install(TARGETS lyrtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The simulator is loaded by path (LYR_D2XX_LIBRARY), never linked, so it
# lives in the program's own library folder rather than on the loader's path.
if(TARGET pgxsim)
  install(TARGETS pgxsim LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/lyr)
endif()

# The Python module where Debian's interpreters find packaged modules.
if(TARGET lyr_python)
  set(LYR_PYTHON_INSTALL_DIR lib/python3/dist-packages CACHE STRING "Where the Python module lyr is installed")
  install(TARGETS lyr_python LIBRARY DESTINATION ${LYR_PYTHON_INSTALL_DIR})
endif()

set(pkg ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${pkg}/lyr.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg}/lyr.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${pkg}/lyr-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME lyr.xml)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lyr)

if(TARGET lyrtool)
  set(man ${CMAKE_BINARY_DIR}/man/lyrtool.1)
  find_program(GZIP_PROGRAM gzip)
  add_custom_command(OUTPUT ${man}.gz
    COMMAND ${CMAKE_COMMAND} -DLYRTOOL=$<TARGET_FILE:lyrtool> -DVERSION=${PROJECT_VERSION}
            -DOUT=${man} -P ${CMAKE_SOURCE_DIR}/cmake/LyrManPage.cmake
    COMMAND ${GZIP_PROGRAM} -9nf ${man}
    DEPENDS lyrtool ${CMAKE_SOURCE_DIR}/cmake/LyrManPage.cmake
    COMMENT "lyrtool manual page from its help")
  add_custom_target(lyrtool_man ALL DEPENDS ${man}.gz)
  install(FILES ${man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lyr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "waveform editor for the PGX-500 arbitrary waveform generator")
set(CPACK_PACKAGE_DESCRIPTION
  "LYR edits waveforms for the PGX-500 USB arbitrary waveform generator (one\n14-bit analog output and up to eight digital outputs), saves them as .lyr\nfiles and writes them into the unit. lyrtool does the same from scripts;\nthe simulated unit (libpgxsim.so) stands in for the hardware.")
set(CPACK_PACKAGE_CONTACT "LYR developers <lyr@localhost>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Python module's arrays are NumPy arrays.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-cjk, qt6-translations-l10n, shared-mime-info, desktop-file-utils, python3-numpy")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
