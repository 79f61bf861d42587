# The show page: built with its own tooling (npm, Vite) into the build folder, packed into a
# ZIP and compiled into the program as binary data. npm ci runs only when the lock file
# changes, the page build only when the page's sources change.

find_package (Python3 REQUIRED COMPONENTS Interpreter)
find_program (NPM_EXECUTABLE npm REQUIRED)

set (QUENTARO_WEB_DIR "${CMAKE_SOURCE_DIR}/web")
set (QUENTARO_SITE_DIR "${CMAKE_BINARY_DIR}/site")
set (QUENTARO_SITE_ZIP "${CMAKE_BINARY_DIR}/site.zip")
set (QUENTARO_PAGE_FONT "${CMAKE_SOURCE_DIR}/.deps/fonts-ibm-plex/usr/share/fonts/truetype/ibm-plex/IBMPlexSansThai-Regular.ttf")
set (QUENTARO_JUCE_JS "${QUENTARO_JUCE_DIR}/modules/juce_gui_extra/native/javascript/index.js")

if (EXISTS "${QUENTARO_WEB_DIR}/package.json")
    file (GLOB_RECURSE QUENTARO_WEB_SOURCES CONFIGURE_DEPENDS
        "${QUENTARO_WEB_DIR}/src/*" "${QUENTARO_WEB_DIR}/public/*")
    file (GLOB QUENTARO_WEB_CONFIG CONFIGURE_DEPENDS
        "${QUENTARO_WEB_DIR}/*.html" "${QUENTARO_WEB_DIR}/*.json" "${QUENTARO_WEB_DIR}/*.ts" "${QUENTARO_WEB_DIR}/*.js")

    set (npm_stamp "${CMAKE_BINARY_DIR}/web-npm-ci.stamp")
    add_custom_command (OUTPUT "${npm_stamp}"
        COMMAND "${NPM_EXECUTABLE}" ci --prefix "${QUENTARO_WEB_DIR}" --no-audit --no-fund --loglevel=error
        COMMAND "${CMAKE_COMMAND}" -E touch "${npm_stamp}"
        DEPENDS "${QUENTARO_WEB_DIR}/package.json" "${QUENTARO_WEB_DIR}/package-lock.json"
        COMMENT "Installing the show page's packages"
        VERBATIM)

    set (site_stamp "${CMAKE_BINARY_DIR}/site.stamp")
    add_custom_command (OUTPUT "${site_stamp}"
        COMMAND "${CMAKE_COMMAND}" -E env "QUENTARO_JUCE_JS=${QUENTARO_JUCE_JS}"
            "${NPM_EXECUTABLE}" --prefix "${QUENTARO_WEB_DIR}" run --silent build -- --outDir "${QUENTARO_SITE_DIR}" --emptyOutDir
        COMMAND "${CMAKE_COMMAND}" -E touch "${site_stamp}"
        DEPENDS "${npm_stamp}" ${QUENTARO_WEB_SOURCES} ${QUENTARO_WEB_CONFIG} "${QUENTARO_JUCE_JS}"
        WORKING_DIRECTORY "${QUENTARO_WEB_DIR}"
        COMMENT "Building the show page"
        VERBATIM)
else()
    message (WARNING "web/package.json not found: the program carries an empty site")
    set (site_stamp "")
    file (MAKE_DIRECTORY "${QUENTARO_SITE_DIR}")
endif()

add_custom_command (OUTPUT "${QUENTARO_SITE_ZIP}"
    COMMAND "${Python3_EXECUTABLE}" "${CMAKE_SOURCE_DIR}/scripts/pack-site.py" "${QUENTARO_SITE_DIR}" "${QUENTARO_SITE_ZIP}"
        "SFThonburi-Regular.ttf=${QUENTARO_PAGE_FONT}"
    DEPENDS ${site_stamp} "${CMAKE_SOURCE_DIR}/scripts/pack-site.py" "${QUENTARO_PAGE_FONT}"
    COMMENT "Packing the show page"
    VERBATIM)

juce_add_binary_data (quentaro_site_data
    HEADER_NAME SiteArchiveData.h
    NAMESPACE SiteArchiveData
    SOURCES "${QUENTARO_SITE_ZIP}")
set_target_properties (quentaro_site_data PROPERTIES POSITION_INDEPENDENT_CODE ON)
