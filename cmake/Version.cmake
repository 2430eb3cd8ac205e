# Version texts of the program, generated from the project version.
set(TESSRA_FILE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PROJECT_VERSION_TWEAK}")
# Product version: "V" + major + "." + minor and patch as two digits + "." + build.
math(EXPR _minor2 "${PROJECT_VERSION_MINOR} * 10 + ${PROJECT_VERSION_PATCH}")
if(_minor2 LESS 10)
  set(_minor2 "0${_minor2}")
endif()
set(TESSRA_PRODUCT_VERSION "V${PROJECT_VERSION_MAJOR}.${_minor2}.${PROJECT_VERSION_TWEAK}")
configure_file(${CMAKE_SOURCE_DIR}/src/ui/VersionResource.h.in ${CMAKE_BINARY_DIR}/generated/VersionResource.h @ONLY)
