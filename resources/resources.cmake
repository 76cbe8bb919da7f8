# The embedded resource table "QxResEmbed": the images are drawn at build time by
# relay-drawimages, then relay-respack packs them with the layouts and the style
# sheet of resources/UI into a generated source that is compiled into relay_platform.
add_executable(relay-drawimages ${CMAKE_CURRENT_SOURCE_DIR}/resources/generator/DrawImages.cpp)
target_link_libraries(relay-drawimages PRIVATE PkgConfig::AGG PNG::PNG)
target_compile_options(relay-drawimages PRIVATE ${RELAY_WARNINGS})

set(RELAY_RESOURCE_OUT ${CMAKE_BINARY_DIR}/resources)
add_custom_command(
  OUTPUT ${RELAY_RESOURCE_OUT}/images.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${RELAY_RESOURCE_OUT}/images
  COMMAND relay-drawimages ${RELAY_RESOURCE_OUT}/images
  COMMAND ${CMAKE_COMMAND} -E touch ${RELAY_RESOURCE_OUT}/images.stamp
  DEPENDS relay-drawimages
  COMMENT "Drawing the window images")

file(GLOB_RECURSE RELAY_UI_RESOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/UI/*)
add_custom_command(
  OUTPUT ${RELAY_RESOURCE_OUT}/QxResEmbed.bin ${RELAY_RESOURCE_OUT}/QxResEmbed.cpp
  COMMAND relay-respack ${RELAY_RESOURCE_OUT}/QxResEmbed.bin ${RELAY_RESOURCE_OUT}/QxResEmbed.cpp
          UI/=${CMAKE_CURRENT_SOURCE_DIR}/resources/UI png/=${RELAY_RESOURCE_OUT}/images/png
  DEPENDS relay-respack ${RELAY_RESOURCE_OUT}/images.stamp ${RELAY_UI_RESOURCES}
  COMMENT "Packing the embedded resource table")
set(RELAY_RESOURCE_SOURCE ${RELAY_RESOURCE_OUT}/QxResEmbed.cpp)
