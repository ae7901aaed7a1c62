if(NOT EXISTS ${CONFIG})
  configure_file(${DEFAULT} ${CONFIG} COPYONLY)
endif()
