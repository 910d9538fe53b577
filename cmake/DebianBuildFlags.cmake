# Debian's hardening flags (stack protector, fortified functions, read-only relocations bound at
# start, position-independent executables) from dpkg-buildflags, and paths that do not depend on
# where the source and build folders are, so that two builds of one source give the same bytes.
# Left out of sanitizer and fuzzing builds, which bring their own instrumentation.
set(plendor_hardening_default ON)
if(PLENDOR_FUZZ OR CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  set(plendor_hardening_default OFF)
endif()
option(PLENDOR_HARDENING "Build with Debian's hardening flags and build-path-free output" ${plendor_hardening_default})
if(NOT PLENDOR_HARDENING)
  return()
endif()

find_program(PLENDOR_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT PLENDOR_DPKG_BUILDFLAGS)
  message(WARNING "dpkg-buildflags not found: built without Debian's hardening flags "
                  "(scripts/install-deps.sh installs dpkg-dev)")
  return()
endif()

# Optimisation and debug information stay the build type's; the rest is taken as Debian gives it.
function(plendor_buildflags variable out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                          ${PLENDOR_DPKG_BUILDFLAGS} --get ${variable}
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(g|O[0-9s]?)$")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()
plendor_buildflags(CPPFLAGS cpp_flags)
plendor_buildflags(CXXFLAGS cxx_flags)
plendor_buildflags(LDFLAGS link_flags)

# Fortified functions need optimisation: a Debug build would only warn.
list(TRANSFORM cpp_flags REPLACE "^(-D_FORTIFY_SOURCE=.*)$" "$<$<NOT:$<CONFIG:Debug>>:\\1>")
add_compile_options(${cpp_flags} ${cxx_flags}
                    # The build folder too, wherever it is (the last matching map wins).
                    -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
add_link_options(${link_flags})
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
