# Helpers that give every subsystem the same shape: one library of rules (QtCore and QtSql only)
# and one library of screens (forms/), each built from the files in its folder.

# Precompiled headers are built once per kind and reused by every library of that kind.
add_library(jxc_pch_core STATIC ${CMAKE_SOURCE_DIR}/cmake/pch_core.cpp)
target_link_libraries(jxc_pch_core PUBLIC Qt6::Core Qt6::Sql)
target_precompile_headers(jxc_pch_core PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch_core.h)
# The headers must be compiled with the definitions of the targets that reuse them.
target_compile_definitions(jxc_pch_core PRIVATE QT_NO_KEYWORDS)

add_library(jxc_pch_widgets STATIC ${CMAKE_SOURCE_DIR}/cmake/pch_widgets.cpp)
target_link_libraries(jxc_pch_widgets PUBLIC Qt6::Core Qt6::Sql Qt6::Gui Qt6::Widgets)
target_precompile_headers(jxc_pch_widgets PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch_widgets.h)
target_compile_definitions(jxc_pch_widgets PRIVATE QT_NO_KEYWORDS)

function(jxc_apply_common target kind)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS)
  if(kind STREQUAL "widgets")
    target_precompile_headers(${target} REUSE_FROM jxc_pch_widgets)
  else()
    target_precompile_headers(${target} REUSE_FROM jxc_pch_core)
  endif()
  if(JXC_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 12)
  endif()
endfunction()

# jxc_rules(<name> DIR <folder> [DEPENDS <libs>...] [LIBS <extra>...])
# Every .cpp in <folder> and its subfolders except forms/ makes the rules library jxc_<name>.
function(jxc_rules name)
  cmake_parse_arguments(A "" "DIR" "DEPENDS;LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${A_DIR}/*.cpp ${A_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/forms/")
  add_library(jxc_${name} STATIC ${sources})
  target_link_libraries(jxc_${name} PUBLIC Qt6::Core Qt6::Sql ${A_DEPENDS} ${A_LIBS})
  jxc_apply_common(jxc_${name} core)
endfunction()

# jxc_forms(<name> DIR <folder> [DEPENDS <libs>...])
# Every .cpp in <folder>/forms makes the screens library jxc_<name>_forms.
function(jxc_forms name)
  cmake_parse_arguments(A "" "DIR" "DEPENDS;LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${A_DIR}/forms/*.cpp ${A_DIR}/forms/*.h)
  add_library(jxc_${name}_forms STATIC ${sources})
  target_link_libraries(jxc_${name}_forms PUBLIC Qt6::Widgets ${A_DEPENDS} ${A_LIBS})
  jxc_apply_common(jxc_${name}_forms widgets)
endfunction()

# jxc_test(<name> DIR <folder> LIBS <libs>...)
# One test executable per subsystem from every .cpp in <folder>; registered with CTest.
function(jxc_test name)
  cmake_parse_arguments(A "" "DIR" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${A_DIR}/*.cpp ${A_DIR}/*.h)
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE jxc_testsupport ${A_LIBS})
  jxc_apply_common(test_${name} widgets)
  add_test(NAME ${name} COMMAND test_${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    TIMEOUT 1200)
endfunction()
