# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's hardening for every build type, as a Debian package build would
# compile and link the programs: the flags `dpkg-buildflags` gives with
# DEB_BUILD_MAINT_OPTIONS=hardening=+all. Only the hardening flags are taken;
# the optimisation and debug flags stay the build type's. CMake reads
# CXXFLAGS and LDFLAGS but ignores CPPFLAGS, so all three become options here.

include(GNUInstallDirs)

set(zph_hardening_fallback_compile
  -Wdate-time -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat -Werror=format-security)
set(zph_hardening_fallback_link -Wl,-z,relro -Wl,-z,now)

# What a hardening flag looks like; everything else dpkg-buildflags prints
# (-g, -O2, the file-prefix maps of a package build) is left out.
set(zph_hardening_pattern
  "^(-D_FORTIFY_SOURCE=.*|-U_FORTIFY_SOURCE|-fstack-protector.*|-fstack-clash-protection|-fcf-protection.*|-mbranch-protection=.*|-Wformat.*|-Werror=format-security|-Wdate-time|-Wl,-z,.*|-fPIE|-pie)$")

function(zph_debian_flags kind output)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${ZPH_DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  set(kept)
  if(status EQUAL 0)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    foreach(flag IN LISTS flags)
      if(flag MATCHES "${zph_hardening_pattern}")
        list(APPEND kept ${flag})
      endif()
    endforeach()
  endif()
  set(${output} ${kept} PARENT_SCOPE)
endfunction()

find_program(ZPH_DPKG_BUILDFLAGS dpkg-buildflags DOC "Debian's build flags (package dpkg-dev)")
if(ZPH_DPKG_BUILDFLAGS)
  zph_debian_flags(CPPFLAGS zph_hardening_cpp)
  zph_debian_flags(CXXFLAGS zph_hardening_cxx)
  zph_debian_flags(LDFLAGS zph_hardening_link)
  set(zph_hardening_compile ${zph_hardening_cpp} ${zph_hardening_cxx})
else()
  # Debian 12's set, for a system without dpkg-dev.
  set(zph_hardening_compile ${zph_hardening_fallback_compile})
  set(zph_hardening_link ${zph_hardening_fallback_link})
endif()

foreach(flag IN LISTS zph_hardening_compile)
  if(flag MATCHES "^-[DU]_FORTIFY_SOURCE")
    # The fortified string and memory functions check nothing without the
    # optimiser (glibc warns, which -Werror makes an error), and under the
    # sanitizers they would take those calls away from AddressSanitizer.
    if(NOT ZPH_SANITIZE AND NOT ZPH_FUZZ)
      add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
    endif()
  else()
    add_compile_options(${flag})
  endif()
endforeach()
add_link_options(${zph_hardening_link})

# No RUNPATH in installed programs: they link only system libraries, and the
# $ORIGIN path qt_standard_project_setup() asks for would let a library
# beside the program take a system one's place.
set(CMAKE_SKIP_INSTALL_RPATH ON)

# Installs a program as Debian ships programs: without the .comment section,
# which names the compiler of every object (crtbegin's too, so -fno-ident
# alone cannot remove it) and differs between builds for nothing.
function(zph_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${target}>\"
    COMMAND_ERROR_IS_FATAL ANY)")
endfunction()
