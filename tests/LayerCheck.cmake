# cmake -DGLIMMER_SOURCE=<src folder> -P LayerCheck.cmake
# Fails when a file includes a layer above its own: the core (model, market) includes no Qt and no
# widget or application folder, the widgets (card, layouts) include no application folder, and the
# settings window includes neither the application nor the diagnostics. The libraries' include
# roots enforce the same at compile time where the build can make links; this check holds
# everywhere and names every offending line at once.
if(NOT GLIMMER_SOURCE)
  message(FATAL_ERROR "GLIMMER_SOURCE not set")
endif()

set(faults "")

# check(FOLDER QT_ALLOWED FORBIDDEN_FOLDER...)
function(check folder qt_allowed)
  list(JOIN ARGN "|" forbidden)
  file(GLOB_RECURSE files "${GLIMMER_SOURCE}/${folder}/*.h" "${GLIMMER_SOURCE}/${folder}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "include[ \t]*[\"<](${forbidden})/")
        list(APPEND faults "${file}: ${line}")
      elseif(NOT qt_allowed AND line MATCHES "include[ \t]*<Q")
        list(APPEND faults "${file}: ${line} (no Qt in the core)")
      endif()
    endforeach()
  endforeach()
  set(faults "${faults}" PARENT_SCOPE)
endfunction()

check(model OFF market card layouts app settings diagnostics)
check(market OFF card layouts app settings diagnostics)
check(card ON app settings diagnostics)
check(layouts ON app settings diagnostics)
check(settings ON app diagnostics)

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "includes across the layers:\n${text}")
endif()
message(STATUS "layers kept")
