# JUCE is compiled once, into one static library that the program, the host simulator and
# every test executable link. Its modules are linked PRIVATE so that they are not compiled
# again into each user; their definitions and include paths are handed on explicitly.

if (NOT EXISTS "${QUENTARO_JUCE_DIR}/CMakeLists.txt")
    message (FATAL_ERROR "JUCE source not found in ${QUENTARO_JUCE_DIR}; run scripts/setup.sh first")
endif()

add_subdirectory ("${QUENTARO_JUCE_DIR}" "${CMAKE_BINARY_DIR}/juce" EXCLUDE_FROM_ALL)

add_library (quentaro_juce STATIC)

target_link_libraries (quentaro_juce
    PRIVATE
        juce::juce_core
        juce::juce_events
        juce::juce_data_structures
        juce::juce_graphics
        juce::juce_gui_basics
        juce::juce_gui_extra
        juce::pkgconfig_JUCE_BROWSER_LINUX_DEPS
    PUBLIC
        juce::pkgconfig_JUCE_IMG_LINUX_DEPS
        juce::juce_recommended_config_flags)

target_compile_definitions (quentaro_juce
    PUBLIC
        JUCE_STANDALONE_APPLICATION=1
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_WEB_BROWSER=1
        JUCE_USE_CURL=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_CHECK_MEMORY_LEAKS=0
        JUCE_SILENCE_XCODE_15_LINKER_WARNING=1
    INTERFACE
        $<TARGET_PROPERTY:quentaro_juce,COMPILE_DEFINITIONS>)

# Our code includes JUCE as system headers, so our strict warnings do not report JUCE's.
target_include_directories (quentaro_juce SYSTEM
    INTERFACE
        $<TARGET_PROPERTY:quentaro_juce,INCLUDE_DIRECTORIES>)

# juce_osc is compiled through protocol/OscPacket.cpp, which includes the module's own source and
# adds OscPacket beside it: the framework's private OSC decoder behind the checks that guard it,
# and its encoder, so that the program's receiver and the fuzzing harnesses run the same decoder.
# The module's definition is set here as linking its target would have set it (and its target
# would compile the module a second time).
target_sources (quentaro_juce PRIVATE "${CMAKE_SOURCE_DIR}/protocol/OscPacket.cpp")
target_compile_definitions (quentaro_juce PRIVATE JUCE_MODULE_AVAILABLE_juce_osc=1)

set_target_properties (quentaro_juce PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    VISIBILITY_INLINES_HIDDEN ON)
