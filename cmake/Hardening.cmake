# The Release build is hardened as Debian builds its packages: dpkg-buildflags with
# hardening=+all, and the stack-clash and control-flow protection that newer dpkg adds. None of
# these changes an operation on doubles, so every result stays bit for bit. Sanitizer builds go
# without: fortified libc calls would slip past the sanitizers' own checks. Compile options
# rather than definitions, so that qel-bench names them among its flags.
option(QEL_HARDEN "Harden the Release build as Debian's packages are" ON)
if(QEL_HARDEN AND NOT QEL_SANITIZE AND CMAKE_BUILD_TYPE STREQUAL "Release")
  add_compile_options(-D_FORTIFY_SOURCE=2 -fstack-protector-strong -fstack-clash-protection
                      -fcf-protection -Wformat -Werror=format-security)
  add_link_options(LINKER:-z,relro,-z,now)
  # Position-independent executables, whatever the compiler's default.
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()
endif()
