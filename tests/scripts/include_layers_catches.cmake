# Runs cmake/CheckIncludes.cmake over a tiny tree with one wrong-way include
# (and one Qt header in the core) and expects both named with file and line.
file(REMOVE_RECURSE "${WORK}")
file(WRITE "${WORK}/src/rules/fine.h" "#include \"model/spell.h\"\n#include <vector>\n")
file(WRITE "${WORK}/src/model/bad.cpp" "// [a; b]\n\n#include \"model/spell.h\"\n#include \"rules/random.h\"\n")
file(WRITE "${WORK}/src/output/qt.cpp" "#include <QString>\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK} -P ${CHECK}
                RESULT_VARIABLE result ERROR_VARIABLE output)
string(REGEX MATCHALL "src/[^\n]*:[0-9]+:[^\n]*" found "${output}")
set(expected [[src/model/bad.cpp:4: model may not include "rules/random.h";src/output/qt.cpp:1: Qt header <QString> in the core]])
if(result EQUAL 0 OR NOT found STREQUAL expected)
  message(FATAL_ERROR "the check exited ${result} and named:\n${found}\nexpected:\n${expected}")
endif()
