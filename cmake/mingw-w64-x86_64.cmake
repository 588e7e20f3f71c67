# Cross-builds for 64-bit Windows with Debian's mingw-w64 (posix threads), from a Linux host.
# The Qt for Windows is found through CMAKE_PREFIX_PATH (tools/build-windows.sh unpacks it into
# the build folder); its moc, rcc and qmlcachegen are Linux programs. Qt's Linguist tools are not
# part of it: lrelease is the host's, which writes the same catalogues.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

# Libraries and headers only from the mingw-w64 root and the prefixes given; programs from the
# host. Packages from both, so that the host's Qt5LinguistTools package can be named below.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(Qt5LinguistTools_DIR /usr/lib/x86_64-linux-gnu/cmake/Qt5LinguistTools CACHE PATH
    "The host's Qt Linguist tools (lrelease)")

