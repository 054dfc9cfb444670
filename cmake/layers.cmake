# What tests/layers.py checks the includes against: for every target the
# project builds, its folder, its sources and the deal:: libraries it links,
# all of them and those it passes on to its users, one line each, written
# to build/*/targets.txt when the build is configured:
#   TARGET FOLDER | SOURCE... | LINKED... | PASSED ON...
function(deal_folders_of directory out)
  set(found ${directory})
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    deal_folders_of(${subdirectory} more)
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# The folders of the deal:: libraries among `links`; any other link, and a
# private one passed on only for linking ($<LINK_ONLY:...>), left out.
function(deal_linked_folders links out)
  set(folders)
  foreach(link IN LISTS links)
    if(link MATCHES "^deal::(.+)$")
      if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${CMAKE_MATCH_1})
        list(APPEND folders ${CMAKE_MATCH_1})
      endif()
    endif()
  endforeach()
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

deal_folders_of(${PROJECT_SOURCE_DIR} deal_directories)
set(deal_targets_text "")
foreach(directory IN LISTS deal_directories)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${directory})
  if(folder STREQUAL "")
    set(folder .)
  endif()
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "UTILITY")
      continue()
    endif()
    set(sources)
    set(linked)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(sources ${target} SOURCES)
      get_target_property(links ${target} LINK_LIBRARIES)
      deal_linked_folders("${links}" linked)
    endif()
    get_target_property(passed_links ${target} INTERFACE_LINK_LIBRARIES)
    deal_linked_folders("${passed_links}" passed)
    list(JOIN sources " " sources)
    list(JOIN linked " " linked)
    list(JOIN passed " " passed)
    string(APPEND deal_targets_text "${target} ${folder} | ${sources} | ${linked} | ${passed}\n")
  endforeach()
endforeach()
file(WRITE ${PROJECT_BINARY_DIR}/targets.txt "${deal_targets_text}")

# Python as the build found it; the page's build, under Emscripten's
# toolchain, finds none of the host's programs, and takes Debian's.
if(EMSCRIPTEN)
  set(deal_layers_python /usr/bin/python3)
else()
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(deal_layers_python ${Python3_EXECUTABLE})
endif()
add_test(NAME layers COMMAND ${deal_layers_python} ${PROJECT_SOURCE_DIR}/tests/layers.py
                             ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/targets.txt)
