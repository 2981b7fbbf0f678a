# Reads the platform library's dynamic section: it must name the libraries it needs (Cairo among
# them, or the reading failed) and not libvips, which the scaler opens when it first scales.
execute_process(COMMAND "${READELF}" -d "${LIBRARY}" RESULT_VARIABLE result OUTPUT_VARIABLE section ERROR_VARIABLE problem)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot read the dynamic section of ${LIBRARY}: ${problem}")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]\n]+\\]" needed "${section}")
if(NOT needed MATCHES "libcairo")
  message(FATAL_ERROR "no libraries needed by ${LIBRARY} were read:\n${section}")
endif()
if(needed MATCHES "libvips")
  message(FATAL_ERROR "${LIBRARY} links libvips, so every process loads its libraries at start:\n${needed}")
endif()
