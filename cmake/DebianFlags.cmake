# Debian's build flags, as dpkg-buildflags gives them to every package of the distribution with
# the whole hardening set: fortified C library calls, stack protector, read-only relocations and
# immediate binding. The release build is the one the package is made from, so it compiles
# everything, the tests included, with them; the tests then run the code as it is shipped.
# Two flags are left to the build type: "-g", since the package is stripped and no debug symbols
# package is made from it, and the optimisation level, which the build type sets after them.
find_program(KALIMO_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT KALIMO_DPKG_BUILDFLAGS)
    message(FATAL_ERROR "KALIMO_DEBIAN_FLAGS needs dpkg-buildflags (package dpkg-dev)")
endif()

function(kalimo_debian_flags kind out)
    # The prefix map is computed from the working directory: the source folder becomes ".".
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${KALIMO_DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^(-g|-O[0-9s]?)$")
    list(JOIN flags " " flags)
    set(${out} "${flags}" PARENT_SCOPE)
endfunction()

kalimo_debian_flags(CPPFLAGS KALIMO_DEBIAN_CPPFLAGS)
kalimo_debian_flags(CXXFLAGS KALIMO_DEBIAN_CXXFLAGS)
kalimo_debian_flags(LDFLAGS KALIMO_DEBIAN_LDFLAGS)
string(APPEND CMAKE_CXX_FLAGS " ${KALIMO_DEBIAN_CPPFLAGS} ${KALIMO_DEBIAN_CXXFLAGS}")
foreach(kind EXE SHARED MODULE)
    string(APPEND CMAKE_${kind}_LINKER_FLAGS " ${KALIMO_DEBIAN_LDFLAGS}")
endforeach()
message(STATUS "Debian build flags: ${KALIMO_DEBIAN_CPPFLAGS} ${KALIMO_DEBIAN_CXXFLAGS} ${KALIMO_DEBIAN_LDFLAGS}")
