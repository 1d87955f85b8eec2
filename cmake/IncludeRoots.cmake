# glimmer_include_root(TARGET LAYER BASE FOLDER...): TARGET sees "FOLDER/name.h" for each FOLDER of
# BASE and no other folder of BASE, so a library cannot include a layer above it. The root is a
# folder of links in the build tree; where no link can be made it falls back to BASE itself, and
# only the layer check among the tests guards the layers there.
function(glimmer_include_root target layer base)
  set(root ${PROJECT_BINARY_DIR}/include/${layer})
  file(MAKE_DIRECTORY ${root})
  foreach(folder IN LISTS ARGN)
    file(CREATE_LINK ${base}/${folder} ${root}/${folder} RESULT result SYMBOLIC)
    if(NOT result EQUAL 0)
      message(STATUS "${target}: no link for ${folder} (${result}); it sees all of ${base}")
      target_include_directories(${target} PUBLIC ${base})
      return()
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
