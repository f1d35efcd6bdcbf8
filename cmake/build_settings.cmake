# How every room is compiled: the language, the warnings, hardening or sanitizers, ccache,
# and the two header-only libraries that read and write number texts.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

# The browser build (emcmake) has no Qt: its window is the page's.
if(EMSCRIPTEN)
  set(VORBIX_WITH_QT OFF)
else()
  option(VORBIX_WITH_QT "Build the game window (needs Qt 6 Widgets)" ON)
endif()
option(VORBIX_WERROR "Treat warnings as errors" OFF)
option(VORBIX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_CXX_COMPILER_LAUNCHER "${CCACHE_PROGRAM}")
endif()

# Single-precision arithmetic is behaviour: an expression that widens to double, or a double
# that narrows unseen, is a warning (an error in CI).
add_compile_options(-Wall -Wextra -Wdouble-promotion -Wfloat-conversion)
if(VORBIX_WERROR)
  add_compile_options(-Werror)
endif()
if(EMSCRIPTEN)
  # WebAssembly's own exceptions, only where they are asked for: the script room, whose replay
  # engine reports with them, and what links it (script/CMakeLists.txt). The game and its
  # front ends throw none and are compiled without, which keeps their code smaller.
  add_compile_options(-fno-exceptions)
  add_link_options(-fwasm-exceptions)
  set(VORBIX_EXCEPTIONS -fexceptions -fwasm-exceptions)
  # The page's module is loaded with the page: optimised for size. Its steps take a few times
  # longer for it, still microseconds against the 50 ms between two gravity steps.
  add_compile_options(-Oz)
  add_link_options(-Oz)
  # Emscripten's optimising linker runs node with Debian's own modules.
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
else()
  # Debian's hardening for the programs: a stack protector, read-only relocations bound at
  # start, and, where the optimiser makes it work, fortified library calls.
  add_compile_options(-fstack-protector-strong)
  add_link_options(-Wl,-z,relro,-z,now)
  if(NOT VORBIX_SANITIZE)
    add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  endif()
endif()
if(VORBIX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Number texts are read with fast_float and written with fmt, header-only: the same texts on
# every platform, whatever its standard library offers.
if(EMSCRIPTEN)
  # The toolchain looks for nothing on the host; the two libraries' headers come from the
  # host's Debian packages, through a folder that holds them and nothing else.
  set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
  file(MAKE_DIRECTORY ${host_headers})
  foreach(library fmt fast_float)
    file(CREATE_LINK /usr/include/${library} ${host_headers}/${library} SYMBOLIC)
  endforeach()
  add_library(fmt::fmt-header-only INTERFACE IMPORTED)
  target_include_directories(fmt::fmt-header-only SYSTEM INTERFACE ${host_headers})
  target_compile_definitions(fmt::fmt-header-only INTERFACE FMT_HEADER_ONLY)
  add_library(FastFloat::fast_float INTERFACE IMPORTED)
  target_include_directories(FastFloat::fast_float SYSTEM INTERFACE ${host_headers})
else()
  find_package(FastFloat REQUIRED)
  find_package(fmt REQUIRED)
endif()

if(VORBIX_WITH_QT)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  qt_standard_project_setup()
endif()
