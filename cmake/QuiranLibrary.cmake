# quiran_library(<name> [FOLDERS <folders>...] [LINKS <targets>...])
# One static library per layer, made of every .cpp (main.cpp excepted) in the current source
# folder, or in the given FOLDERS below it when one layer spans several. A layer that has no
# sources yet becomes an interface library so that its dependants still link.
function(quiran_library name)
    cmake_parse_arguments(ARG "" "" "FOLDERS;LINKS" ${ARGN})
    if(NOT ARG_FOLDERS)
        set(ARG_FOLDERS .)
    endif()
    set(sources)
    foreach(folder ${ARG_FOLDERS})
        file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
        list(APPEND sources ${folder_sources})
    endforeach()
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_LINKS})
    endif()
endfunction()

# quiran_tests(<name> LINKS <targets>... [GUI] [LABEL <label>])
# One GoogleTest executable made of every *Test.cpp in the current folder (its other .cpp files
# are test helpers). GUI tests are discovered by quiran_discover_gui_tests below; the others open
# no display and carry the label given (default "model").
function(quiran_tests name)
    cmake_parse_arguments(ARG "GUI" "LABEL" "LINKS" ${ARGN})
    if(NOT ARG_LABEL)
        set(ARG_LABEL model)
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE
        QUIRAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        QUIRAN_BINARY_DIR="${PROJECT_BINARY_DIR}")
    if(ARG_GUI)
        quiran_discover_gui_tests(${name})
    else()
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
            WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
            PROPERTIES LABELS ${ARG_LABEL})
    endif()
endfunction()

# quiran_discover_gui_tests(<target> [TIMEOUT <seconds>] [COST <weight>])
# The tests of a GUI test executable carry the label "gui" and each takes one X server of the
# resource "displays" that scripts/run-tests lists, so they run in parallel without sharing a
# screen, pointer or focus. Without the list of servers they use DISPLAY as it is. COST marks
# long tests: CTest starts them first when it has no times of an earlier run (a fresh checkout, as
# in CI), so that they do not trail at the end of a parallel run.
function(quiran_discover_gui_tests target)
    cmake_parse_arguments(ARG "" "TIMEOUT;COST" "" ${ARGN})
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/CTestDisplay.cpp)
    target_link_libraries(${target} PRIVATE X11::X11)
    set(timeout)
    if(ARG_TIMEOUT)
        set(timeout TIMEOUT ${ARG_TIMEOUT})
    endif()
    set(cost)
    if(ARG_COST)
        set(cost COST ${ARG_COST})
    endif()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        PROPERTIES LABELS gui RESOURCE_GROUPS displays:1 ${timeout} ${cost})
endfunction()
