# Cross build of the core and vorsin-cli for 64-bit Windows with Debian's
# MinGW-w64 (packages g++-mingw-w64-x86-64-posix and libz-mingw-w64-dev).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORSIN_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix flavour: the win32-threads one has no std::thread or std::mutex.
set(CMAKE_C_COMPILER ${VORSIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORSIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VORSIN_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW tree only, never from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VORSIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe that runs without the MinGW runtime DLLs or zlib1.dll beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(ZLIB_USE_STATIC_LIBS ON)

# nlohmann-json is header-only and has no MinGW package: the host's copy is
# used, alone (CMakeLists.txt copies just this folder into the build tree).
set(VORSIN_JSON_HEADERS /usr/include/nlohmann CACHE PATH
    "Folder of the nlohmann-json headers to use instead of find_package")

# The static Qt for Windows made by scripts/qt-mingw.sh, when it is there
# (the window and its tests need it; the core and vorsin-cli do not).
if(DEFINED ENV{VORSIN_QT_CACHE})
  set(VORSIN_QT_MINGW "$ENV{VORSIN_QT_CACHE}/qt6-mingw-static")
else()
  set(VORSIN_QT_MINGW "$ENV{HOME}/.cache/vorsin/qt6-mingw-static")
endif()
if(EXISTS "${VORSIN_QT_MINGW}/lib/cmake/Qt6")
  list(APPEND CMAKE_FIND_ROOT_PATH "${VORSIN_QT_MINGW}")
  list(APPEND CMAKE_PREFIX_PATH "${VORSIN_QT_MINGW}")
  # moc, rcc and uic are the build host's (qt6-base-dev-tools, the same 6.4.2).
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
# Tests of this build run under wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
# Release programs without their symbol tables (vorsin.exe: 40 MB with them).
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
