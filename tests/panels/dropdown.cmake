if(MIRELON_GUI)
  mirelon_qttest(panels_dropdown_tests
    SOURCES
      dropdown_form_test.cpp
    LIBS mirelon_dropdown mirelon_test_support_qt
  )
endif()
