# The desktop program: windows and Qt adapters over the core.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

file(GLOB VELLUMAR_GUI_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/ui/*.cpp ${CMAKE_SOURCE_DIR}/src/ui/*.h
  ${CMAKE_SOURCE_DIR}/src/output/qt/*.cpp ${CMAKE_SOURCE_DIR}/src/output/qt/*.h
  ${CMAKE_SOURCE_DIR}/src/platform/qt/*.cpp ${CMAKE_SOURCE_DIR}/src/platform/qt/*.h)
file(GLOB VELLUMAR_QRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.qrc)
add_library(vellumar_gui STATIC ${VELLUMAR_GUI_SOURCES} ${VELLUMAR_QRC})
target_link_libraries(vellumar_gui PUBLIC vellumar_core Qt6::Widgets Qt6::PrintSupport)
target_include_directories(vellumar_gui PUBLIC ${CMAKE_SOURCE_DIR}/src)

add_executable(vellumar ${CMAKE_SOURCE_DIR}/src/main.cpp)
target_link_libraries(vellumar PRIVATE vellumar_gui)
# The sample master list and the help file live beside the program.
foreach(res MASTER.DAT Vellumar.HLP)
  add_custom_command(TARGET vellumar POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${CMAKE_SOURCE_DIR}/resources/${res} $<TARGET_FILE_DIR:vellumar>/${res})
endforeach()
