# A desktop install: `cmake --install <build> [--prefix P]`, DESTDIR honoured.
#   bin/zentavor                      launcher: runs the game from the player's folder
#   libexec/zentavor/zentavor         the game itself, off the PATH
#   share/zentavor/                   pictures, music, sound effects, font and the default config.cfg
#   share/applications, share/metainfo, share/icons/hicolor, share/man/man6
# The development tools and the tests are not installed.
include(GNUInstallDirs)

set(ZENTAVOR_APP_ID org.zentavor.Zentavor)
set(ZENTAVOR_GAME_INSTALL_DIR ${CMAKE_INSTALL_LIBEXECDIR}/zentavor)
set(ZENTAVOR_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/zentavor)
set(ZENTAVOR_ICON_SIZES_PX 48 64 128 256)

# The icon, drawn by our own code at each size the desktop asks for.
file(GLOB ICON_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/icon/*.cpp)
add_executable(zentavor-icon ${ICON_SOURCES}
  ${CMAKE_SOURCE_DIR}/tools/art/image.cpp
  ${CMAKE_SOURCE_DIR}/tools/art/shapes.cpp
  ${CMAKE_SOURCE_DIR}/tools/art/noise.cpp)
target_include_directories(zentavor-icon PRIVATE ${CMAKE_SOURCE_DIR}/tools/art)
set(ICON_FILES)
foreach(size IN LISTS ZENTAVOR_ICON_SIZES_PX)
  set(icon_dir ${CMAKE_BINARY_DIR}/icons/${size}x${size}/apps)
  set(icon ${icon_dir}/${ZENTAVOR_APP_ID}.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
    COMMAND zentavor-icon ${size} ${icon}
    DEPENDS zentavor-icon
    COMMENT "Drawing the ${size} x ${size} icon")
  list(APPEND ICON_FILES ${icon})
endforeach()
add_custom_target(zentavor_icons ALL DEPENDS ${ICON_FILES})

# Where the launcher finds the game and its data: relative to its own real
# path whenever the install folders are relative, so the tree can move. A
# folder given as an absolute path is taken as it is.
function(launcher_path out dir)
  if(IS_ABSOLUTE "${dir}" OR IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
    get_filename_component(full "${dir}" ABSOLUTE BASE_DIR "${CMAKE_INSTALL_PREFIX}")
    set(${out} "${full}" PARENT_SCOPE)
  else()
    file(RELATIVE_PATH relative /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${dir})
    set(${out} "$here/${relative}" PARENT_SCOPE)
  endif()
endfunction()
launcher_path(LAUNCHER_GAME ${ZENTAVOR_GAME_INSTALL_DIR}/zentavor)
launcher_path(LAUNCHER_DATA ${ZENTAVOR_DATA_INSTALL_DIR})
configure_file(${CMAKE_SOURCE_DIR}/dist/zentavor.in ${CMAKE_BINARY_DIR}/dist/zentavor @ONLY)

install(TARGETS zentavor RUNTIME DESTINATION ${ZENTAVOR_GAME_INSTALL_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/dist/zentavor DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${GAME_DIR}/img/ DESTINATION ${ZENTAVOR_DATA_INSTALL_DIR}/img
  FILES_MATCHING PATTERN "*.bmp")
install(FILES ${MUSIC_FILE} DESTINATION ${ZENTAVOR_DATA_INSTALL_DIR}/sound)
install(DIRECTORY ${SFX_DIR}/ DESTINATION ${ZENTAVOR_DATA_INSTALL_DIR}/sound/sfx
  FILES_MATCHING PATTERN "*.wav")
install(FILES ${FONT_FILE} ${FONT_LICENCE} DESTINATION ${ZENTAVOR_DATA_INSTALL_DIR})
# The shipped defaults, not the build folder's config.cfg, which holds
# whatever was last chosen while playing from it.
install(FILES ${CMAKE_SOURCE_DIR}/tools/default-config.cfg
  DESTINATION ${ZENTAVOR_DATA_INSTALL_DIR} RENAME config.cfg)

install(FILES ${CMAKE_SOURCE_DIR}/dist/${ZENTAVOR_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${ZENTAVOR_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/dist/zentavor.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
foreach(size IN LISTS ZENTAVOR_ICON_SIZES_PX)
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/apps/${ZENTAVOR_APP_ID}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
