# zelvana_headers(TARGET SCOPE FOLDER...): TARGET's include path holds the headers of each
# folder (relative to the repository root) and nothing else, still included as
# <folder/Header.hpp>: its folder in the build holds links to them. A target so sees only its
# own headers and those of the targets it links.
function(zelvana_headers target scope)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  foreach(folder ${ARGN})
    file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.hpp)
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
    endforeach()
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# The folders, relative to the repository root, that hold the given files.
function(zelvana_folders out)
  set(folders)
  foreach(file ${ARGN})
    get_filename_component(file ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    get_filename_component(directory ${file} DIRECTORY)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${directory})
    list(APPEND folders ${folder})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

# zelvana_library(NAME SOURCES ... PUBLIC_DEPS ... DEPS ...): one static library per
# folder, its headers included as <folder/Header.hpp>.
# DEPS are linked privately; PUBLIC_DEPS are only what the library's own headers include.
function(zelvana_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;DEPS" ${ARGN})
  zelvana_folders(folders ${CMAKE_CURRENT_SOURCE_DIR}/CMakeLists.txt ${ARG_SOURCES})
  if(NOT ARG_SOURCES)
    # Headers only, for now.
    add_library(${name} INTERFACE)
    zelvana_headers(${name} INTERFACE ${folders})
    target_link_libraries(${name} INTERFACE ${ARG_PUBLIC_DEPS} ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  zelvana_headers(${name} PUBLIC ${folders})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_DEPS})
endfunction()

# Where every package's resource bundle is gathered for the test programs.
set(ZELVANA_RESOURCE_BUNDLES_DIR ${CMAKE_BINARY_DIR}/ResourceBundles)

# zelvana_tests(NAME SOURCES ... DEPS ...): one GoogleTest program per folder.
# Every package's resource bundle lies beside it, as beside the program's code.
# SUPPORT names other folders of test helpers that it includes.
function(zelvana_tests name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;SUPPORT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  zelvana_folders(folders ${ARG_SOURCES})
  zelvana_headers(${name} PRIVATE ${folders} ${ARG_SUPPORT})
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
