# The game's pictures, music, sound effects, font and default configuration, all made at
# build time from our own generators and Debian's packages. Nothing here is
# downloaded and nothing generated is committed.

# Pictures: zentavor-art draws every catalogue file; the stamp stands for them all.
file(GLOB ART_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/art/*.cpp)
add_executable(zentavor-art ${ART_SOURCES})
target_include_directories(zentavor-art PRIVATE ${CMAKE_SOURCE_DIR}/tools/art)
set(ART_STAMP ${GAME_DIR}/img/.generated)
add_custom_command(OUTPUT ${ART_STAMP}
  COMMAND zentavor-art ${GAME_DIR}/img
  COMMAND ${CMAKE_COMMAND} -E touch ${ART_STAMP}
  DEPENDS zentavor-art
  COMMENT "Drawing the game's pictures")

# Music: composed, synthesised and encoded by zentavor-music.
pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
file(GLOB MUSIC_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/music/*.cpp)
add_executable(zentavor-music ${MUSIC_SOURCES})
target_link_libraries(zentavor-music PRIVATE PkgConfig::VORBISENC)
set(MUSIC_FILE ${GAME_DIR}/sound/zentavor.ogg)
add_custom_command(OUTPUT ${MUSIC_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GAME_DIR}/sound
  COMMAND zentavor-music ${MUSIC_FILE}
  DEPENDS zentavor-music
  COMMENT "Composing the music")

# Sound effects: synthesised by zentavor-sfx, one WAV each; the stamp stands for them all.
file(GLOB SFX_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/sfx/*.cpp)
add_executable(zentavor-sfx ${SFX_SOURCES})
target_include_directories(zentavor-sfx PRIVATE ${CMAKE_SOURCE_DIR}/src)
set(SFX_DIR ${GAME_DIR}/sound/sfx)
set(SFX_STAMP ${SFX_DIR}/.generated)
add_custom_command(OUTPUT ${SFX_STAMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SFX_DIR}
  COMMAND zentavor-sfx ${SFX_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${SFX_STAMP}
  DEPENDS zentavor-sfx
  COMMENT "Making the sound effects")

# The font: our own pixel drawings at each size the game opens it at,
# written as TrueType by zentavor-font, with its licence beside it.
file(GLOB FONT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/font/*.cpp)
add_executable(zentavor-font ${FONT_SOURCES})
set(FONT_FILE ${GAME_DIR}/font.ttf)
set(FONT_LICENCE_SOURCE ${CMAKE_SOURCE_DIR}/tools/font/font-licence.txt)
set(FONT_LICENCE ${GAME_DIR}/font-licence.txt)
add_custom_command(OUTPUT ${FONT_FILE}
  COMMAND zentavor-font ${FONT_FILE}
  DEPENDS zentavor-font
  COMMENT "Drawing the font")
add_custom_command(OUTPUT ${FONT_LICENCE}
  COMMAND ${CMAKE_COMMAND} -E copy ${FONT_LICENCE_SOURCE} ${FONT_LICENCE}
  DEPENDS ${FONT_LICENCE_SOURCE})

# Runs on every build but never replaces a player's saved choices.
add_custom_target(default_config ALL
  COMMAND ${CMAKE_COMMAND} -DCONFIG=${GAME_DIR}/config.cfg
          -DDEFAULT=${CMAKE_SOURCE_DIR}/tools/default-config.cfg
          -P ${CMAKE_SOURCE_DIR}/cmake/default_config.cmake)

add_custom_target(game_assets ALL DEPENDS ${ART_STAMP} ${MUSIC_FILE} ${SFX_STAMP} ${FONT_FILE} ${FONT_LICENCE})
add_dependencies(zentavor game_assets default_config)

# All 96 pictures enlarged on one sheet for review: <build>/contact-sheet.png.
add_custom_target(contact_sheet
  COMMAND ${CMAKE_SOURCE_DIR}/tools/contact-sheet.sh ${GAME_DIR} ${CMAKE_BINARY_DIR}/contact-sheet.png
  DEPENDS game_assets
  COMMENT "Laying the pictures out on a contact sheet")
