# quiran_library(<name> [LINKS <targets>...])
# One static library per source folder, made of every .cpp in it (main.cpp excepted). A folder
# that has no sources yet becomes an interface library so that its dependants still link.
function(quiran_library name)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
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

# quiran_tests(<name> LINKS <targets>... [GUI])
# One GoogleTest executable made of every *Test.cpp in the current folder. GUI tests carry the
# label "gui" and need DISPLAY set to a virtual X server (scripts/run-tests starts one); they hold
# the lock "x_display" while they run.
function(quiran_tests name)
    cmake_parse_arguments(ARG "GUI" "" "LINKS" ${ARGN})
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
        # One at a time on the shared server: windows of parallel tests would cover each other
        # and spoil pixel read-backs and focus. Model tests still run in parallel beside them.
        set(properties LABELS gui RESOURCE_LOCK x_display)
    else()
        set(properties LABELS model)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        PROPERTIES ${properties})
endfunction()
