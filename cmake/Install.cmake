# The installed layout (cmake --install) and the Debian package made from it
# (cpack -G DEB in the build folder).
#
# /usr/lib/zorscr holds the program and the help page and browser plugin it
# finds beside its own file. The commands on the PATH and xscreensaver's display mode are relative
# symbolic links into it: the program resolves /proc/self/exe, so it still
# finds its folder when started through a link.

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /usr CACHE PATH "Install path prefix" FORCE)
endif()
# Installing builds nothing itself: cpack takes the two programs the build
# made, instead of first building every test and benchmark.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
# Whatever the umask of the build, the package's folders are 0755.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(ZOR_PROGRAM_DIR lib/zorscr)
install(TARGETS ZORScr ZORFacts ZORCollect RUNTIME DESTINATION ${ZOR_PROGRAM_DIR})
# The programs write nothing into that folder, even as root (SettingsDirectory).
set_property(SOURCE src/platform/system/ProgramInfo.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             ZOR_PROGRAM_DIR="${ZOR_PROGRAM_DIR}")
install(TARGETS zorweb LIBRARY DESTINATION ${ZOR_PROGRAM_DIR}/plugins)
install(FILES ${ZOR_HELP_PAGE} DESTINATION ${ZOR_PROGRAM_DIR})

# Links are made in the build folder and installed as they are.
function(zor_install_link destination name target)
  set(link ${CMAKE_BINARY_DIR}/install-links/${destination}/${name})
  get_filename_component(folder ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(CREATE_LINK ${target} ${link} SYMBOLIC)
  install(FILES ${link} DESTINATION ${destination})
endfunction()
zor_install_link(bin zorscr ../${ZOR_PROGRAM_DIR}/ZORScr)
zor_install_link(bin zorfacts ../${ZOR_PROGRAM_DIR}/ZORFacts)
zor_install_link(bin zorcollect ../${ZOR_PROGRAM_DIR}/ZORCollect)
# Debian's xscreensaver 6 runs display modes from here, and reads the
# settings dialog of a mode from config/<command>.xml. mate-screensaver runs
# the entry below only from here (or its own folder), never from the PATH.
zor_install_link(libexec/xscreensaver zorscr ../../${ZOR_PROGRAM_DIR}/ZORScr)
install(FILES resources/xscreensaver/zorscr.xml DESTINATION share/xscreensaver/config)
# The cross-desktop list of screensavers (mate-screensaver reads it), laid out
# as Debian's xscreensaver-data lays out its modes there.
install(FILES resources/desktop/zorscr.desktop DESTINATION share/applications/screensavers)
# The idle mode's session entry, for a user to copy into ~/.config/autostart:
# not started for everyone.
install(FILES resources/autostart/zorscr-idle.desktop DESTINATION share/zorscr)

# Compressed the way Debian's tools do it: no name or time stamp inside.
function(zor_gzip source output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${source})
  execute_process(COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/${source} OUTPUT_FILE ${output} COMMAND_ERROR_IS_FATAL ANY)
endfunction()
set(ZOR_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files)
file(MAKE_DIRECTORY ${ZOR_PACKAGE_FILES})
foreach(page zorscr.1 zorfacts.1 zorcollect.1)
  zor_gzip(resources/man/${page} ${ZOR_PACKAGE_FILES}/${page}.gz)
  install(FILES ${ZOR_PACKAGE_FILES}/${page}.gz DESTINATION share/man/man1)
endforeach()

# A native package: the changelog's top entry is this version.
file(STRINGS resources/debian/changelog ZOR_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT ZOR_CHANGELOG_TOP MATCHES "^zorscr \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "resources/debian/changelog: the top entry is not version ${PROJECT_VERSION}")
endif()
zor_gzip(resources/debian/changelog ${ZOR_PACKAGE_FILES}/changelog.gz)
install(FILES resources/debian/copyright ${ZOR_PACKAGE_FILES}/changelog.gz DESTINATION share/doc/zorscr)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorscr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # zorscr_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ZORScr developers <support@zorscr.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screensaver showing movies, still pictures and web pages")
set(CPACK_PACKAGE_DESCRIPTION
    "ZORScr plays your collection of movies, still pictures, CD tracks and web
pages as an endless full-screen show. The collection and the show's settings
live in one INI file.

It runs as a display mode of xscreensaver (zorscr --root), in a window of its
own, or full-screen on its own. zorcollect makes and changes collection files
from folders of media; zorfacts prints the machine facts the program reads,
for a bug report.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link come from dpkg-shlibdeps; these are loaded
# at run time and no linked library names them: the browser's helper process
# (whose package also brings its resources) and Mesa's drivers, which draw
# even without a graphics card, and Qt's readers of WebP and TIFF pictures
# (without them the show could not draw pictures the collection maker has
# no reader for either). Qt's X11 platform plugin comes with libqt6gui6,
# which the programs link; libheif1 is linked and brings its HEVC and AV1
# decoders.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6webenginecore6-bin, libgl1-mesa-dri, qt6-image-formats-plugins")
# ALSA's "default" mixer reaches a sound server's volume through its plugins.
# Qt's Wayland plugin is loaded at run time; without it a Wayland session
# shows through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xscreensaver, libasound2-plugins, qt6-wayland")
include(CPack)
