# Writes the default config.cfg only where none exists, so that a rebuild
# keeps the names, ships, weapons and map a player has saved.
# Usage: cmake -DCONFIG=<game>/config.cfg -DDEFAULT=<source>/tools/default-config.cfg -P default_config.cmake
if(NOT EXISTS ${CONFIG})
  file(COPY_FILE ${DEFAULT} ${CONFIG})
endif()
