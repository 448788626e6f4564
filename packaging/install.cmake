# What `cmake --install` puts where, and the Debian package made from it
# (CPack's DEB generator over the same install rules). Included by the top
# CMakeLists.txt in native Linux builds only.
include(GNUInstallDirs)

set(VIVUR_MAINTAINER "vivur maintainers <maintainers@users.noreply.c-seed-2869ab9f.example>"
  CACHE STRING "Maintainer named in the Debian package")
set(VIVUR_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(VIVUR_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS vivur vivur-pak vivur-inspect RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The production finds it as ../share/vivur/vivur.pak from bin/.
install(FILES ${CMAKE_BINARY_DIR}/vivur.pak DESTINATION ${CMAKE_INSTALL_DATADIR}/vivur)

# Manual pages and the changelog carry the project's version; Debian keeps
# both compressed (gzip -n: no name or time inside, the same bytes each build).
set(VIVUR_COMPRESSED)
foreach(page vivur.1 vivur-pak.1 vivur-inspect.1 changelog)
  set(VERSION ${PROJECT_VERSION})
  set(MAINTAINER ${VIVUR_MAINTAINER})
  configure_file(${VIVUR_PACKAGING_DIR}/${page}.in ${VIVUR_PACKAGING_OUT}/${page} @ONLY)
  add_custom_command(OUTPUT ${VIVUR_PACKAGING_OUT}/${page}.gz
    COMMAND gzip -9nkf ${VIVUR_PACKAGING_OUT}/${page}
    DEPENDS ${VIVUR_PACKAGING_OUT}/${page}
    VERBATIM)
  list(APPEND VIVUR_COMPRESSED ${VIVUR_PACKAGING_OUT}/${page}.gz)
endforeach()

# The menu icon: the Windows icon's emblem, as PNGs in the hicolor theme's sizes.
set(VIVUR_ICON_SIZES 16 24 32 48 64 128 256)
set(VIVUR_ICONS)
foreach(size ${VIVUR_ICON_SIZES})
  list(APPEND VIVUR_ICONS ${VIVUR_PACKAGING_OUT}/icons/${size}x${size}/apps/vivur.png)
endforeach()
add_custom_command(OUTPUT ${VIVUR_ICONS}
  COMMAND vivur-content --icons ${VIVUR_PACKAGING_OUT}/icons
  DEPENDS vivur-content
  COMMENT "Drawing the menu icons"
  VERBATIM)
add_custom_target(vivur_packaging ALL DEPENDS ${VIVUR_COMPRESSED} ${VIVUR_ICONS})

install(FILES ${VIVUR_PACKAGING_OUT}/vivur.1.gz ${VIVUR_PACKAGING_OUT}/vivur-pak.1.gz
  ${VIVUR_PACKAGING_OUT}/vivur-inspect.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VIVUR_PACKAGING_DIR}/vivur.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${VIVUR_PACKAGING_OUT}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${VIVUR_PACKAGING_DIR}/copyright ${VIVUR_PACKAGING_OUT}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: `cpack -G DEB` in the build folder (scripts/release).
set(CPACK_PACKAGE_NAME vivur)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VIVUR_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary, then the long description (CPack indents its lines).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "real-time audiovisual production with music and software-rendered scenes
vivur plays an S3M music module and, in step with it, renders a fixed
sequence of scenes in software into a 320 x 200 frame: zooms, glowing
letters, shading, radial blur, sine warps and a small 3D engine. It comes
with its default content, the archive tool vivur-pak and the content
checker vivur-inspect.")
# Dependencies: what dpkg-shlibdeps finds the programs link, not a typed list.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
