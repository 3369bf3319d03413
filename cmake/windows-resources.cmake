# The Windows window program: no console, the icon and version resource, and
# Qt's Russian catalogue for its standard dialogs embedded (a static Qt has no
# translations folder beside it). The catalogue is the build host's, from
# qt6-translations-l10n, the same Qt version.
set(VORSIN_QT_CATALOGUE /usr/share/qt6/translations/qtbase_ru.qm)

function(vorsin_windows_resources target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  set(VORSIN_ICON ${CMAKE_SOURCE_DIR}/data/package/vorsin.ico)
  set(VORSIN_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
  set(VORSIN_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0")
  configure_file(${CMAKE_SOURCE_DIR}/src/app/gui/vorsin.rc.in ${CMAKE_BINARY_DIR}/vorsin.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/vorsin.rc)
  if(EXISTS ${VORSIN_QT_CATALOGUE})
    file(COPY ${VORSIN_QT_CATALOGUE} DESTINATION ${CMAKE_BINARY_DIR}/translations)
    file(WRITE ${CMAKE_BINARY_DIR}/translations/translations.qrc
      "<RCC><qresource prefix=\"/translations\"><file>qtbase_ru.qm</file></qresource></RCC>\n")
    # The host's rcc knows zstd, the Windows Qt does not.
    set_target_properties(${target} PROPERTIES AUTORCC ON AUTORCC_OPTIONS "--no-zstd")
    target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/translations/translations.qrc)
  else()
    message(WARNING "${VORSIN_QT_CATALOGUE} is missing (qt6-translations-l10n): "
                    "Qt's own dialogs will speak English")
  endif()
endfunction()
