# The engine is plain C++20 and POSIX. These checks keep Qt out of it for good:
# a Qt include in an engine source or a Qt library on the engine's link line
# fails the configure.
set(QLT_ENGINE_DIRS base store pop3 risk content core)

function(qlt_check_engine_sources sources)
  foreach(src IN LISTS sources)
    file(STRINGS "${src}" qt_lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|qt)")
    if(qt_lines)
      message(FATAL_ERROR "Engine source ${src} includes Qt: ${qt_lines}")
    endif()
  endforeach()
endfunction()

function(qlt_check_engine_links target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS libs ilibs)
    if(lib MATCHES "Qt")
      message(FATAL_ERROR "The engine library ${target} must not link Qt (${lib})")
    endif()
  endforeach()
endfunction()
