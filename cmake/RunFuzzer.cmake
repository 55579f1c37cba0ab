# Bounded smoke run of one fuzz target: a fresh working corpus seeded from the committed one.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(dirs ${WORK})
if(SEED AND EXISTS ${SEED})
  list(APPEND dirs ${SEED})
endif()
execute_process(COMMAND ${EXE} -max_total_time=${SECONDS} -rss_limit_mb=2048 -timeout=10
                        -print_final_stats=1 ${dirs}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzz target ${EXE} failed (exit ${rc})")
endif()
