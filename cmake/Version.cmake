# Version texts of the program, generated from the project version into
# generated/VersionResource.h (read by TFileVersionInfo).
set(TESSRA_FILE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PROJECT_VERSION_TWEAK}")
# Product version: "V" + major + "." + minor and patch as two digits + "." + build.
math(EXPR _minor2 "${PROJECT_VERSION_MINOR} * 10 + ${PROJECT_VERSION_PATCH}")
if(_minor2 LESS 10)
  set(_minor2 "0${_minor2}")
endif()
set(TESSRA_PRODUCT_VERSION "V${PROJECT_VERSION_MAJOR}.${_minor2}.${PROJECT_VERSION_TWEAK}")

# The other version strings. Plain ASCII: they are 8-bit texts.
set(TESSRA_COMPANY_NAME "Axo-Gauges")
set(TESSRA_FILE_DESCRIPTION "Axo Tessra2 operating program")
set(TESSRA_INTERNAL_NAME "Tessra2Bediensoftware")
set(TESSRA_LEGAL_COPYRIGHT "Copyright (C) Axo-Gauges")
set(TESSRA_LEGAL_TRADEMARKS "")
set(TESSRA_ORIGINAL_FILENAME "tessra2${CMAKE_EXECUTABLE_SUFFIX}")
set(TESSRA_PRODUCT_NAME "Axo Tessra2 operating program")
set(TESSRA_COMMENTS "Configuration and service program for Axo Tessra2, Tessra2 S and Tessra2 L")
# Language and code page of the version strings: German, code page 1252.
set(TESSRA_VERSION_COUNTRY_CODE "040704E4")

configure_file(${CMAKE_SOURCE_DIR}/src/ui/VersionResource.h.in ${CMAKE_BINARY_DIR}/generated/VersionResource.h @ONLY)
