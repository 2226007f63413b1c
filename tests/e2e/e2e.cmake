# End-to-end tests: each case runs switchpoint.exe from WIN_BUILD_DIR under
# Wine (tests/e2e/run_case.sh). Included by the host build when WIN_BUILD_DIR
# is set.
#
# The case names come from the driver sources themselves (the lines that
# start with E2E_CASE(name)), so a new case needs no second list here.

set(E2E_DIR ${CMAKE_CURRENT_LIST_DIR})
file(GLOB E2E_CASE_SOURCES CONFIGURE_DEPENDS ${E2E_DIR}/driver/*.cpp)

set(E2E_CASES "")
foreach(source ${E2E_CASE_SOURCES})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(STRINGS ${source} all_uses REGEX "E2E_CASE\\(")
  file(STRINGS ${source} case_lines REGEX "^E2E_CASE\\([a-z0-9_]+\\)")
  # Only the line-start form is registered; any other use of the macro
  # would be a case that silently never runs.
  list(LENGTH all_uses use_count)
  list(LENGTH case_lines case_count)
  if(NOT use_count EQUAL case_count)
    message(FATAL_ERROR "${source}: write each E2E_CASE(name) at the start of its line, "
                        "name in lower case")
  endif()
  foreach(line ${case_lines})
    string(REGEX REPLACE "^E2E_CASE\\(([a-z0-9_]+)\\).*" "\\1" name "${line}")
    if(name IN_LIST E2E_CASES)
      message(FATAL_ERROR "e2e case ${name} is defined twice")
    endif()
    list(APPEND E2E_CASES ${name})
  endforeach()
endforeach()
list(SORT E2E_CASES)

# The screenshot_ cases take the guide's pictures (make screenshots); the
# installer case runs the setup exe in a prefix of its own.
list(FILTER E2E_CASES EXCLUDE REGEX "^(screenshot_.*|installer)$")
foreach(name ${E2E_CASES})
  add_test(NAME e2e.${name} COMMAND ${E2E_DIR}/run_case.sh ${name} ${WIN_BUILD_DIR})
  # The first case of a clean build also makes the Wine prefix (~20 s).
  set_tests_properties(e2e.${name} PROPERTIES RESOURCE_LOCK wine TIMEOUT 180 LABELS e2e)
endforeach()

add_test(NAME e2e.imports COMMAND ${E2E_DIR}/check_imports.sh ${WIN_BUILD_DIR}/switchpoint.exe)
set_tests_properties(e2e.imports PROPERTIES TIMEOUT 60 LABELS e2e)

set(E2E_SETUP ${CMAKE_SOURCE_DIR}/build/dist/switchpoint-${PROJECT_VERSION}-setup.exe)
add_test(NAME e2e.installer COMMAND ${E2E_DIR}/run_installer.sh ${E2E_SETUP} ${WIN_BUILD_DIR})
# A fresh prefix is made each time (wineboot, 10 to 20 s).
set_tests_properties(e2e.installer PROPERTIES RESOURCE_LOCK wine TIMEOUT 240 LABELS e2e)
