# libzint as the imported target zobelso::zint. It measures two-dimensional
# symbols for so/format.
#   Native: the distribution's library (Debian libzint-dev, which ships no
#   pkg-config file).
#   Windows: the static library scripts/build-zint.sh cross-compiles from the
#   distribution's source package; ZOBELSO_ZINT_PREFIX names its prefix, and
#   it is linked into ZOBELSO.dll so that nothing else has to be shipped.
if(TARGET zobelso::zint)
  return()
endif()

if(CMAKE_CROSSCOMPILING)
  set(ZOBELSO_ZINT_PREFIX "" CACHE PATH
      "Prefix of libzint built for this target by scripts/build-zint.sh")
  if(NOT ZOBELSO_ZINT_PREFIX)
    message(FATAL_ERROR "libzint for ${CMAKE_SYSTEM_PROCESSOR}: pass -DZOBELSO_ZINT_PREFIX=<prefix> "
                        "(scripts/build-zint.sh ${CMAKE_TOOLCHAIN_FILE} <prefix> builds it)")
  endif()
  # The prefix lies outside the cross compiler's root, so it is searched as is.
  find_path(ZOBELSO_ZINT_INCLUDE_DIR zint.h PATHS ${ZOBELSO_ZINT_PREFIX}/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  find_library(ZOBELSO_ZINT_LIBRARY NAMES zint-static PATHS ${ZOBELSO_ZINT_PREFIX}/lib
               NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
else()
  find_path(ZOBELSO_ZINT_INCLUDE_DIR zint.h)
  find_library(ZOBELSO_ZINT_LIBRARY NAMES zint)
endif()

if(NOT ZOBELSO_ZINT_INCLUDE_DIR OR NOT ZOBELSO_ZINT_LIBRARY)
  message(FATAL_ERROR "libzint not found (header: ${ZOBELSO_ZINT_INCLUDE_DIR}, library: "
                      "${ZOBELSO_ZINT_LIBRARY}); scripts/install-deps.sh installs it")
endif()

add_library(zobelso::zint UNKNOWN IMPORTED)
set_target_properties(zobelso::zint PROPERTIES
  IMPORTED_LOCATION ${ZOBELSO_ZINT_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${ZOBELSO_ZINT_INCLUDE_DIR})
