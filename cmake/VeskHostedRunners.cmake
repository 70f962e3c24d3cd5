# The checks here of the GitHub workflow that runs MATLAB and Octave on
# GitHub's hosted runners (.github/workflows/, docs/matlab-ci.md): the
# workflow files against the schema, and the workflow's shell steps that can
# run on Linux on the release archive the release_archive test packs.
if(NOT VESK_BUILD_TESTS OR WIN32)
  return()
endif()

# tools/install-deps.sh tests installs the validator into build-tools/npm.
find_program(VESK_ACTION_VALIDATOR action-validator
             HINTS ${PROJECT_SOURCE_DIR}/build-tools/npm/node_modules/.bin)
file(GLOB workflows CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/.github/workflows/*.yml)
if(VESK_ACTION_VALIDATOR)
  add_test(NAME github_workflow_schema COMMAND ${VESK_ACTION_VALIDATOR} ${workflows})
else()
  add_test(NAME github_workflow_schema
           COMMAND sh -c "echo 'action-validator not found: bash tools/install-deps.sh tests'; exit 77")
endif()
set_tests_properties(github_workflow_schema PROPERTIES SKIP_RETURN_CODE 77 LABELS ci)

get_property(windows_plugins GLOBAL PROPERTY VESK_WINDOWS_PLUGINS)
if(windows_plugins AND VESK_OCTAVE_CLI)
  add_test(NAME github_workflow_shell_steps
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/ci_scripts_test.sh
                   ${CMAKE_BINARY_DIR}/release-archive-test)
  set_tests_properties(github_workflow_shell_steps PROPERTIES FIXTURES_REQUIRED release_archive
                       ENVIRONMENT "OCTAVE_CLI=${VESK_OCTAVE_CLI}")
else()
  add_test(NAME github_workflow_shell_steps
           COMMAND sh -c "echo 'Skipped: needs the release archive (MinGW-w64) and Octave'; exit 77")
endif()
set_tests_properties(github_workflow_shell_steps PROPERTIES SKIP_RETURN_CODE 77 LABELS ci TIMEOUT 600)
