if(MIRELON_GUI)
  mirelon_qttest(settings_propsaver_tests
    SOURCES
      prop_saver_test.cpp
    LIBS mirelon_propsaver mirelon_test_support_qt
  )
endif()
