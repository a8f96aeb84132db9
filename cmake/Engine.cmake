# The engine is plain C++20 and POSIX, one static library per layer. The
# layers, bottom up, and the layers each one links (and so may use, with all
# that those use in turn):
#
#   base                       records, clocks, small text helpers
#   store    -> base           account store, settings, codec, built-in texts
#   pop3     -> store          socket and POP3 client
#   risk     -> store          keyword table, rating, sender lists
#   content  -> pop3 risk      mailbox scan, MIME, HTML
#   core     -> content        the commands and view models
#
# A library sees only the headers of its own folders and of the libraries it
# links (see qlt_include_base), so an include that runs against this order
# fails to compile. A Qt include in an engine source or a Qt library on an
# engine link line fails the configure.

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

# Gives `target` an include folder of its own that holds a link to each of
# `folders` (under src/), so that "folder/File.h" resolves for these folders
# and for those of the libraries the target links, and for nothing else.
function(qlt_include_base target)
  set(include_base "${PROJECT_BINARY_DIR}/include/${target}")
  file(MAKE_DIRECTORY "${include_base}")
  foreach(folder IN LISTS ARGN)
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${folder}" "${include_base}/${folder}" SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC "${include_base}")
endfunction()

# The sources of src/`folder`, for a library of that name.
function(qlt_folder_sources out folder)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp
                                      ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# qlt_engine_layer(folder [lower layers...]): the library qlt_<folder>.
function(qlt_engine_layer folder)
  set(target qlt_${folder})
  qlt_folder_sources(sources ${folder})
  qlt_check_engine_sources("${sources}")
  add_library(${target} STATIC ${sources})
  qlt_include_base(${target} ${folder})
  list(TRANSFORM ARGN PREPEND qlt_)
  target_link_libraries(${target} PUBLIC ${ARGN})
endfunction()
