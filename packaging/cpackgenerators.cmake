# Settings per package kind, read by CPack for each generator.
if(CPACK_GENERATOR STREQUAL "DEB")
    # One package with every component, the program's folder under /opt/corvane.
    set(CPACK_PACKAGING_INSTALL_PREFIX ${CPACK_CORVANE_FOLDER})
elseif(CPACK_GENERATOR STREQUAL "TGZ")
    # The program's folder alone, under one top folder that runs as it is unpacked.
    set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
    set(CPACK_COMPONENTS_ALL program)
    set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
    set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
