# Writes an Endpoints.cpp: host, scheme and port of the news, web and
# counter endpoints. A host marked SECURE is reached over https on
# HTTPS_PORT, any other over http on HTTP_PORT (0: the scheme's own port).
function(kavrelo_write_endpoints out)
  cmake_parse_arguments(E "" "NEWS_HOST;NEWS_SECURE;WEB_HOST;WEB_SECURE;COUNTER_HOST;COUNTER_SECURE;HTTP_PORT;HTTPS_PORT"
                        "" ${ARGN})
  foreach(kind news web counter)
    string(TOUPPER ${kind} upper)
    set(host "${E_${upper}_HOST}")
    if(NOT host MATCHES "^[A-Za-z0-9._-]+$")
      message(FATAL_ERROR "The ${kind} host must be a plain host name or address, not '${host}'")
    endif()
    set(ep_${kind}_host "${host}")
    if(E_${upper}_SECURE)
      set(ep_${kind}_secure true)
      set(ep_${kind}_port ${E_HTTPS_PORT})
    else()
      set(ep_${kind}_secure false)
      set(ep_${kind}_port ${E_HTTP_PORT})
    endif()
  endforeach()
  configure_file(${CMAKE_SOURCE_DIR}/cmake/Endpoints.cpp.in ${out} @ONLY)
endfunction()
