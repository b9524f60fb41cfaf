# The interface's Qt resource file, generated from what qml/ holds, so that adding
# a QML file, an image or a font needs no hand-kept list. CONFIGURE_DEPENDS makes
# the build notice new and removed files.
#
# kivara_qml is an object library: whatever links it (the program, UI tests, the
# benchmark) gets the resources registered at start, with no Q_INIT_RESOURCE.
set(KIVARA_QML_DIR ${PROJECT_SOURCE_DIR}/qml)
file(GLOB_RECURSE kivara_qml_files CONFIGURE_DEPENDS RELATIVE ${KIVARA_QML_DIR}
  ${KIVARA_QML_DIR}/*)
list(FILTER kivara_qml_files EXCLUDE REGEX "(^|/)(README\\.md|qml\\.qrc|CMakeLists\\.txt)$")
list(FILTER kivara_qml_files EXCLUDE REGEX "(^|/)\\.")
list(SORT kivara_qml_files)

set(kivara_qrc_entries "")
foreach(file ${kivara_qml_files})
  string(APPEND kivara_qrc_entries "        <file alias=\"${file}\">${KIVARA_QML_DIR}/${file}</file>\n")
endforeach()
set(KIVARA_QML_QRC ${CMAKE_BINARY_DIR}/qml/kivara_qml.qrc)
# Written only when the list changes, so rcc does not run on every configure.
file(CONFIGURE OUTPUT ${KIVARA_QML_QRC} CONTENT
"<RCC>\n    <qresource prefix=\"/\">\n${kivara_qrc_entries}    </qresource>\n</RCC>\n" @ONLY)

add_library(kivara_qml OBJECT ${KIVARA_QML_QRC})
set_target_properties(kivara_qml PROPERTIES AUTORCC ON)
