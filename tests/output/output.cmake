mirelon_gtest(output_tests
  SOURCES
    table_writer_test.cpp
  LIBS mirelon_output
)
set_target_properties(output_tests PROPERTIES AUTOMOC OFF)
