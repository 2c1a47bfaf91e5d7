# The subsystems are pure passes below the window: no file of theirs may include the window
# (app/), the control layer (ui/) or the Qt front end (qt/). Their test programs link them
# without those libraries; this check keeps the headers honest too.
# Usage: cmake -DSOURCE=<checkout> -P subsystem_layering.cmake
set(offenders)
foreach(folder analysis caesar crypt passgen)
  file(GLOB_RECURSE files "${SOURCE}/${folder}/*.h" "${SOURCE}/${folder}/*.cpp"
       "${SOURCE}/${folder}/*.in")
  foreach(file ${files})
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](app|ui|qt)/")
    if(includes)
      file(RELATIVE_PATH name "${SOURCE}" "${file}")
      list(APPEND offenders "${name}: ${includes}")
    endif()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " text)
  message(FATAL_ERROR "subsystem files that include the window's layers:\n  ${text}")
endif()
