# zelvana_library(NAME SOURCES ... PUBLIC_DEPS ... DEPS ...): one static library per
# folder, its headers included as <folder/Header.hpp> from the repository root.
# DEPS are linked privately; PUBLIC_DEPS are only what the library's own headers include.
function(zelvana_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;DEPS" ${ARGN})
  if(NOT ARG_SOURCES)
    # Headers only, for now.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_PUBLIC_DEPS} ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_DEPS})
endfunction()

# Where every package's resource bundle is gathered for the test programs.
set(ZELVANA_RESOURCE_BUNDLES_DIR ${CMAKE_BINARY_DIR}/ResourceBundles)

# zelvana_tests(NAME SOURCES ... DEPS ...): one GoogleTest program per folder.
# Every package's resource bundle lies beside it, as beside the program's code.
function(zelvana_tests name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  add_dependencies(${name} ZelvanaResources)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${ZELVANA_RESOURCE_BUNDLES_DIR} $<TARGET_FILE_DIR:${name}>)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()

# zelvana_resource_bundle(PACKAGE): the package's resource bundle,
# Resources/<Package>_<Package>.bundle in its folder, that the application copies
# into Contents/Resources and the test programs beside themselves.
function(zelvana_resource_bundle package)
  set_property(GLOBAL APPEND PROPERTY ZELVANA_RESOURCE_BUNDLES
    ${CMAKE_CURRENT_SOURCE_DIR}/Resources/${package}_${package}.bundle)
endfunction()
