# The desktop program: windows and Qt adapters over the core, one library per
# folder like the core's layers (see CMakeLists.txt).
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)

vellumar_layer(vellumar_platform_qt platform/qt vellumar_platform Qt6::Widgets Qt6::PrintSupport)
vellumar_layer(vellumar_output_qt output/qt vellumar_output vellumar_platform_qt)
vellumar_layer(vellumar_ui ui vellumar_output_qt vellumar_library)
# The pictures, cursors and help pages; Q_INIT_RESOURCE(vellumar) is in ui/app.cpp.
file(GLOB VELLUMAR_QRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.qrc)
target_sources(vellumar_ui PRIVATE ${VELLUMAR_QRC})
set_target_properties(vellumar_platform_qt vellumar_output_qt vellumar_ui PROPERTIES AUTOMOC ON)
set_target_properties(vellumar_ui PROPERTIES AUTORCC ON)
add_library(vellumar_gui INTERFACE)
target_link_libraries(vellumar_gui INTERFACE vellumar_ui)

add_executable(vellumar ${CMAKE_SOURCE_DIR}/src/main.cpp)
target_link_libraries(vellumar PRIVATE vellumar_gui)
# The sample master list, its spell texts and the help file live beside the program.
foreach(res MASTER.DAT MASTER.DAT.texts.json Vellumar.HLP)
  add_custom_command(TARGET vellumar POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${CMAKE_SOURCE_DIR}/resources/${res} $<TARGET_FILE_DIR:vellumar>/${res})
endforeach()
